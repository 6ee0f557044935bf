// Inside the rule linter: text cut out of the rule text that remembers where
// each character came from, and the walk that follows the interpreter's way
// of cutting statements and running them, calling back on every trap.
#pragma once

#include "core/lint/linter.h"

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace qmx::lint {

constexpr size_t npos = std::string_view::npos;

// A piece of the rule text as the interpreter sees it (trimmed, upper-cased,
// line breaks turned into blanks) with the rule text offset of each
// character, so that a trap found in it points where the user wrote it.
struct Mapped {
    std::string text;
    std::vector<uint32_t> at;
    uint32_t endAt = 0; // the offset just past the last character

    static Mapped whole(std::string_view text);
    size_t size() const { return text.size(); }
    bool empty() const { return text.empty(); }
    uint32_t origin(size_t i) const { return i < at.size() ? at[i] : endAt; }
    Mapped sub(size_t pos, size_t len = npos) const;
    Mapped trimmed() const;
    Mapped upper() const;
    Mapped without(size_t pos) const;
    Mapped lineBreaksAsBlanks() const;
};

// Letters, digits, "_", "%" and the letters above 127: what a keyword found
// by plain search may be glued to.
bool isWordChar(char c);
// s[pos, pos + len) touches a word character on either side.
bool gluedToWord(std::string_view s, size_t pos, size_t len);
// s[pos, pos + len) is a word of its own, outside literals and references.
bool standsAlone(std::string_view s, size_t pos, size_t len);
// The word (letters, digits, "_", "%", ":") around s[pos, pos + len).
std::string wordAround(std::string_view s, size_t pos, size_t len);

// The pieces of a message joined. (Joining temporaries with "+" draws a false
// -Wrestrict warning from g++ 12 at -O2.)
std::string concat(std::initializer_list<std::string_view> pieces);

enum Code {
    R001 = 1,
    R002,
    R003,
    R004,
    R005,
    R006,
    R007,
    R008,
    R009,
    R010,
    R011,
    R012,
    R013,
    R014,
    R015,
    R016,
    R017
};

// How a statement came to be cut, so that a statement already explained by
// an earlier warning (the rest of a cut literal, a comment that lost its
// marker) is not reported a second time.
enum class Origin { Plain, AfterComment, Explained, Action, Block };

class Linter {
public:
    Linter(std::string_view text, const VariableList* report) : text_(text), report_(report) {}
    std::vector<LintWarning> run();

private:
    void runText(const Mapped& src, bool inBlock);
    void processrule(const Mapped& statement, Origin origin);
    size_t plainStatement(const Mapped& src, size_t p, size_t semi, bool inBlock);
    size_t blockStatement(const Mapped& src, size_t p, size_t beginAt, bool inBlock);
    void checkLiteralSemicolon(const Mapped& statement, bool startsInLiteral);
    void keywordTrap(const Mapped& statement, const std::string& keyword, Origin origin);
    bool onlyComments(uint32_t from, uint32_t to) const;

    // Statements (lintstatements.cpp).
    void runIf(const Mapped& statement);
    bool checkThen(const Mapped& s, size_t then, const Mapped& condition);
    // Cuts the else-part off the action; cut tells whether it was cut at an ELSE
    // inside a word.
    Mapped splitElse(Mapped& thenPart, bool& cut);
    void runAction(const Mapped& part, Origin origin);
    void runSet(const Mapped& statement);
    void runPrint(const Mapped& statement);
    void checkCondition(const Mapped& condition);
    void checkGroups(const Mapped& condition);

    // References against the report (lintreport.cpp).
    void checkReferences();

    // Always true, so that a check can report and return in one go.
    bool warn(Code code, uint32_t offset, uint32_t length, std::string message);

    struct Reference {
        uint32_t offset;
        uint32_t length;
        std::string name;
        bool inCondition;
    };

    std::string_view text_;
    const VariableList* report_;
    std::vector<LintWarning> out_;
    std::vector<Reference> refs_;
    std::vector<std::string> setEntries_;
    Origin next_ = Origin::Plain;
    bool nextInLiteral_ = false;
    // The text after the last ";" of the next block was already explained
    // by a warning that cut the block short.
    bool tailExplained_ = false;
    int depth_ = 0;
};

} // namespace qmx::lint
