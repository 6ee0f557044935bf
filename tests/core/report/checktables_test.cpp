#include "core/report/checktables.h"

#include "core/report/fields.h"

#include <gtest/gtest.h>

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
    const char* const lines[] = {
        "K=FILE;C:\\A.DLL;1;2;3;4;5;6;7;SAME",
        "K=FILE;C:\\A.DLL;1;2;3;4;5;6;7;SAME;extra;more",
        "K=FILE;C:\\A.DLL;1;2",
        "K=FILE;",
        "K=FILE",
        ";K=FILE;;;;;;;;;;",
        "K=FILE;a;b;c;d;e;f;g;h;",
        "",
    };
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
