#include "core/util/lines.h"

#include <gtest/gtest.h>

using namespace qmx;

namespace {

using Lines = std::vector<std::string>;

Lines pieces(std::string_view text)
{
    Lines out;
    forEachPiece(text, [&out](std::string_view p) { out.emplace_back(p); });
    return out;
}

} // namespace

TEST(SplitLines, AllThreeLineEnds)
{
    EXPECT_EQ(splitLines(""), std::vector<std::string>{});
    EXPECT_EQ(splitLines("a"), (std::vector<std::string>{"a"}));
    EXPECT_EQ(splitLines("a\r\n"), (std::vector<std::string>{"a"}));
    EXPECT_EQ(splitLines("a\r\n\r\n"), (std::vector<std::string>{"a", ""}));
    EXPECT_EQ(splitLines("a\rb\nc\r\nd"), (std::vector<std::string>{"a", "b", "c", "d"}));
    EXPECT_EQ(splitLines("\n\r"), (std::vector<std::string>{"", ""}));
    EXPECT_EQ(splitLines("a\n\r\nb"), (std::vector<std::string>{"a", "", "b"}));
}

// The three ways of breaking text side by side over the same inputs: where
// they agree and where they differ is the point.
TEST(Lines, SplittersOverTheSameTexts)
{
    struct Case {
        const char* text;
        Lines atAnyEnd;   // splitLines
        Lines pieces;     // forEachPiece
        Lines atLineFeed; // splitAtLineFeeds
    };
    const Case cases[] = {
        {"", {}, {""}, {}},
        {"a", {"a"}, {"a"}, {"a"}},
        {"a\r\n", {"a"}, {"a", ""}, {"a"}},
        {"a\r", {"a"}, {"a", ""}, {"a\r"}},
        {"a\n", {"a"}, {"a", ""}, {"a"}},
        {"\r\n", {""}, {"", ""}, {""}},
        {"a\r\r\nb", {"a", "", "b"}, {"a", "", "b"}, {"a\r", "b"}},
        {"a\n\rb", {"a", "", "b"}, {"a", "", "b"}, {"a", "\rb"}},
        {"a\rb", {"a", "b"}, {"a", "b"}, {"a\rb"}},
        {"\n\n", {"", ""}, {"", "", ""}, {"", ""}},
        {"a\r\r", {"a", ""}, {"a", "", ""}, {"a\r\r"}},
        {"\r\r\n", {"", ""}, {"", "", ""}, {"\r"}},
        {"a\r\n\rb\r", {"a", "", "b"}, {"a", "", "b", ""}, {"a", "\rb\r"}},
        {"x=1\r\ny=2\r\n\r\n", {"x=1", "y=2", ""}, {"x=1", "y=2", "", ""}, {"x=1", "y=2", ""}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(std::string(c.text)));
        EXPECT_EQ(splitLines(c.text), c.atAnyEnd);
        const auto views = splitLineViews(c.text);
        EXPECT_EQ(Lines(views.begin(), views.end()), c.atAnyEnd);
        EXPECT_EQ(pieces(c.text), c.pieces);
        EXPECT_EQ(splitAtLineFeeds(c.text), c.atLineFeed);
    }
}

TEST(Lines, JoinWithCrLf)
{
    struct Case {
        Lines lines;
        const char* text;
    };
    const Case cases[] = {
        {{}, ""},
        {{""}, ""},
        {{"", ""}, "\r\n"},
        {{"a"}, "a"},
        {{"a", "b"}, "a\r\nb"},
        {{"a", ""}, "a\r\n"},
        {{"a\r\n", "b"}, "a\r\n\r\nb"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(joinLines(c.lines), c.text);
    }
    // Joining then splitting at line feeds gives the lines back when the
    // last line is not empty and no line holds a line break.
    const Lines lines{"IF (%A%=1) THEN", "", "PRINT \"X\";"};
    EXPECT_EQ(splitAtLineFeeds(joinLines(lines)), lines);
}
