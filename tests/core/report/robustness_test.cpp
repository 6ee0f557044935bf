// Odd bytes and odd shapes of input: the store and the loader take whatever
// a file holds without crashing, hanging or losing their rules.
#include "core/report/attached.h"
#include "core/report/loader.h"
#include "core/store/bigini.h"

#include "core/util/error.h"
#include "reportgen.h"
#include "tempdir.h"

#include <gtest/gtest.h>

using namespace qmx;

namespace {

struct Doc {
    test::TempDir dir;
    ReportDocument doc;
    explicit Doc(const std::string& bytes)
    {
        const std::string path = dir.file("r.txt");
        test::writeBytes(path, bytes);
        loadall(doc, path);
    }
};

} // namespace

TEST(Robustness, NulAndHighBytes)
{
    static const char raw[] = "[S\0\xff]\r\nk\0=REGISTRY;\x80\0;DEFAULT\r\n\xe9=FILE;\0\r\n";
    const std::string bytes(raw, sizeof raw - 1);
    Doc d(bytes);
    ASSERT_EQ(d.doc.lines.size(), 3u);
    EXPECT_EQ(d.doc.lines[1].size(), 22u);
    EXPECT_EQ(d.doc.sections, (StringList{std::string("S\0\xff", 3)}));
    EXPECT_EQ(d.doc.store->ReadString(std::string("s\0\xff", 3), std::string("K\0", 2), ""),
              std::string("REGISTRY;\x80\0;DEFAULT", 19));
    ASSERT_EQ(d.doc.registry.rows.size(), 1u);
    EXPECT_EQ(d.doc.registry.rows[0].cells[1], std::string("\x80\0", 2));
    EXPECT_EQ(d.doc.textColours.size(), 3u);
}

TEST(Robustness, CtrlZEndsTheStoreButNotTheLines)
{
    Doc d("[A]\r\nk=1\r\n\x1a[B]\r\nk=REGISTRY;v;DEFAULT\r\n");
    EXPECT_EQ(d.doc.lines.size(), 4u);
    EXPECT_EQ(d.doc.sections, (StringList{"A"}));
    EXPECT_EQ(d.doc.registry.rows.size(), 1u);
}

TEST(Robustness, SingleCharacterLineEnds)
{
    Doc cr("[A]\rk=REGISTRY;v;DEFAULT\rx=NIC;card\r");
    EXPECT_EQ(cr.doc.lines.size(), 3u);
    EXPECT_EQ(cr.doc.sections, (StringList{"A"}));
    EXPECT_EQ(cr.doc.store->ReadString("A", "x", ""), "NIC;card");
    EXPECT_EQ(cr.doc.nicShown, "card");

    // LF alone ends a store line too, so the Sections page and the store's
    // look-ups agree with the report's three lines.
    Doc lf("[A]\nk=REGISTRY;v;DEFAULT\nx=NIC;card\n");
    EXPECT_EQ(lf.doc.lines.size(), 3u);
    EXPECT_EQ(lf.doc.sections, (StringList{"A"}));
    EXPECT_EQ(lf.doc.store->ReadString("a", "X", ""), "NIC;card");
    EXPECT_EQ(lf.doc.registry.rows.size(), 1u);
    EXPECT_EQ(lf.doc.textColours.size(), 2u);
}

TEST(Robustness, MegabyteLineAndLinesWithoutEquals)
{
    std::string big = "Big=FILE;C:\\" + std::string(1 << 20, 'x') + ";1;2;3;4;5;6;7;NEWER";
    Doc d("[S]\r\n" + big
          + "\r\nREGISTRY;no equals\r\n=REGISTRY;\r\nK=REGISTRY;novalue\r\nplain\r\n" + big
          + "\r\n");
    ASSERT_EQ(d.doc.lines.size(), 7u);
    ASSERT_EQ(d.doc.files.rows.size(), 2u);
    EXPECT_EQ(d.doc.files.rows[0].cells[1].size(), (1u << 20) + 3);
    EXPECT_EQ(d.doc.textColours.back().atLine, 1u);
    // "=REGISTRY;" alone: empty key, value and verdict. Data without ";":
    // the value loses its last character and the verdict is empty.
    ASSERT_EQ(d.doc.registry.rows.size(), 2u);
    EXPECT_EQ(d.doc.registry.rows[0].cells.strings(), (std::vector<std::string>{"", "", ""}));
    EXPECT_EQ(d.doc.registry.rows[1].cells.strings(),
              (std::vector<std::string>{"K", "novalu", ""}));
}

TEST(Robustness, HugeAttachedCountDoesNotLoopOverEveryNumber)
{
    // A pass per number up to the count would not end within the test's
    // time limit; the extraction must only visit the lines that exist.
    std::vector<std::string> out;
    extractAttached(
        std::vector<std::string>{"F_0=GETFILE;2147483647;a", "F_2147483647=GETFILE;2147483647;z"},
        "F", out);
    EXPECT_EQ(out, (std::vector<std::string>{"a", "z"}));
}

TEST(Robustness, ManyRepeatedAndNestedColouredLinesStayFast)
{
    // Every line a coloured line that is a prefix of the next, plus many
    // copies of short headers: a literal search would be quadratic.
    std::string text;
    std::string line = "k=FILE;";
    for (int i = 0; i < 3000; ++i) {
        line += static_cast<char>('a' + i % 3);
        text += line + "\r\n[A]\r\n";
    }
    Doc d(text);
    ASSERT_EQ(d.doc.textColours.size(), 6000u);
    EXPECT_EQ(d.doc.textColours[5999].atLine, 1u);
    EXPECT_EQ(d.doc.textColours[2].atLine, 2u);
}

// The window stops a load by throwing from the pump. Whichever call throws
// (the first, one inside a step, the last), the exception comes out of the
// load, the document is not marked loaded, and the same document loads
// again afterwards as if nothing had happened.
TEST(Robustness, PumpThrowingStopsTheLoadAnywhere)
{
    struct Stop {};
    bench::ReportShape shape;
    shape.lines = 30000;
    const std::string text = bench::generateReport(shape);
    ReportDocument whole;
    int calls = 0;
    LoadOptions counting;
    counting.pump = [&] { ++calls; };
    loadReportText(whole, "r.txt", text, counting);
    ASSERT_GT(calls, 20);

    for (const int at : {1, 2, 3, calls / 3, calls / 2, calls - 1, calls}) {
        SCOPED_TRACE("throw at call " + std::to_string(at) + " of " + std::to_string(calls));
        ReportDocument doc;
        int n = 0;
        LoadOptions options;
        options.pump = [&] {
            if (++n == at)
                throw Stop{};
        };
        EXPECT_THROW(loadReportText(doc, "r.txt", text, options), Stop);
        EXPECT_FALSE(doc.loaded);
        loadReportText(doc, "r.txt", text);
        EXPECT_TRUE(doc.loaded);
        EXPECT_EQ(doc.variables.toVector(), whole.variables.toVector());
        EXPECT_EQ(doc.registry.rows.size(), whole.registry.rows.size());
    }
}
