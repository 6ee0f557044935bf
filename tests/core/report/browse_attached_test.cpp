#include "core/report/attached.h"
#include "core/report/browse.h"

#include "core/util/error.h"

#include <gtest/gtest.h>

using namespace qmx;

namespace {

using Lines = std::vector<std::string>;

Lines extract(const Lines& report, const std::string& name)
{
    Lines out;
    extractAttached(report, name, out);
    return out;
}

} // namespace

TEST(SectionBrowser, SectionsKeysAndValues)
{
    const TBigIniFile store(
        "", "[Files]\r\nA=FILE;C:\\X;123\r\n;note\r\nB=plain\r\n[Other]\r\nk=v\r\n");
    SectionBrowser b;
    b.currentValue = "kept";
    b.chooseSection(store, "files");
    EXPECT_EQ(b.chosenSection, "files");
    EXPECT_EQ(b.keys, (StringList{"A", "", "B"}));
    EXPECT_EQ(b.allKeys, (StringList{"A=FILE;C:\\X;123", ";note", "B=plain"}));
    EXPECT_EQ(b.keysLabel, "Keys: 3");
    EXPECT_EQ(b.currentValue, "kept");

    b.chooseKey(store, "a");
    EXPECT_EQ(b.currentValue, "C:\\X;123");
    b.chooseKey(store, "B");
    EXPECT_EQ(b.currentValue, "plain");
    b.chooseKey(store, "absent");
    EXPECT_EQ(b.currentValue, "");

    // A section the store lacks empties both lists.
    b.chooseSection(store, "nowhere");
    EXPECT_TRUE(b.keys.empty());
    EXPECT_TRUE(b.allKeys.empty());
    EXPECT_EQ(b.keysLabel, "Keys: 0");

    // loadasection fills the Keys list only.
    b.chooseSection(store, "Files");
    b.loadasection(store, "Other");
    EXPECT_EQ(b.keys, (StringList{"k"}));
    EXPECT_EQ(b.chosenSection, "Files");
    EXPECT_EQ(b.keysLabel, "Keys: 3");
    EXPECT_EQ(LoadaValue(store, "FILES", "a"), "FILE;C:\\X;123");
    EXPECT_EQ(LoadaValue(store, "Files", "zz"), "");
}

TEST(AttachedFiles, RebuildsLinesInOrder)
{
    const Lines report = {"[A]", "F_0=GETFILE;2;a", "F_1=GETFILE;2;b", "x=1", "F_2=GETFILE;2;"};
    EXPECT_EQ(extract(report, "F"), (Lines{"a", "b", ""}));
    // No first line: a count of 0, and only lines numbered 0 exist to take.
    EXPECT_EQ(extract(report, "G"), Lines{});
    EXPECT_EQ(extract({"G_1=GETFILE;0;x"}, "G"), Lines{});
}

TEST(AttachedFiles, MissingFileAndBadCounts)
{
    EXPECT_EQ(extract({"F_0=GETFILE;FILE NOT FOUND"}, "F"), Lines{"FILE NOT FOUND!!!"});
    EXPECT_EQ(extract({"F_0=GETFILE;FILE NOT FOUND;extra"}, "F"), Lines{"FILE NOT FOUND!!!"});

    Lines out;
    try {
        extractAttached(Lines{"F_0=GETFILE;FILE NOT FOUND", "F_0=GETFILE;two;x"}, "F", out);
        FAIL() << "expected an error";
    } catch (const Error& e) {
        EXPECT_STREQ(e.what(), "'two' is not a valid integer value");
    }
    EXPECT_EQ(out, Lines{"FILE NOT FOUND!!!"});
    EXPECT_THROW(extract({"F_0=GETFILE;"}, "F"), Error);
    EXPECT_THROW(extract({"F_0=GETFILE; 1;a"}, "F"), Error);
}

TEST(AttachedFiles, SubstringMatchingRules)
{
    // F_1 is not a substring of F_10; XF_1 does contain F_1.
    Lines report;
    for (int k = 0; k <= 10; ++k)
        report.push_back("F_" + std::to_string(k) + "=GETFILE;10;L" + std::to_string(k));
    report.push_back("XF_1=GETFILE;3;other");
    const Lines out = extract(report, "F");
    ASSERT_EQ(out.size(), 12u);
    EXPECT_EQ(out[1], "L1");
    EXPECT_EQ(out[2], "other"); // cut by the length of F_1=GETFILE;10; from the line's start
    EXPECT_EQ(out[11], "L10");

    // Hexadecimal count: the cut uses the count written back in decimal.
    EXPECT_EQ(extract({"F_0=GETFILE;$0A;zero", "F_10=GETFILE;$0A;ten"}, "F"),
              (Lines{";zero", ";ten"}));

    // A file attached twice: copies interleave by line number; the last
    // first line gives the count.
    EXPECT_EQ(extract({"T_0=GETFILE;1;a0", "T_1=GETFILE;1;a1", "T_0=GETFILE;2;b0",
                       "T_1=GETFILE;2;b1", "T_2=GETFILE;2;b2"},
                      "T"),
              (Lines{"a0", "b0", "a1", "b1", "b2"}));

    // A first line inside another line still counts, and the text is cut
    // from the start of the line that holds it.
    EXPECT_EQ(extract({"I_0=GETFILE;1;a", "H_3=GETFILE;9;I_1=GETFILE;1;inside",
                       "H_4=GETFILE;9;I_0=GETFILE;0;x"},
                      "I"),
              (Lines{"a", "I_0=GETFILE;0;x", "I_1=GETFILE;1;inside"}));
}

// Lines holding several tags of the file give one line each, under their
// leftmost tag that is a line of the file.
TEST(AttachedFiles, LinesHoldingSeveralTags)
{
    std::string manyTags = "W_0=GETFILE;3999;";
    for (int k = 0; k < 4000; ++k)
        manyTags += "W_" + std::to_string(k) + "=GETFILE;";
    struct Case {
        const char* name;
        Lines report;
        std::string file;
        Lines expected;
    };
    // clang-format off
    const Case cases[] = {
        {"two numbers in one line", {"M_0=GETFILE;1;M_1=GETFILE;"}, "M", {"M_1=GETFILE;"}},
        {"a file line quoting a later tag of its file",
         {"F_0=GETFILE;2;a", "F_1=GETFILE;2;F_2=GETFILE;b", "F_2=GETFILE;2;c"}, "F",
         {"a", "F_2=GETFILE;b", "c"}},
        {"the leftmost tag past the count gives way to the next",
         {"F_0=GETFILE;1;a", "F_9=GETFILE;1;x F_1=GETFILE;b"}, "F", {"a", "x F_1=GETFILE;b"}},
        {"a name holding the separator twice, and a look-alike number",
         {"A_B_0=GETFILE;1;x", "A_B_01=GETFILE;1;z", "A_B_1=GETFILE;1;y A_B_0=GETFILE;"}, "A_B",
         {"x", "y A_B_0=GETFILE;"}},
        {"thousands of tags in one line", {manyTags}, "W", {manyTags.substr(17)}},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(extract(c.report, c.file), c.expected);
    }
}
