// What the main window's status bar says at start-up, once the settings
// have been read: the kept backup, the reserved names skipped in the
// rule-set list and why no rules will run. The texts come
// from the settings notices both programs share.
#pragma once

#include <string>

namespace qmx {

class RuleSettings;

// "" when all is well. settingsFound: the file existed before reading.
// locationProblem: why the settings directory could not be made, if it
// could not.
std::string startupNotice(const RuleSettings& settings, bool settingsFound,
                          const std::string& locationProblem = {});

} // namespace qmx
