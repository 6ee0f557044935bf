#include "core/util/text.h"

#include <gtest/gtest.h>

using namespace qmx;

TEST(Text, IntegerConversionForms)
{
    EXPECT_EQ(toInt32("123"), 123);
    EXPECT_EQ(toInt32("-5"), -5);
    EXPECT_EQ(toInt32("+7"), 7);
    EXPECT_EQ(toInt32("$1F"), 31);
    EXPECT_EQ(toInt32("x1f"), 31);
    EXPECT_EQ(toInt32("0X1F"), 31);
    EXPECT_EQ(toInt32("$FFFFFFFF"), -1);
    EXPECT_EQ(toInt32("2147483647"), 2147483647);
    EXPECT_EQ(toInt32("-2147483648"), INT32_MIN);
    EXPECT_FALSE(toInt32("2147483648"));
    EXPECT_FALSE(toInt32("$123456789"));
    EXPECT_FALSE(toInt32(""));
    EXPECT_FALSE(toInt32("-"));
    EXPECT_FALSE(toInt32("$"));
    EXPECT_FALSE(toInt32(" 1"));
    EXPECT_FALSE(toInt32("1 "));
    EXPECT_FALSE(toInt32("12abc"));
    EXPECT_FALSE(toInt32("10.1"));
}

TEST(Text, CaseRules)
{
    EXPECT_EQ(upperAscii("abc\xe9"), "ABC\xe9");
    EXPECT_EQ(upperCp1252("abc\xe9\xff\x9a"), "ABC\xc9\x9f\x8a");
    EXPECT_EQ(upperCp1252("\xf7"), "\xf7");
    EXPECT_TRUE(equalsNoCase("Setup", "SETUP"));
    EXPECT_TRUE(equalsNoCase("\xe9t\xe9", "\xc9T\xc9"));
    EXPECT_FALSE(equalsNoCase("a", "ab"));
    EXPECT_LT(compareNoCase("abc", "ABD"), 0);
    EXPECT_EQ(compareNoCase("abc", "ABC"), 0);
    EXPECT_GT(compareNoCase("abcd", "ABC"), 0);
}

TEST(Text, TrimRemovesControlCharacters)
{
    EXPECT_EQ(trim(" \t\r\n x y \x01"), "x y");
    EXPECT_EQ(trim("\x1f\x20"), "");
    EXPECT_EQ(trim("\xa0x\xa0"), "\xa0x\xa0");
}

// The standard conversion and the INI store's, side by side.
TEST(Text, IntegerConversionOfTheStore)
{
    struct Case {
        const char* text;
        std::optional<int32_t> standard, store;
    };
    const std::optional<int32_t> none;
    const Case cases[] = {
        {"12", 12, 12},
        {" 12", none, 12},
        {"  -12", none, -12},
        {"\t12", none, none},
        {"12 ", none, none},
        {"$7FFFFFFF", INT32_MAX, INT32_MAX},
        {"$FFFFFFFF", -1, -1},
        {"$100000000", none, none},
        {"$00000001F", none, 31},
        {"-$1", -1, -1},
        {"x1F", 31, none},
        {"0X1F", 31, none},
        {"-0x1F", -31, none},
        {"$", none, none},
        {" ", none, none},
        {"2147483647", INT32_MAX, INT32_MAX},
        {"2147483648", none, none},
        {"-2147483648", INT32_MIN, INT32_MIN},
        {"-2147483649", none, none},
        {"007", 7, 7},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(toInt32(c.text), c.standard);
        EXPECT_EQ(toInt32(c.text, kStoreIntegers), c.store);
    }
}
