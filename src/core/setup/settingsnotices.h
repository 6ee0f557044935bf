// What the user is told about the settings file: that an unreadable one was
// kept aside before it is replaced, and why no rules run over a report.
// Both programs use the same texts.
#pragma once

#include <string>
#include <vector>

namespace qmx {

// True when path names a non-empty file in which neither the
// QMXREAD_PARAMETERS nor the RULE_LIST_SETTINGS section is found: writing
// settings over it would lose whatever it holds.
bool unreadableAsSettings(const std::string& path);

// When path is unreadable as settings, copies it to path + ".bak" (replacing
// an older backup) and returns the notice to show; otherwise returns "".
// Throws qmx::Error when the copy cannot be written, so the caller does not
// go on to overwrite the only copy.
std::string keepUnreadableSettings(const std::string& path);

// Why no rules run over a report, or "" when they do: settingsPath names
// a FIFO, device or directory, no settings file was found there (with
// locationProblem, why its directory could not be made, when there is
// one), or the chosen rule set has no line that is not blank.
std::string noRulesReason(const std::string& settingsPath, bool settingsFound,
                          const std::string& ruleSet, const std::vector<std::string>& ruleLines,
                          const std::string& locationProblem = {});

} // namespace qmx
