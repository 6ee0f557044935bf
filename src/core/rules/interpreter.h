// The rule interpreter: cuts a rule text into statements and runs SET, IF,
// PRINT and SUGGEST over a report's variable list, appending advice lines
// (and, in debug mode, trace lines) to the Suggestions text.
#pragma once

#include "report/variables.h"
#include "rules/expression.h"

#include <functional>
#include <string>
#include <vector>

namespace qmx {

class RuleInterpreter {
public:
    // ruleText supplies the current rule text (lines joined by CR LF) when
    // dorules is given "Not". variablesChanged, when set, is called after
    // every SET in debug mode.
    RuleInterpreter(VariableList& variables, std::vector<std::string>& output, bool debug,
                    std::function<std::string()> ruleText,
                    std::function<void()> variablesChanged = {});

    void dorules(const std::string& text);
    void processrule(const std::string& statement);

private:
    VariableList& vars_;
    std::vector<std::string>& out_;
    bool debug_;
    std::function<std::string()> ruleText_;
    std::function<void()> variablesChanged_;
    ExpressionEvaluator eval_;
};

// Convenience for callers that have the rule text at hand: runs it over the
// variables, appending to output.
void runRules(VariableList& variables, std::vector<std::string>& output, bool debug,
              const std::string& ruleText);

} // namespace qmx
