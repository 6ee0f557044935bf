#include "core/rules/interpreter.h"

#include "core/util/lines.h"
#include "core/util/text.h"

#include <algorithm>
#include <optional>

namespace qmx {

namespace {

constexpr size_t npos = std::string_view::npos;

// The statement after its first blank; empty when it has none.
std::string_view afterFirstBlank(std::string_view s)
{
    const size_t blank = s.find(' ');
    return blank == npos ? std::string_view() : s.substr(blank + 1);
}

// The text after the first blank with its first ";" removed, trimmed: the
// operand of SET, PRINT and SUGGEST.
std::string operandOf(std::string_view statement)
{
    std::string s(afterFirstBlank(statement));
    const size_t semi = s.find(';');
    if (semi != npos)
        s.erase(semi, 1);
    return trim(s);
}

std::string replaceAll(std::string_view s, std::string_view from, std::string_view to)
{
    std::string r;
    r.reserve(s.size());
    size_t done = 0, at;
    while ((at = s.find(from, done)) != npos) {
        r.append(s.substr(done, at - done));
        r.append(to);
        done = at + from.size();
    }
    r.append(s.substr(done));
    return r;
}

// An IF statement spread over several lines reads as one line.
std::string lineBreaksAsBlanks(std::string_view s)
{
    return replaceAll(s, "\r\n", " ");
}

struct DepthGuard {
    explicit DepthGuard(int& d) : depth(d) { ++depth; }
    ~DepthGuard() { --depth; }
    int& depth;
};

} // namespace

RuleInterpreter::RuleInterpreter(VariableList& variables, std::vector<std::string>& output,
                                 bool debug, std::function<std::string()> ruleText,
                                 std::function<void()> variablesChanged)
    : vars_(variables), out_(output), debug_(debug), ruleText_(std::move(ruleText)),
      variablesChanged_(std::move(variablesChanged))
{}

void RuleInterpreter::appendLine(std::string_view text)
{
    forEachPiece(text, [this](std::string_view line) { out_.emplace_back(line); });
}

void RuleInterpreter::trace(std::string_view label, std::string_view text)
{
    if (!debug_)
        return;
    std::string line;
    line.reserve(label.size() + text.size());
    line.append(label);
    line.append(text);
    appendLine(line);
}

void RuleInterpreter::dorules(const std::string& text)
{
    if (text == "Not")
        runText(ruleText_ ? ruleText_() : std::string());
    else
        runText(text);
}

// Statements are cut from the text as written: "BEGIN" and "END;" count in
// capitals only, since upper-casing happens per statement. Each pass consumes
// at least the text up to the first ";", so the loop ends.
void RuleInterpreter::runText(const std::string& source)
{
    ++steps_;
    std::string_view t(source);
    while (t.starts_with("//")) {
        ++steps_;
        const size_t lineEnd = t.find("\r\n");
        t.remove_prefix(lineEnd == npos ? 1 : lineEnd + 2);
    }

    for (;;) {
        const size_t semi = t.find(';');
        if (semi == npos || semi == 0)
            break;
        ++steps_;
        if (t.substr(0, semi).find("BEGIN") != npos) {
            // A block runs to the first "END;"; the character after it
            // (normally the line break's CR) goes with it. A block that is
            // never closed runs to the end of the text and ends the run.
            const size_t end = t.find("END;");
            std::string_view block;
            if (end == npos) {
                block = t;
                t = {};
            } else {
                block = t.substr(0, end);
                t.remove_prefix(std::min(t.size(), end + 5));
            }
            const std::string statement = prepareStatement(block);
            if (!statement.starts_with("//"))
                processrule(statement);
        } else {
            std::string statement = prepareStatement(t.substr(0, semi + 1));
            if (statement.starts_with("//")) {
                // A comment line in front of a statement: drop that line (up
                // to its CR and the LF after it, or just the first character
                // when the statement holds no CR) and run the rest.
                const size_t cr = statement.find('\r');
                statement.erase(0, cr == npos ? 1 : std::min(statement.size(), cr + 2));
                processrule(trim(statement));
            } else {
                trace("Rule: ", statement);
                processrule(statement);
            }
            t.remove_prefix(semi + 1);
        }
        if (debug_)
            appendLine("");
    }
}

StatementHead statementHead(std::string_view statement)
{
    std::string keyword = upperAscii(trimView(statement.substr(0, statement.find(' '))));
    StatementKind kind = StatementKind::Other;
    if (keyword == "SET")
        kind = StatementKind::Set;
    else if (keyword == "IF")
        kind = StatementKind::If;
    else if (keyword == "PRINT" || keyword == "SUGGEST")
        kind = StatementKind::Print;
    return {std::move(keyword), kind};
}

void RuleInterpreter::processrule(const std::string& statement)
{
    ++steps_;
    if (depth_ >= kMaxNesting)
        return;
    DepthGuard guard(depth_);

    const StatementHead head = statementHead(statement);
    trace("Operator: ", head.keyword);
    switch (head.kind) {
    case StatementKind::Set: runSet(statement); break;
    case StatementKind::If: runIf(statement); break;
    case StatementKind::Print: runPrint(statement); break;
    case StatementKind::Other: break;
    }
}

void RuleInterpreter::runSet(const std::string& statement)
{
    const std::string assignment = operandOf(statement);
    trace("AVar: ", assignment);
    // Names compare exactly, blanks included: "%X% = 1" does not replace
    // an earlier "%X%=0".
    vars_.eraseByName(VariableList::nameOf(assignment));
    vars_.append(assignment);
    if (debug_ && variablesChanged_)
        variablesChanged_();
}

std::string RuleInterpreter::prepareStatement(std::string_view text)
{
    return upperAscii(trimView(text));
}

std::string RuleInterpreter::conditionText(std::string_view text)
{
    return trim(lineBreaksAsBlanks(prepareStatement(text)));
}

void RuleInterpreter::runIf(const std::string& statement)
{
    const std::string s = lineBreaksAsBlanks(statement);

    const size_t blank = s.find(' ');
    const size_t then = s.find("THEN");
    std::string condition;
    if (blank != npos) {
        if (then == npos)
            condition = trim(std::string_view(s).substr(blank + 1));
        else if (then > blank)
            condition = trim(std::string_view(s).substr(blank + 1, then - blank - 1));
    }
    trace("Condition: ", condition);

    // The then-part follows the first "THEN" and the character after it.
    // (The condition text always occurs in full before that "THEN", so
    // searching for "THEN" after the condition's first occurrence finds
    // this same "THEN".) Without THEN there is nothing to run.
    std::string thenPart;
    if (then != npos)
        thenPart = trim(std::string_view(s).substr(std::min(s.size(), then + 5)));

    if (observer_)
        observer_->conditionStarted();
    replaceReferences(condition);

    // An ELSE after an IF inside the then-part belongs to that inner IF.
    std::string elsePart;
    const size_t elsePos = thenPart.find("ELSE");
    if (elsePos != npos) {
        const size_t innerIf = thenPart.find("IF");
        if (innerIf == npos || innerIf > elsePos) {
            elsePart =
                trim(std::string_view(thenPart).substr(std::min(thenPart.size(), elsePos + 5)));
            thenPart = trim(std::string_view(thenPart).substr(0, elsePos));
        }
    }

    if (eval_.ProcessExpression(condition))
        runAction(thenPart);
    else if (!elsePart.empty())
        runAction(elsePart);
    trace("Outcome: ", thenPart);
    if (observer_)
        observer_->conditionEnded();
}

// An action holding "BEGIN" is a block: the text after "BEGIN" and one more
// character, up to the first "END", runs as statements; anything else runs as
// one statement. The block text is left in part for the trace.
void RuleInterpreter::runAction(std::string& part)
{
    const size_t begin = part.find("BEGIN");
    if (begin == npos) {
        processrule(part);
        return;
    }
    part.erase(0, std::min(part.size(), begin + 6));
    const size_t end = part.find("END");
    if (end != npos)
        part.erase(end);
    part = trim(part);
    runText(part);
}

// A reference runs from a "%" to the next "%" (or to the end of the text).
// Its replacement holds no "%", so the next reference begins at the next "%"
// of the original text: one pass over it builds the result. Only the debug
// trace needs the whole condition as it stands after each replacement.
void RuleInterpreter::replaceReferences(std::string& condition)
{
    if (condition.find('%') == npos)
        return;
    const std::string source = std::move(condition);
    std::string& done = condition;
    done.clear();
    size_t pos = 0;
    size_t first;
    while ((first = source.find('%', pos)) != npos) {
        ++steps_;
        done.append(source, pos, first - pos);
        const size_t second = source.find('%', first + 1);
        pos = second == npos ? source.size() : second + 1;
        const std::string_view reference = std::string_view(source).substr(first, pos - first);
        trace("TheVar: ", reference);

        const std::optional<std::string> value = referenceValue(reference);
        if (observer_)
            observer_->referenceRead(reference,
                                     value ? std::string_view(*value) : std::string_view(),
                                     value.has_value());
        if (value) {
            done.append(*value);
            trace("FoundVar: ", *value);
            traceCondition("Condition with replaced vars: ", done,
                           std::string_view(source).substr(pos));
        } else {
            done.append(1, ' ');
            traceCondition("Var not found: ", done, std::string_view(source).substr(pos));
        }
    }
    done.append(source, pos, npos);
}

// The value a reference is replaced by: the trimmed value of the first
// variable whose text starts with the reference, less every "%", trimmed
// again (which may leave it empty). Nothing when there is no such variable
// or its value is blank.
std::optional<std::string> RuleInterpreter::referenceValue(std::string_view reference) const
{
    const VariableList::Id id = vars_.findFirstWithPrefix(reference);
    if (id == VariableList::npos)
        return std::nullopt;
    const std::string_view v = trimView(VariableList::valueOf(vars_.text(id)));
    if (v.empty())
        return std::nullopt;
    std::string value;
    for (char c : v)
        if (c != '%')
            value += c;
    return trim(value);
}

void RuleInterpreter::traceCondition(std::string_view label, std::string_view done,
                                     std::string_view rest)
{
    if (!debug_)
        return;
    std::string whole;
    whole.reserve(done.size() + rest.size());
    whole.append(done).append(rest);
    trace(label, whole);
}

void RuleInterpreter::runPrint(const std::string& statement)
{
    const std::string list = operandOf(statement);
    std::string line;
    bool inLiteral = false;
    for (size_t i = 0; i < list.size(); ++i) {
        const char c = list[i];
        if (c == '"') {
            inLiteral = !inLiteral;
            continue;
        }
        if (inLiteral) {
            line += c;
            continue;
        }
        if (c != '+' && i != 0)
            continue; // the rest of a name, blanks: nothing to output
        // A variable: every entry beginning with the name adds its value. The
        // characters of the name are then passed over one by one above.
        const size_t start = c == '+' ? i + 1 : i;
        const size_t stop = std::min(list.find_first_of("+ ;", start), list.size());
        const std::string_view name = std::string_view(list).substr(start, stop - start);
        if (!name.empty()) {
            for (const VariableList::Id id : vars_.findAllWithPrefix(name)) {
                const std::string_view v = trimView(VariableList::valueOf(vars_.text(id)));
                line.append(v);
                trace("FoundVar: ", v);
            }
        }
        trace("TheVar: ", name);
    }
    const size_t first = out_.size();
    appendLine(line);
    if (observer_)
        observer_->printed(first, out_.size());
    appendLine("");
}

void runRules(VariableList& variables, std::vector<std::string>& output, bool debug,
              const std::string& ruleText, RuleObserver* observer)
{
    RuleInterpreter interpreter(variables, output, debug, [&ruleText] { return ruleText; });
    interpreter.setObserver(observer);
    interpreter.dorules("Not");
}

} // namespace qmx
