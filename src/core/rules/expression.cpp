#include "core/rules/expression.h"

#include "core/util/text.h"

#include <optional>
#include <vector>

namespace qmx {

namespace {

enum class OpKind { Equal, NotEqual, Less, Greater, LessEqual, GreaterEqual, And, Or, Contains };

struct Operator {
    size_t pos;   // 0-based position of its first character
    size_t width; // 1, or 2 for "!=", "<=", ">="
    OpKind kind;
};

// The operator scan: calls f for each operator, left to right. A character
// counts only while the number of single quotes seen so far (itself
// included) is even, so quoted text never holds operators. The pairs "!=",
// "<=" and ">=" are recognised at their "=", which looks back one character.
template <class F> void scanOperators(std::string_view s, F&& f)
{
    size_t quotes = 0;
    for (size_t i = 0; i < s.size(); ++i) {
        const char c = s[i];
        if (c == '\'')
            ++quotes;
        if (quotes % 2 != 0)
            continue;
        switch (c) {
        case '&': f(Operator{i, 1, OpKind::And}); break;
        case '|': f(Operator{i, 1, OpKind::Or}); break;
        case '^': f(Operator{i, 1, OpKind::Contains}); break;
        case '<':
        case '>':
            if (i + 1 < s.size() && s[i + 1] == '=')
                break;
            f(Operator{i, 1, c == '<' ? OpKind::Less : OpKind::Greater});
            break;
        case '=':
            if (i > 0 && s[i - 1] == '!')
                f(Operator{i - 1, 2, OpKind::NotEqual});
            else if (i > 0 && s[i - 1] == '<')
                f(Operator{i - 1, 2, OpKind::LessEqual});
            else if (i > 0 && s[i - 1] == '>')
                f(Operator{i - 1, 2, OpKind::GreaterEqual});
            else
                f(Operator{i, 1, OpKind::Equal});
            break;
        default: break;
        }
    }
}

// Ordering: numeric when the left operand is an integer (the right one then
// counts as 0 unless it is one too), otherwise unsigned byte order.
int compareOperands(std::string_view left, std::string_view right)
{
    if (const std::optional<int32_t> l = toInt32(left)) {
        const int32_t r = toInt32(right).value_or(0);
        return *l < r ? -1 : (*l > r ? 1 : 0);
    }
    const int c = left.compare(right);
    return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

bool decide(OpKind kind, std::string_view left, std::string_view right)
{
    switch (kind) {
    case OpKind::Equal: return left == right;
    case OpKind::NotEqual: return left != right;
    case OpKind::Less: return compareOperands(left, right) < 0;
    case OpKind::Greater: return compareOperands(left, right) > 0;
    case OpKind::LessEqual: return compareOperands(left, right) <= 0;
    case OpKind::GreaterEqual: return compareOperands(left, right) >= 0;
    case OpKind::And: return left == "TRUE" && right == "TRUE";
    case OpKind::Or: return left == "TRUE" || right == "TRUE";
    case OpKind::Contains:
        // An empty operand occurs nowhere.
        if (left.empty() || right.empty())
            return false;
        return right.find(left) != std::string_view::npos
               || left.find(right) != std::string_view::npos;
    }
    return false;
}

constexpr std::string_view kTrue = "TRUE";
constexpr std::string_view kFalse = "FALSE";

// The text still to be reduced to the right of the current "(", as pieces:
// slices of the condition and outcome words. The top of the stack is the
// front of the text; no piece is empty.
class GroupStack {
public:
    void pushFront(std::string_view piece)
    {
        if (!piece.empty())
            pieces_.push_back(piece);
    }

    // Moves the text before the first ")" into group and drops that ")";
    // with no ")" the whole text goes.
    void takeGroup(std::string& group)
    {
        group.clear();
        while (!pieces_.empty()) {
            const std::string_view p = pieces_.back();
            pieces_.pop_back();
            const size_t close = p.find(')');
            if (close == std::string_view::npos) {
                group.append(p);
                continue;
            }
            group.append(p.substr(0, close));
            pushFront(p.substr(close + 1));
            return;
        }
    }

    // The whole text when it is short enough to be an outcome word, else "".
    std::string_view wholeText()
    {
        if (pieces_.size() > kFalse.size())
            return {};
        short_.clear();
        for (auto it = pieces_.rbegin(); it != pieces_.rend() && short_.size() <= kFalse.size();
             ++it)
            short_.append(*it);
        return short_.size() <= kFalse.size() ? std::string_view(short_) : std::string_view();
    }

private:
    std::vector<std::string_view> pieces_;
    std::string short_;
};

} // namespace

bool ExpressionEvaluator::ProcessExpression(const std::string& condition)
{
    InternalProcessExpression(condition);
    return result_ == kTrue;
}

void ExpressionEvaluator::InternalProcessExpression(std::string text)
{
    // Each pass replaces a group by its outcome: the group after the last
    // "(" up to the next ")" together with both parentheses, or, with no "("
    // left, everything up to and with the first ")"; the passes end when the
    // whole text is "TRUE" or "FALSE". Every pass removes a "(" or, when none
    // is left, a ")" or the whole rest, so the loop ends. Done by rebuilding
    // the text each pass this is quadratic; here the text is consumed from
    // its right end instead. The part after the current "(" never holds
    // another "(", so it is kept as a stack of pieces that each pass takes
    // from the front of, and every character is handled a bounded number of
    // times. Only the first pass trims: the text's ends never change after.
    const std::string_view t = trimView(text);
    GroupStack rest;
    std::string group;
    size_t end = t.size(); // t[0, end) is not yet on the stack
    for (;;) {
        ++steps_;
        const size_t open = end == 0 ? std::string_view::npos : t.rfind('(', end - 1);
        if (open == std::string_view::npos) {
            rest.pushFront(t.substr(0, end));
            end = 0;
            if (const std::string_view whole = rest.wholeText();
                whole == kTrue || whole == kFalse) {
                result_ = std::string(whole);
                return;
            }
        } else {
            rest.pushFront(t.substr(open + 1, end - open - 1));
            end = open;
        }
        rest.takeGroup(group);
        rest.pushFront(evaluateGroup(group) ? kTrue : kFalse);
    }
}

void ExpressionEvaluator::EvaluateExpression(const std::string& group, std::string& result)
{
    result = evaluateGroup(group) ? kTrue : kFalse;
}

// Evaluating the text before the last operator and then applying the last
// operator to that outcome and the text after it is the same as applying the
// operators one after the other from the left, each to the previous outcome
// and the operand text up to the next operator: the left part holds exactly
// the earlier operators, and an outcome holds no operator or quote. The fold
// is therefore done in one scan rather than by recursion, which keeps long
// operator chains linear and off the stack.
bool ExpressionEvaluator::evaluateGroup(std::string_view group)
{
    const std::string g = upperCp1252(group);
    const std::string_view gv(g);

    bool haveOperator = false;
    Operator pending{};
    std::string_view accumulated; // the outcome so far, once one operator was applied
    bool haveOutcome = false;
    bool outcome = false;

    auto apply = [&](const Operator& op, size_t rightEnd) {
        ++steps_;
        const std::string_view left = haveOutcome ? accumulated : trimView(gv.substr(0, op.pos));
        const size_t rightBegin = op.pos + op.width;
        const std::string_view right = trimView(gv.substr(rightBegin, rightEnd - rightBegin));
        outcome = decide(op.kind, left, right);
        accumulated = outcome ? kTrue : kFalse;
        haveOutcome = true;
    };

    scanOperators(gv, [&](const Operator& op) {
        if (haveOperator)
            apply(pending, op.pos);
        pending = op;
        haveOperator = true;
    });
    if (!haveOperator)
        return false; // a group without an operator is never true
    apply(pending, gv.size());
    return outcome;
}

int ExpressionEvaluator::GetOperatorPosition(std::string_view text)
{
    int last = 0;
    scanOperators(text, [&](const Operator& op) { last = static_cast<int>(op.pos) + 1; });
    return last;
}

} // namespace qmx
