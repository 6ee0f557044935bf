// The programs' version (the build's project version) and the texts both
// programs print for --version, plus the desktop program's --help, which
// must work before any window system is touched.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace qmx {

const char* programVersion();

// "PROGRAM VERSION" and a short licence line, as --version prints it.
std::string versionText(const std::string& program);

// The desktop program's arguments that print a text and end the program
// (--version, --help, -h), answered before its window system starts.
// Returns the text to print, or nothing when the program should start.
std::optional<std::string> desktopInfoText(const std::vector<std::string>& args);

// The value of --settings FILE or --settings=FILE among the desktop
// program's arguments ("" when absent; the last one wins).
std::string desktopSettingsOverride(const std::vector<std::string>& args);

} // namespace qmx
