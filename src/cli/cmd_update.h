// `qmxread-cli update`: the FTP update of the Options dialog's FTP page,
// without the dialog, for scripted roll-outs.
#pragma once

#include <string>
#include <vector>

namespace qmx::cli {

// args: the words after "update". Returns the exit status.
int cmdUpdate(const std::vector<std::string>& args);

extern const char* const kUpdateUsage;

} // namespace qmx::cli
