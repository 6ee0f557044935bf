#include "core/util/cp1252.h"

#include <gtest/gtest.h>

using namespace qmx;

TEST(Cp1252, EveryByteSurvivesTheRoundTrip)
{
    for (int b = 0; b < 256; ++b) {
        const char16_t u = cp1252ToUnicode(static_cast<unsigned char>(b));
        EXPECT_EQ(static_cast<unsigned char>(unicodeToCp1252(u)), b) << b;
    }
}

TEST(Cp1252, CharactersAndUtf8AtTheEdges)
{
    struct Case {
        unsigned char byte;
        char16_t unicode;
        const char* utf8;
    };
    const Case cases[] = {
        {0x00, 0x0000, "\x00"},         {0x7F, 0x007F, "\x7F"},
        {0x80, 0x20AC, "\xE2\x82\xAC"}, // first of the special block
        {0x81, 0x0081, "\xC2\x81"},     // undefined: the C1 control
        {0x8A, 0x0160, "\xC5\xA0"},     {0x9D, 0x009D, "\xC2\x9D"},
        {0x9F, 0x0178, "\xC5\xB8"}, // last of the special block
        {0xA0, 0x00A0, "\xC2\xA0"}, // first Latin-1 byte after it
        {0xFF, 0x00FF, "\xC3\xBF"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.byte));
        EXPECT_EQ(cp1252ToUnicode(c.byte), c.unicode);
        const std::string in(1, static_cast<char>(c.byte));
        const std::string expected = c.byte == 0 ? std::string(1, '\0') : std::string(c.utf8);
        EXPECT_EQ(toUtf8(in), expected);
    }
}

TEST(Cp1252, CharactersOutsideBecomeQuestionMarks)
{
    for (const char32_t u : {char32_t(0x0100), char32_t(0x20AD), char32_t(0x4E2D), char32_t(0xD800),
                             char32_t(0x1F600)})
        EXPECT_EQ(unicodeToCp1252(u), '?') << static_cast<uint32_t>(u);
    // The Latin-1 characters the special block replaces are outside too.
    EXPECT_EQ(unicodeToCp1252(0x0080), '?');
    EXPECT_EQ(unicodeToCp1252(0x009F), '?');
}

TEST(Cp1252, AppendKeepsWhatIsThere)
{
    std::string out = "x:";
    appendUtf8(out, "a\x80"
                    "b");
    EXPECT_EQ(out, "x:a\xE2\x82\xAC"
                   "b");
    EXPECT_EQ(toUtf8(""), "");
}
