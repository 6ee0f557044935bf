// The statements of the linter's walk: IF with its condition, THEN, ELSE and
// blocks, SET and the print-lists, each read as the interpreter reads it.
#include "core/lint/lintcut.h"

#include "core/util/text.h"

#include <algorithm>
#include <utility>

namespace qmx::lint {

namespace {

// The text after the first blank with its first ";" removed, trimmed: what
// SET, PRINT and SUGGEST work on.
Mapped operandOf(const Mapped& statement)
{
    const size_t blank = statement.text.find(' ');
    if (blank == npos)
        return statement.sub(statement.size(), 0);
    Mapped m = statement.sub(blank + 1);
    return m.without(m.text.find(';')).trimmed();
}

size_t countOf(std::string_view s, char c)
{
    return static_cast<size_t>(std::count(s.begin(), s.end(), c));
}

} // namespace

void Linter::runIf(const Mapped& statement)
{
    const Mapped s = statement.lineBreaksAsBlanks();
    const std::string& t = s.text;
    const size_t blank = t.find(' ');
    const size_t then = t.find("THEN");
    if (then == npos) {
        warn(R011, s.origin(0), 2, "IF without THEN: nothing runs, whatever the condition");
        return;
    }
    const Mapped condition =
        blank != npos && then > blank ? s.sub(blank + 1, then - blank - 1).trimmed() : s.sub(0, 0);
    const bool cutCondition = checkThen(s, then, condition);
    if (!cutCondition)
        checkCondition(condition);
    Mapped thenPart = s.sub(then + 5).trimmed();
    bool cutAction = false;
    const Mapped elsePart = splitElse(thenPart, cutAction);
    runAction(thenPart, cutCondition ? Origin::Explained : Origin::Action);
    runAction(elsePart, cutAction ? Origin::Explained : Origin::Action);
}

// The condition ends at the first "THEN" of the statement, wherever it
// stands: inside a name, a literal or an open group it cuts the condition.
bool Linter::checkThen(const Mapped& s, size_t then, const Mapped& condition)
{
    if (gluedToWord(s.text, then, 4)) {
        return warn(R008, s.origin(then), 4,
                    concat({"THEN inside \"", wordAround(s.text, then, 4),
                            "\" ends the condition here: the rest joins the action"}));
    }
    const std::string& c = condition.text;
    const bool openBefore = countOf(c, '%') % 2 != 0 || countOf(c, '"') % 2 != 0
                            || countOf(c, '\'') % 2 != 0 || countOf(c, '(') > countOf(c, ')');
    if (!openBefore || s.text.find("THEN", then + 4) == npos)
        return false;
    return warn(R008, s.origin(then), 4,
                "THEN inside a literal, reference or group ends the condition here: the rest joins "
                "the action");
}

// An ELSE splits the action unless an IF stands before it, which then takes
// it; both are found by plain search.
Mapped Linter::splitElse(Mapped& thenPart, bool& cut)
{
    const std::string& t = thenPart.text;
    const size_t elsePos = t.find("ELSE");
    if (elsePos == npos)
        return thenPart.sub(0, 0);
    const size_t innerIf = t.find("IF");
    if (innerIf != npos && innerIf < elsePos) {
        if (!standsAlone(t, innerIf, 2))
            warn(R008, thenPart.origin(innerIf), 2,
                 concat({"IF inside \"", wordAround(t, innerIf, 2),
                         "\" takes the ELSE: the else-part stays in the action and never runs on "
                         "its own"}));
        return thenPart.sub(0, 0);
    }
    cut = !standsAlone(t, elsePos, 4);
    if (cut)
        warn(R008, thenPart.origin(elsePos), 4,
             concat({"ELSE inside \"", wordAround(t, elsePos, 4), "\" splits the action here"}));
    const Mapped elsePart = thenPart.sub(elsePos + 5).trimmed();
    thenPart = thenPart.sub(0, elsePos).trimmed();
    return elsePart;
}

// An action holding "BEGIN" runs as a block: the text after "BEGIN" and one
// more character up to the first "END".
void Linter::runAction(const Mapped& part, Origin origin)
{
    if (part.empty())
        return;
    const std::string& t = part.text;
    const size_t begin = t.find("BEGIN");
    if (begin == npos) {
        processrule(part, origin);
        return;
    }
    if (!standsAlone(t, begin, 5))
        warn(R008, part.origin(begin), 5,
             concat({"BEGIN inside \"", wordAround(t, begin, 5), "\" makes the action a block"}));
    else if (text_.compare(part.origin(begin), 5, "BEGIN") != 0)
        warn(
            R005, part.origin(begin), 5,
            concat({"\"", text_.substr(part.origin(begin), 5),
                    "\" is no block: only the first statement after it depends on the condition"}));
    Mapped body = part.sub(begin + 6);
    const size_t end = body.text.find("END");
    bool cutBlock = origin == Origin::Explained;
    if (end != npos) {
        const std::string_view rest = trimView(std::string_view(body.text).substr(end + 3));
        if (!standsAlone(body.text, end, 3))
            warn(R008, body.origin(end), 3,
                 concat({"END inside \"", wordAround(body.text, end, 3),
                         "\" ends the block here: the rest of the block never runs"}));
        else if (text_.compare(body.origin(end), 3, "END") != 0)
            warn(R005, body.origin(end), 3,
                 concat({"\"", text_.substr(body.origin(end), 3),
                         "\" ends the block here, and the block's END; further on ends it again"}));
        else if (!rest.empty())
            warn(R017, body.origin(end), 3,
                 "the block ends at this END: what follows it in the block never runs");
        cutBlock = cutBlock || !rest.empty();
        body = body.sub(0, end);
    }
    const Origin savedNext = std::exchange(next_, Origin::Plain);
    const bool savedInLiteral = std::exchange(nextInLiteral_, false);
    tailExplained_ = tailExplained_ || cutBlock;
    runText(body.trimmed(), true);
    next_ = savedNext;
    nextInLiteral_ = savedInLiteral;
}

void Linter::runSet(const Mapped& statement)
{
    const Mapped a = operandOf(statement);
    const size_t eq = a.text.find('=');
    if (eq != npos && eq > 0 && static_cast<unsigned char>(a.text[eq - 1]) <= 32) {
        size_t b = eq;
        while (b > 0 && static_cast<unsigned char>(a.text[b - 1]) <= 32)
            --b;
        warn(R013, a.origin(b), static_cast<uint32_t>(eq - b),
             concat({"blank before \"=\": the variable is named \"",
                     std::string_view(a.text).substr(0, eq), "\", blank included, and ",
                     std::string_view(a.text).substr(0, b), " does not see it"}));
    }
    setEntries_.push_back(a.text);
}

// A variable starts at the first character of the print-list or right after
// a "+", and runs to the next "+", blank or ";".
void Linter::runPrint(const Mapped& statement)
{
    const Mapped list = operandOf(statement);
    const std::string& t = list.text;
    bool inLiteral = false;
    size_t nameEnd = 0; // the characters before it belong to the last name
    for (size_t i = 0; i < t.size(); ++i) {
        const char c = t[i];
        if (c == '"') {
            inLiteral = !inLiteral;
            continue;
        }
        if (inLiteral || i < nameEnd)
            continue;
        if (c == '+' || i == 0) {
            const size_t start = c == '+' ? i + 1 : i;
            nameEnd = std::min(t.find_first_of("+ ;", start), t.size());
            if (nameEnd > start && t[start] != '"')
                refs_.push_back({list.origin(start),
                                 list.origin(nameEnd - 1) - list.origin(start) + 1,
                                 t.substr(start, nameEnd - start), false});
            size_t k = start;
            while (k < t.size() && t[k] == ' ')
                ++k;
            if (c == '+' && k > start && k < t.size() && t[k] != '"' && t[k] != '+'
                && t[k] != ';') {
                warn(R009, list.origin(i), static_cast<uint32_t>(k - i + 1),
                     "blank between \"+\" and the variable: the name is empty and the variable is "
                     "dropped");
                nameEnd = std::min(t.find_first_of("+ ;\"", k), t.size());
            }
        } else if (c == '%') {
            nameEnd = std::min(t.find_first_of("+ ;\"", i), t.size());
            warn(R009, list.origin(i), static_cast<uint32_t>(nameEnd - i),
                 concat({"variable without a \"+\" right before it: ",
                         std::string_view(t).substr(i, nameEnd - i), " is never printed"}));
        }
    }
}

void Linter::checkCondition(const Mapped& condition)
{
    const std::string& c = condition.text;
    for (size_t i = c.find("//"); i != npos; i = c.find("//", i + 2)) {
        const uint32_t at = condition.origin(i);
        size_t lineStart = at;
        while (lineStart > 0 && text_[lineStart - 1] != '\n' && text_[lineStart - 1] != '\r')
            --lineStart;
        if (trimView(text_.substr(lineStart, at - lineStart)).empty()) {
            warn(R004, at, 2,
                 "comment line inside the condition: it becomes part of the condition");
            return;
        }
    }
    // References pair the "%" signs from the left, as they are replaced.
    for (size_t i = c.find('%'); i != npos;) {
        const size_t j = c.find('%', i + 1);
        if (j == npos) {
            warn(R016, condition.origin(i), 1,
                 "\"%\" without its closing \"%\": the rest of the condition becomes a blank");
            break;
        }
        refs_.push_back({condition.origin(i), condition.origin(j) - condition.origin(i) + 1,
                         c.substr(i, j - i + 1), true});
        i = c.find('%', j + 1);
    }
    checkGroups(condition);
}

namespace {

// One group of a condition as the evaluator reduces it: the text inside a
// pair of parentheses, with the groups inside it already replaced by their
// outcome, or the outer text.
struct Group {
    size_t start = 0; // after its "("
    int operators = 0;
    bool comparison = false, andOp = false, orOp = false;
    int quotes = 0;
    int outcomes = 0; // inner groups replaced by TRUE or FALSE
    bool text = false;
};

// Counts the operator at c[i], if there is one, as the evaluator's scan does.
void scanCharacter(const std::string& c, size_t i, Group& g)
{
    const char ch = c[i];
    if (ch == '\'')
        ++g.quotes;
    if (g.quotes % 2 != 0 || ch == '\'') {
        g.text = true;
        return;
    }
    const bool pairStart =
        (ch == '<' || ch == '>' || ch == '!') && i + 1 < c.size() && c[i + 1] == '=';
    if (ch == '&' || ch == '|') {
        ++g.operators;
        (ch == '&' ? g.andOp : g.orOp) = true;
    } else if ((ch == '<' || ch == '>' || ch == '=' || ch == '^') && !pairStart) {
        ++g.operators;
        g.comparison = true;
    } else if (static_cast<unsigned char>(ch) > 32 && !pairStart) {
        g.text = true;
    }
}

} // namespace

// Operators have no precedence, and a group without one is FALSE.
void Linter::checkGroups(const Mapped& condition)
{
    const std::string& c = condition.text;
    std::vector<Group> stack(1);
    auto finish = [&](size_t end, bool inParentheses) {
        const Group g = stack.back();
        const Mapped span = condition.sub(g.start, end - g.start).trimmed();
        if (g.operators >= 2 && (g.comparison || (g.andOp && g.orOp)))
            warn(R012, span.origin(0), span.endAt - span.origin(0),
                 std::to_string(g.operators)
                     + " operators in one group fold from left to right, without precedence: put "
                       "each comparison in "
                       "parentheses");
        else if (g.operators == 0 && inParentheses)
            warn(R015, condition.origin(g.start > 0 ? g.start - 1 : 0),
                 span.endAt - span.origin(0) + 2,
                 "a group without an operator is FALSE, whatever it holds");
    };
    for (size_t i = 0; i < c.size(); ++i) {
        if (c[i] == '(') {
            stack.push_back(Group{i + 1});
        } else if (c[i] == ')') {
            finish(i, true);
            if (stack.size() > 1) {
                stack.pop_back();
                ++stack.back().outcomes;
            } else {
                stack.back() = Group{i + 1};
                stack.back().outcomes = 1;
            }
        } else {
            scanCharacter(c, i, stack.back());
        }
    }
    for (; stack.size() > 1; ++stack.back().outcomes) {
        finish(c.size(), true);
        stack.pop_back();
    }
    const Group& outer = stack.back();
    if (outer.operators == 0 && outer.outcomes > 0 && (outer.outcomes > 1 || outer.text))
        warn(R015, condition.origin(outer.start), static_cast<uint32_t>(c.size() - outer.start),
             "the text around the groups holds no operator: the condition is FALSE");
    else
        finish(c.size(), false);
}

} // namespace qmx::lint
