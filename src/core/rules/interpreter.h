// The rule interpreter: cuts a rule text into statements and runs SET, IF,
// PRINT and SUGGEST over a report's variable list, appending advice lines
// (and, in debug mode, trace lines) to the Suggestions text.
#pragma once

#include "core/rules/expression.h"
#include "core/rules/ruleobserver.h"
#include "core/store/variables.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qmx {

// The kinds of statement, told by their first word.
enum class StatementKind { Set, If, Print, Other };
struct StatementHead {
    std::string keyword; // the first word, trimmed and upper-cased
    StatementKind kind;
};
// The head of a statement as the interpreter dispatches it; the linter
// reads statements the same way.
StatementHead statementHead(std::string_view statement);

class RuleInterpreter {
public:
    // ruleText supplies the current rule text (lines joined by CR LF) when
    // dorules is given "Not". variablesChanged, when set, is called after
    // every SET in debug mode.
    RuleInterpreter(VariableList& variables, std::vector<std::string>& output, bool debug,
                    std::function<std::string()> ruleText,
                    std::function<void()> variablesChanged = {});

    // Tells observer (may be null, not owned) about conditions and output.
    void setObserver(RuleObserver* observer) { observer_ = observer; }

    void dorules(const std::string& text);
    void processrule(const std::string& statement);

    // A statement as cut from the rule text is trimmed and upper-cased
    // (a-z only) before it runs.
    static std::string prepareStatement(std::string_view text);
    // A condition prepared as an IF statement's condition reaches the
    // evaluator (before variable references are replaced): prepared as a
    // statement, each CR LF a blank, trimmed.
    static std::string conditionText(std::string_view text);

    // Blocks and IF actions run one inside the other; beyond this depth a
    // statement is skipped, so a hostile rule text cannot exhaust the stack.
    static constexpr int kMaxNesting = 64;

    // Work done since construction: statements cut, comment lines stripped,
    // statements interpreted and references replaced. A run over a rule text
    // of n characters adds at most a small multiple of n, which the fuzz
    // target checks.
    uint64_t steps() const { return steps_; }

private:
    // Appends text to the Suggestions, one element per line: text holding
    // line breaks (a statement spanning lines, a literal with a line break)
    // becomes several lines, as the text control shows it.
    void appendLine(std::string_view text);
    void trace(std::string_view label, std::string_view text);
    // dorules without the "Not" rule: blocks run through here, so a block's
    // text is never mistaken for the request to fetch the rule text.
    void runText(const std::string& source);
    void runSet(const std::string& statement);
    void runIf(const std::string& statement);
    void runPrint(const std::string& statement);
    void runAction(std::string& part);
    void replaceReferences(std::string& condition);
    std::optional<std::string> referenceValue(std::string_view reference) const;
    void traceCondition(std::string_view label, std::string_view done, std::string_view rest);

    VariableList& vars_;
    std::vector<std::string>& out_;
    bool debug_;
    std::function<std::string()> ruleText_;
    std::function<void()> variablesChanged_;
    ExpressionEvaluator eval_;
    RuleObserver* observer_ = nullptr;
    int depth_ = 0;
    uint64_t steps_ = 0;
};

// Convenience for callers that have the rule text at hand: runs it over the
// variables, appending to output.
void runRules(VariableList& variables, std::vector<std::string>& output, bool debug,
              const std::string& ruleText, RuleObserver* observer = nullptr);

} // namespace qmx
