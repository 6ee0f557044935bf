// The usage text of qmxread-cli, printed by --help and after a usage error,
// and the one way an error line is written.
#pragma once

#include <string>

namespace qmx::cli {

extern const char* const kUsage;

// "qmxread-cli: MESSAGE" on stderr, the message turned from Windows-1252
// into UTF-8, after what stdout holds so far.
void printError(const std::string& message);

} // namespace qmx::cli
