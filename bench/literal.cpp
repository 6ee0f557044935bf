#include "literal.h"

#include "core/rules/expression.h"
#include "core/util/text.h"

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

std::string literalReplaceReferences(const VariableList& vars, std::string condition,
                                     std::vector<std::string>& trace)
{
    size_t first;
    while ((first = condition.find('%')) != std::string::npos) {
        const size_t second = condition.find('%', first + 1);
        const size_t length =
            second == std::string::npos ? condition.size() - first : second - first + 1;
        const std::string reference = condition.substr(first, length);
        trace.push_back("TheVar: " + reference);
        const VariableList::Id id = vars.findFirstWithPrefix(reference);
        const std::string v =
            id == VariableList::npos ? std::string() : trim(VariableList::valueOf(vars.text(id)));
        if (v.empty()) {
            condition = condition.substr(0, first) + " " + condition.substr(first + length);
            trace.push_back("Var not found: " + condition);
            continue;
        }
        std::string value;
        for (char c : v)
            if (c != '%')
                value += c;
        value = trim(value);
        condition = condition.substr(0, first) + value + condition.substr(first + length);
        trace.push_back("FoundVar: " + value);
        trace.push_back("Condition with replaced vars: " + condition);
    }
    return condition;
}

} // namespace qmx::bench
