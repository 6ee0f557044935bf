// The condition evaluator of the rule language: reduces a condition text,
// group by group, to "TRUE" or "FALSE". Operators have no precedence and fold
// from the left; single quotes shield operator characters.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace qmx {

class ExpressionEvaluator {
public:
    // True exactly when the reduction ends in "TRUE".
    bool ProcessExpression(const std::string& condition);
    // The reduction loop; leaves the outcome in result().
    void InternalProcessExpression(std::string text);
    // Evaluates one group; result is "TRUE" or "FALSE".
    void EvaluateExpression(const std::string& group, std::string& result);
    // 1-based position of the last operator in text, 0 when there is none.
    static int GetOperatorPosition(std::string_view text);

    const std::string& result() const { return result_; }

    // Work done since construction: one per reduction pass and one per
    // operator applied. A condition of n characters costs at most 2 * (n + 1),
    // which the fuzz target checks.
    uint64_t steps() const { return steps_; }

private:
    bool evaluateGroup(std::string_view group);

    std::string result_ = "FALSE";
    uint64_t steps_ = 0;
};

} // namespace qmx
