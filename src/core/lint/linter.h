// The rule linter: reads a rule text the way the rule interpreter reads it
// and reports the places where what runs differs from what the text seems
// to say (a literal cut by its ";", a block skipped behind a comment, a
// keyword hidden in a name, ...). It only reads; nothing here runs a rule.
// With a report's variable list it also names references the report lacks.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace qmx {

class VariableList;

enum class LintSeverity { Warning, Error };

struct LintWarning {
    int line = 0;      // 1-based line of the rule text
    int column = 0;    // 1-based column in that line
    size_t offset = 0; // 0-based offset in the rule text
    size_t length = 1; // characters the trap covers, at least 1, within the line
    std::string code;  // stable code such as "R001"
    LintSeverity severity = LintSeverity::Warning;
    std::string message; // rule text quoted in it stays Windows-1252
};

// One kind of warning with its help: what goes wrong, a wrong and a right
// example.
struct LintCode {
    const char* code;
    LintSeverity severity;
    const char* title;
    const char* help;
    const char* wrong;
    const char* right;
};

// Every kind, in code order.
const std::vector<LintCode>& lintCodes();
// The kind with that code (any case), or nullptr.
const LintCode* findLintCode(std::string_view code);
// The help of a kind as a few lines of text: title, explanation, examples.
std::string explainLintCode(const LintCode& code);
const char* severityName(LintSeverity severity);

// The warnings about ruleText (lines joined by CR LF), sorted by place.
// With report, references to variables that neither the report nor a SET of
// the rule text provides are reported with the report's closest names.
std::vector<LintWarning> lintRuleText(std::string_view ruleText,
                                      const VariableList* report = nullptr);

} // namespace qmx
