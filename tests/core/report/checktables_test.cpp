#include "core/report/checktables.h"

#include "core/report/fields.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

using namespace qmx;

namespace {

using Strings = std::vector<std::string>;

struct Kind {
    const char* name;
    void (*prepare)(CheckTable&);
    void (*add)(CheckTable&, std::string_view);
    size_t columns;
    const char* firstCaption;
    const char* lastCaption;
};

const Kind kKinds[] = {
    {"registry", prepareRegistryTable, addRegistryRow, 3, "Key", "Default"},
    {"files", prepareFilesTable, addFileRow, 10, "Name", "Default"},
};

Strings keys(const CheckTable& t)
{
    Strings out;
    for (const GridRow& r : t.rows)
        out.emplace_back(r.cells[0]);
    return out;
}

} // namespace

// The captions never count as a data row, however many rows the table has,
// and a second prepare starts the table over.
TEST(CheckTables, HeaderStaysApartFromDataRows)
{
    struct Case {
        Strings lines;
        Strings keys;
    };
    const Case cases[] = {
        {{}, {}},
        {{"A=REGISTRY;v;DEFAULT"}, {"A"}},
        {{"Key=REGISTRY;Key;DEFAULT", "Name=FILE;C:\\N.DLL;1;2;3;4;5;6;7;SAME", "=REGISTRY;"},
         {"Key", "Name", ""}},
    };
    for (const Kind& kind : kKinds) {
        for (const Case& c : cases) {
            CheckTable t;
            kind.prepare(t);
            kind.add(t, "Stale=REGISTRY;x;DEFAULT");
            kind.prepare(t);
            for (const std::string& line : c.lines)
                kind.add(t, line);
            SCOPED_TRACE(kind.name);
            EXPECT_EQ(t.columns, kind.columns);
            ASSERT_EQ(t.header.size(), kind.columns);
            EXPECT_EQ(t.header.front(), kind.firstCaption);
            EXPECT_EQ(t.header.back(), kind.lastCaption);
            EXPECT_EQ(keys(t), c.keys);
            for (const GridRow& r : t.rows) {
                EXPECT_EQ(r.cells.size(), kind.columns);
                EXPECT_EQ(r.colors.size(), kind.columns);
            }
        }
    }
}

// Rows added to a table that was never prepared get the kind's column count
// and no captions; finishing an empty table leaves it empty.
TEST(CheckTables, UnpreparedTableHasNoCaptions)
{
    for (const Kind& kind : kKinds) {
        SCOPED_TRACE(kind.name);
        CheckTable empty;
        EXPECT_TRUE(empty.header.empty());
        EXPECT_TRUE(empty.rows.empty());

        CheckTable t;
        kind.add(t, "K=REGISTRY;v;DEFAULT");
        kind.add(t, "L=REGISTRY;w;DEFAULT");
        EXPECT_TRUE(t.header.empty());
        EXPECT_EQ(t.columns, kind.columns);
        EXPECT_EQ(keys(t), (Strings{"K", "L"}));
    }
}

// A file row's cells read the fields in one pass; they must agree with the
// field rule taken one field at a time, for lines with fewer fields than
// columns (the last one repeats), empty fields, and ";" at either edge.
TEST(CheckTables, FileCellsAgreeWithTheFieldRule)
{
    // clang-format off
    const char* const lines[] = {
        "K=FILE;C:\\A.DLL;1;2;3;4;5;6;7;SAME", "K=FILE;C:\\A.DLL;1;2;3;4;5;6;7;SAME;extra;more",
        "K=FILE;C:\\A.DLL;1;2", "K=FILE;", "K=FILE", ";K=FILE;;;;;;;;;;", "K=FILE;a;b;c;d;e;f;g;h;",
        "",
    };
    // clang-format on
    for (const char* line : lines) {
        SCOPED_TRACE(line);
        CheckTable t;
        prepareFilesTable(t);
        addFileRow(t, line);
        ASSERT_EQ(t.rows.size(), 1u);
        for (int k = 1; k <= 9; ++k)
            EXPECT_EQ(t.rows[0].cells[static_cast<size_t>(k)], fields::fileField(line, k))
                << "field " << k;
    }
}

// Lines inside the shared report text are referred to, any other line is
// copied: rows of both kinds side by side keep their own cells, also after
// the caller's temporary line is gone.
TEST(CheckTables, SharedAndCopiedLinesKeepTheirCells)
{
    const auto text = std::make_shared<const std::string>("A=REGISTRY;inside;DEFAULT\r\n");
    CheckTable t;
    prepareRegistryTable(t);
    t.rows.shareText(text);
    t.rows.reserve(1);
    addRegistryRow(t, std::string_view(*text).substr(0, text->size() - 2));
    {
        const std::string temporary = "B=REGISTRY;outside;NON-DEFAULT";
        addRegistryRow(t, temporary);
    }
    addRegistryRow(t, "C=REGISTRY;;");
    const Strings want[] = {
        {"A", "inside", "DEFAULT"}, {"B", "outside", "NON-DEFAULT"}, {"C", "", ""}};
    ASSERT_EQ(t.rows.size(), std::size(want));
    for (size_t r = 0; r < t.rows.size(); ++r) {
        EXPECT_EQ(t.rows[r].cells.strings(), want[r]) << "row " << r;
        EXPECT_EQ(t.rows[r].cells[3], "");
        EXPECT_EQ(t.rows[r].colors[3], Colour::None);
    }
    EXPECT_EQ(t.rows[1].background, Colour::Yellow);
}

// A file is missing when its line holds "File Not Found!" anywhere: at the
// start, at the very end, after other "!" signs, or overlapping a false
// start; a near miss leaves the row as it is.
TEST(CheckTables, MissingFileWherePhraseFalls)
{
    // clang-format off
    const struct {
        const char* line;
        bool missing;
    } cases[] = {
        {"File Not Found!", true}, {"K=FILE;C:\\A.DLL;File Not Found!", true},
        {"K=FILE;!!File Not Found!;x", true}, {"K=FILE;File Not File Not Found!", true},
        {"K=FILE;File Not Found", false}, {"K=FILE;ile Not Found!", false},
        {"K=FILE;File not found!", false}, {"!", false}, {"", false},
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        EXPECT_EQ(fields::fileNotFound(c.line), c.missing);
        CheckTable t;
        prepareFilesTable(t);
        addFileRow(t, c.line);
        EXPECT_EQ(t.rows[0].background == Colour::Red, c.missing);
    }
}
