#include "core/lint/linter.h"

#include "core/lint/lintcut.h"
#include "core/rules/interpreter.h"
#include "core/util/text.h"

#include <algorithm>
#include <cctype>
#include <tuple>
#include <utility>

namespace qmx {

namespace lint {

Mapped Mapped::whole(std::string_view text)
{
    Mapped m;
    m.text.assign(text);
    m.at.resize(text.size());
    for (size_t i = 0; i < text.size(); ++i)
        m.at[i] = static_cast<uint32_t>(i);
    m.endAt = static_cast<uint32_t>(text.size());
    return m;
}

Mapped Mapped::sub(size_t pos, size_t len) const
{
    pos = std::min(pos, size());
    len = std::min(len, size() - pos);
    Mapped m;
    m.text = text.substr(pos, len);
    m.at.assign(at.begin() + static_cast<long>(pos), at.begin() + static_cast<long>(pos + len));
    m.endAt = origin(pos + len);
    return m;
}

Mapped Mapped::trimmed() const
{
    const std::string_view t = trimView(text);
    if (t.empty())
        return sub(size(), 0);
    return sub(static_cast<size_t>(t.data() - text.data()), t.size());
}

Mapped Mapped::upper() const
{
    Mapped m = *this;
    m.text = upperAscii(text);
    return m;
}

Mapped Mapped::without(size_t pos) const
{
    Mapped m = *this;
    if (pos < size()) {
        m.text.erase(pos, 1);
        m.at.erase(m.at.begin() + static_cast<long>(pos));
    }
    return m;
}

Mapped Mapped::lineBreaksAsBlanks() const
{
    Mapped m;
    m.endAt = endAt;
    m.text.reserve(size());
    m.at.reserve(size());
    for (size_t i = 0; i < size(); ++i) {
        const bool crlf = text[i] == '\r' && i + 1 < size() && text[i + 1] == '\n';
        m.text += crlf ? ' ' : text[i];
        m.at.push_back(at[i]);
        if (crlf)
            ++i;
    }
    return m;
}

std::string concat(std::initializer_list<std::string_view> pieces)
{
    std::string r;
    for (const std::string_view p : pieces)
        r.append(p);
    return r;
}

bool isWordChar(char c)
{
    const auto u = static_cast<unsigned char>(c);
    return (u >= 'A' && u <= 'Z') || (u >= 'a' && u <= 'z') || (u >= '0' && u <= '9') || c == '_'
           || c == '%' || u >= 0x80;
}

bool gluedToWord(std::string_view s, size_t pos, size_t len)
{
    return (pos > 0 && isWordChar(s[pos - 1]))
           || (pos + len < s.size() && isWordChar(s[pos + len]));
}

bool standsAlone(std::string_view s, size_t pos, size_t len)
{
    const std::string_view before = s.substr(0, pos);
    const auto quotes = std::count(before.begin(), before.end(), '"');
    const auto percents = std::count(before.begin(), before.end(), '%');
    return !gluedToWord(s, pos, len) && quotes % 2 == 0 && percents % 2 == 0;
}

std::string wordAround(std::string_view s, size_t pos, size_t len)
{
    auto inWord = [](char c) { return isWordChar(c) || c == ':'; };
    size_t from = pos, to = std::min(s.size(), pos + len);
    while (from > 0 && inWord(s[from - 1]))
        --from;
    while (to < s.size() && inWord(s[to]))
        ++to;
    return std::string(s.substr(from, to - from));
}

bool Linter::warn(Code code, uint32_t offset, uint32_t length, std::string message)
{
    const LintCode& kind = lintCodes()[code - 1];
    LintWarning w;
    w.offset = offset;
    w.length = std::max<uint32_t>(length, 1);
    w.code = kind.code;
    w.severity = kind.severity;
    w.message = std::move(message);
    out_.push_back(std::move(w));
    return true;
}

// Whether the rule text from..to holds nothing but blanks and comment lines:
// text there that never runs loses nothing.
bool Linter::onlyComments(uint32_t from, uint32_t to) const
{
    to = std::min<uint32_t>(to, static_cast<uint32_t>(text_.size()));
    size_t p = from;
    while (p < to) {
        size_t lineEnd = text_.find_first_of("\r\n", p);
        if (lineEnd == npos || lineEnd > to)
            lineEnd = to;
        const std::string_view piece = trimView(text_.substr(p, lineEnd - p));
        if (!piece.empty() && !piece.starts_with("//"))
            return false;
        p = lineEnd + 1;
    }
    return true;
}

// The interpreter's cut: leading comment lines go, then statements end at
// each ";", or at the first "END;" when "BEGIN" comes before the ";".
void Linter::runText(const Mapped& src, bool inBlock)
{
    const std::string_view all(src.text);
    const bool tailExplained = std::exchange(tailExplained_, false);
    size_t p = 0;
    while (all.substr(p).starts_with("//")) {
        const size_t lineEnd = all.find("\r\n", p);
        if (lineEnd != npos) {
            p = lineEnd + 2;
            continue;
        }
        // Without a line break only the first "/" goes, and the comment
        // runs on as a statement up to the next ";".
        if (inBlock && all.find(';', p) != npos)
            warn(R004, src.origin(p), 2,
                 "comment inside a block: it swallows the statement after it");
        next_ = Origin::Explained;
        ++p;
        break;
    }
    for (bool first = true;; first = false) {
        const size_t semi = all.find(';', p);
        if (semi == npos) {
            const Mapped rest = src.sub(p).trimmed();
            if (!rest.empty() && !tailExplained && !onlyComments(rest.origin(0), rest.endAt))
                warn(R007, rest.origin(0), 1, "text after the last \";\" never runs");
            return;
        }
        if (semi == p) {
            if (!onlyComments(src.origin(p + 1), src.endAt))
                warn(R007, src.origin(p), 1,
                     first ? "a \";\" at the start ends the run: nothing after it runs"
                           : "a \";\" right after the previous one ends the run: nothing after it "
                             "runs");
            return;
        }
        const size_t begin = all.substr(p, semi - p).find("BEGIN");
        p = begin == npos ? plainStatement(src, p, semi, inBlock)
                          : blockStatement(src, p, p + begin, inBlock);
    }
}

size_t Linter::plainStatement(const Mapped& src, size_t p, size_t semi, bool inBlock)
{
    const Mapped raw = src.sub(p, semi + 1 - p);
    Mapped statement = raw.trimmed().upper();
    Origin origin = std::exchange(next_, Origin::Plain);
    const bool inLiteral = std::exchange(nextInLiteral_, false);
    if (statement.text.starts_with("//")) {
        const size_t cr = statement.text.find('\r');
        if (cr == npos) {
            // The ";" stands in the comment's own line: the comment ends
            // there and its rest starts the next statement.
            if (inBlock)
                warn(R004, statement.origin(0), 2,
                     "comment inside a block: it swallows the statement after it");
            else if (!onlyComments(statement.endAt, static_cast<uint32_t>(text_.find_first_of(
                                                        "\r\n", statement.endAt)))) {
                warn(R001, statement.origin(statement.size() - 1), 1,
                     "\";\" inside a comment ends a statement: the rest of the comment swallows "
                     "the next statement");
                next_ = Origin::Explained;
            }
            processrule(statement.sub(1), Origin::Explained);
            return semi + 1;
        }
        statement = statement.sub(cr + 2).trimmed();
        origin = origin == Origin::Plain ? Origin::AfterComment : origin;
    }
    checkLiteralSemicolon(statement, inLiteral);
    processrule(statement, origin);
    return semi + 1;
}

// An odd number of double quotes before the ending ";" puts it inside a
// literal; when the literal goes on after it, the statement is cut short.
void Linter::checkLiteralSemicolon(const Mapped& statement, bool startsInLiteral)
{
    const std::string& s = statement.text;
    if (s.empty() || s.back() != ';')
        return;
    const bool inLiteral = (std::count(s.begin(), s.end(), '"') % 2 != 0) != startsInLiteral;
    if (!inLiteral)
        return;
    const uint32_t at = statement.origin(s.size() - 1);
    const size_t lineEnd = std::min(text_.find_first_of("\r\n", at), text_.size());
    const std::string_view rest = text_.substr(at + 1, lineEnd - at - 1);
    if (rest.find('"') == npos)
        return; // an unclosed literal at the end of its statement
    warn(R001, at, 1,
         "\";\" inside a literal ends the statement here: the rest of the literal becomes a "
         "statement of its own");
    next_ = Origin::Explained;
    nextInLiteral_ = true;
}

size_t Linter::blockStatement(const Mapped& src, size_t p, size_t beginAt, bool inBlock)
{
    const std::string_view all(src.text);
    if (inBlock)
        warn(R017, src.origin(beginAt), 5,
             "BEGIN inside a block: blocks do not nest, the outer block ends at the first END;");
    else if (!standsAlone(all.substr(p), beginAt - p, 5))
        warn(R008, src.origin(beginAt), 5,
             concat({"BEGIN inside \"", wordAround(all, beginAt, 5),
                     "\" makes this statement a block that runs to the next END;"}));
    const Origin origin = std::exchange(next_, Origin::Plain);
    nextInLiteral_ = false;
    const size_t end = all.find("END;", p);
    Mapped block = end == npos ? src.sub(p) : src.sub(p, end - p);
    const size_t next = end == npos ? src.size() : std::min(src.size(), end + 5);
    bool dropsCharacter = false, cutShort = false;
    if (end != npos) {
        cutShort = !standsAlone(all.substr(p), end - p, 3);
        if (cutShort)
            warn(R008, src.origin(end), 4,
                 concat({"END; inside \"", wordAround(all, end, 3), "\" ends the block here"}));
        const char after = end + 4 < src.size() ? all[end + 4] : ' ';
        dropsCharacter = static_cast<unsigned char>(after) > 32 && after != ';';
        if (dropsCharacter)
            warn(R006, src.origin(end + 4), 1,
                 "the character right after END; is dropped with it: start the next statement on a "
                 "new line");
    }
    const Mapped statement = block.trimmed().upper();
    if (statement.text.starts_with("//"))
        warn(R002, statement.origin(0), 2,
             "comment line right before a BEGIN block: the whole block is skipped");
    else {
        tailExplained_ = cutShort;
        processrule(statement, origin == Origin::Explained ? origin : Origin::Block);
        tailExplained_ = false;
    }
    if (dropsCharacter || cutShort)
        next_ = Origin::Explained;
    return next;
}

void Linter::processrule(const Mapped& statement, Origin origin)
{
    if (depth_ >= RuleInterpreter::kMaxNesting)
        return;
    ++depth_;
    const StatementHead head = statementHead(statement.text);
    switch (head.kind) {
    case StatementKind::Set: runSet(statement); break;
    case StatementKind::If: runIf(statement); break;
    case StatementKind::Print: runPrint(statement); break;
    case StatementKind::Other:
        if (!statement.empty() && head.keyword != ";")
            keywordTrap(statement, head.keyword, origin);
        break;
    }
    --depth_;
}

void Linter::keywordTrap(const Mapped& statement, const std::string& keyword, Origin origin)
{
    if (origin == Origin::Explained)
        return;
    const uint32_t at = statement.origin(0);
    const uint32_t len = static_cast<uint32_t>(std::min<size_t>(keyword.size(), 20));
    if (keyword.starts_with("//")) {
        if (origin == Origin::AfterComment)
            warn(R003, at, 2, "second comment line in a row: the statement after it is skipped");
        else
            warn(R004, at, 2,
                 "comment line inside a statement: the statement after it does nothing");
        return;
    }
    if (keyword == "END" || keyword == "END;") {
        if (text_.compare(at, 3, "END") != 0)
            warn(R005, at, 3,
                 concat({"\"", text_.substr(at, 3),
                         "\" is no block word: BEGIN and END; count in capitals only"}));
        else
            warn(R017, at, 3, "END; with no block open does nothing");
        return;
    }
    std::string why;
    if (keyword == "ELSE")
        why = "ELSE starts a statement of its own here and does nothing: the ELSE must come before "
              "the \";\" or END; of its IF";
    else if (keyword == "BEGIN")
        why = "a block needs IF ... THEN in front of BEGIN: this one does nothing";
    else if (keyword.find_first_of("\r\n") != npos)
        why = "the keyword is followed by a line break instead of a blank: the statement does "
              "nothing";
    auto letterOrDigit = [](char c) { return std::isalnum(static_cast<unsigned char>(c)) != 0; };
    for (const char* k : {"SUGGEST", "PRINT", "SET", "IF"}) {
        const std::string_view kw(k);
        if (why.empty() && keyword.starts_with(kw) && !letterOrDigit(keyword[kw.size()]))
            why = concat({kw, " is glued to what follows: write a blank after it, or the statement "
                              "does nothing"});
    }
    if (why.empty())
        why = concat({"\"", std::string_view(keyword).substr(0, len),
                      "\" is not SET, IF, PRINT or SUGGEST: the statement does nothing"});
    warn(R010, at, len, why);
}

std::vector<LintWarning> Linter::run()
{
    runText(Mapped::whole(text_), false);
    if (report_)
        checkReferences();

    // Line starts: lines break at CR LF, CR or LF, as the editor shows them.
    std::vector<size_t> starts{0};
    for (size_t i = 0; i < text_.size(); ++i) {
        if (text_[i] == '\r' && i + 1 < text_.size() && text_[i + 1] == '\n')
            ++i;
        if (text_[i] == '\r' || text_[i] == '\n')
            starts.push_back(i + 1);
    }
    for (LintWarning& w : out_) {
        const auto line = std::upper_bound(starts.begin(), starts.end(), w.offset) - starts.begin();
        const size_t start = starts[static_cast<size_t>(line - 1)];
        w.line = static_cast<int>(line);
        w.column = static_cast<int>(w.offset - start + 1);
        const size_t lineEnd = std::min(text_.find_first_of("\r\n", w.offset), text_.size());
        w.length = std::max<size_t>(1, std::min(w.length, lineEnd - w.offset));
    }
    auto key = [](const LintWarning& w) { return std::tie(w.offset, w.code); };
    std::sort(out_.begin(), out_.end(),
              [&](const LintWarning& a, const LintWarning& b) { return key(a) < key(b); });
    out_.erase(
        std::unique(out_.begin(), out_.end(),
                    [&](const LintWarning& a, const LintWarning& b) { return key(a) == key(b); }),
        out_.end());
    return std::move(out_);
}

} // namespace lint

std::vector<LintWarning> lintRuleText(std::string_view ruleText, const VariableList* report)
{
    return lint::Linter(ruleText, report).run();
}

} // namespace qmx
