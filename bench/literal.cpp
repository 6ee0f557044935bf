#include "literal.h"

#include "rules/expression.h"
#include "util/text.h"

namespace qmx::bench {

LiteralOutcome literalReduction(const std::string& condition)
{
    LiteralOutcome out;
    ExpressionEvaluator groups; // decides single groups and counts their operators
    std::string text = condition;
    for (;;) {
        ++out.passes;
        const std::string t = trim(text);
        if (t == "TRUE" || t == "FALSE") {
            out.value = t == "TRUE";
            out.operators = groups.steps();
            return out;
        }
        const size_t open = t.rfind('(');
        const size_t groupBegin = open == std::string::npos ? 0 : open + 1;
        const size_t close = t.find(')', groupBegin);
        const size_t groupEnd = close == std::string::npos ? t.size() : close;
        std::string r;
        groups.EvaluateExpression(t.substr(groupBegin, groupEnd - groupBegin), r);
        const size_t cutBegin = open == std::string::npos ? 0 : open;
        const size_t cutEnd = groupEnd < t.size() ? groupEnd + 1 : t.size();
        text = t.substr(0, cutBegin) + r + t.substr(cutEnd);
    }
}

} // namespace qmx::bench
