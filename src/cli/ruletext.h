// Where the rules of a command come from: one rule set of the reader's
// settings file, or a plain text file. Either way the rule text is built as
// the Options dialog's editor holds it: its lines joined by CR LF.
#pragma once

#include "cli/args.h"

#include <string>
#include <vector>

namespace qmx::cli {

struct RuleSource {
    std::string settingsPath; // empty: QMXRead.ini in the program's directory
    std::string ruleSet;      // empty: the settings file's Default_Rule_Set
    std::string rulesFile;    // when set, overrides the two above
};

// The source named by the options --settings, --rule-set and --rules-file.
RuleSource ruleSourceOf(const ParsedArgs& args);

// The rule text to run. A missing default settings file gives an empty text
// (no rules, as the reader has no rule set then); a settings or rules file
// that cannot be read, and a rule set the settings file does not know,
// throw qmx::Error. When whyNone is given it receives why no rules run from
// the settings file (no file found, an empty rule set), or "".
std::string loadRuleText(const RuleSource& source, std::string* whyNone = nullptr);

} // namespace qmx::cli
