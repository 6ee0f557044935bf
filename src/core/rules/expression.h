// The condition evaluator of the rule language: reduces a condition text,
// group by group, to "TRUE" or "FALSE". Operators have no precedence and fold
// from the left; single quotes shield operator characters.
#pragma once

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

private:
    std::string result_ = "FALSE";
};

} // namespace qmx
