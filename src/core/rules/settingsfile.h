// The layout of the settings file QMXRead.ini below the RuleSettings model:
// its section and key names, the numbered-line sections (Count, then 0, 1,
// ...) that hold the rule-set list and each rule text, read in one pass and
// written in one step, the names no rule set may take, what a rule text may
// hold, and how one run's changes to the rule-set list are laid onto the
// list as it is on disk.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace qmx {

class TBigIniFile;

inline const std::string kParametersSection = "QMXREAD_PARAMETERS";
inline const std::string kRuleListSection = "RULE_LIST_SETTINGS";
inline const std::string kDefaultRuleSetKey = "Default_Rule_Set";

// The lines of a numbered section.
struct NumberedLines {
    std::vector<std::string> lines;
    // Count promised more lines than were read (a damaged Count far beyond
    // the section's entries): writing the lines back would lose the rest.
    bool cut = false;
};

// Line i is the value of the first entry whose key is exactly i in decimal
// ("01" is not line 1); missing lines read empty, a Count that is not a
// number reads as 0. At most max(100000, the section's entry count) lines
// are read, so a damaged Count cannot fill memory while every line a writer
// stored is still read.
NumberedLines readNumbered(const TBigIniFile& ini, const std::string& section);
// Replaces the section by Count and the numbered lines, at the end of the
// file.
void writeNumbered(TBigIniFile& ini, const std::string& section,
                   const std::vector<std::string>& lines);

// The settings' own sections, in any case; no rule set may take these names.
bool isReservedName(std::string_view name);

// Why the lines cannot be stored as a rule text ("" when they can): a control
// character other than tab would be lost or, as Ctrl-Z, end the file early.
std::string ruleTextProblem(const std::vector<std::string>& lines);

// The rule-set list on disk with this run's changes laid onto it: each name
// that left the list since it was read (base) is removed once, each name that
// joined it is appended unless the disk list holds it already in any case.
// Names that another writer added or removed meanwhile are kept as they are.
std::vector<std::string> mergeRuleList(std::vector<std::string> disk,
                                       const std::vector<std::string>& base,
                                       const std::vector<std::string>& now);

} // namespace qmx
