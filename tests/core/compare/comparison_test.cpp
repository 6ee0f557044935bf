#include "core/compare/comparison.h"

#include "comparegen.h"
#include "compareliteral.h"

#include <gtest/gtest.h>

#include <memory>
#include <random>

using namespace qmx;

namespace {

// Reports held in memory. A null text stands for a window whose file was
// missing: no store, no sections.
class Reports {
public:
    explicit Reports(const std::vector<const char*>& texts)
    {
        for (const char* t : texts) {
            stores_.push_back(t ? std::make_unique<TBigIniFile>("", std::string(t)) : nullptr);
            sections_.emplace_back();
            if (t)
                stores_.back()->ReadSections(sections_.back());
        }
    }
    CompareReport report(size_t i) const
    {
        return stores_[i] ? CompareReport{stores_[i].get(), &sections_[i]} : CompareReport{};
    }
    // One column per report, headed "R1", "R2", ...
    std::vector<CompareColumn> columns() const
    {
        std::vector<CompareColumn> out;
        for (size_t i = 0; i < stores_.size(); ++i)
            out.push_back({std::string("R").append(std::to_string(i + 1)), {report(i)}});
        return out;
    }

private:
    std::vector<std::unique_ptr<TBigIniFile>> stores_;
    std::vector<StringList> sections_;
};

// A row as "KEY|cell,cell|marks" with marks one letter a cell: r red,
// b blue, x both, . neither.
std::vector<std::string> describe(const ComparisonGrid& g)
{
    std::vector<std::string> out;
    for (size_t r = 0; r < g.rowCount(); ++r) {
        std::string s = g.key(r), marks;
        s += '|';
        for (size_t c = 0; c < g.columnCount(); ++c) {
            if (c)
                s += ',';
            s.append(g.cell(r, c));
            marks += g.red(r, c) ? (g.blue(r, c) ? 'x' : 'r') : (g.blue(r, c) ? 'b' : '.');
        }
        s += '|';
        out.push_back(s.append(marks));
    }
    return out;
}

struct GridCase {
    const char* name;
    std::vector<const char*> reports;
    Baseline baseline;
    std::vector<std::string> rows;
};

const GridCase kCases[] = {
    {"one report: every row, no red, empty values on blue",
     {"[S]\r\nA=1\r\nB=\r\n[T]\r\nC=TAG;x\r\n"},
     Baseline::First,
     {"S;A|1|.", "S;B||b", "T;C|TAG;x|."}},
    {"key only in the second report comes last, red on its column",
     {"[S]\r\nA=1\r\n", "[S]\r\nA=1\r\nK=v\r\n"},
     Baseline::First,
     {"S;A|1,1|..", "S;K|,v|br"}},
    {"values differing only in case are red",
     {"[S]\r\nA=ON\r\n", "[S]\r\nA=On\r\n"},
     Baseline::First,
     {"S;A|ON,On|.r"}},
    {"reports 2 and 3 agree against report 1: both red",
     {"[S]\r\nA=1\r\n", "[S]\r\nA=2\r\n", "[S]\r\nA=2\r\n"},
     Baseline::First,
     {"S;A|1,2,2|.rr"}},
    {"no sections at all: no rows", {"", "no section header\r\n"}, Baseline::First, {}},
    {"missing report: empty column on blue, red where the first has a value",
     {"[S]\r\nA=1\r\nE=\r\n", nullptr},
     Baseline::First,
     {"S;A|1,|.x", "S;E|,|bb"}},
    {"keys differing only in case get two rows, each looked up case-blind",
     {"[S]\r\nkey=a\r\n", "[s]\r\nKEY=b\r\n"},
     Baseline::First,
     {"S;key|a,b|.r", "s;KEY|a,b|.r"}},
    {"duplicate keys: one row, the first entry's value",
     {"[S]\r\nA=1\r\nA=2\r\n"},
     Baseline::First,
     {"S;A|1|."}},
    {"the whole value after the first =, tag and further = and ; kept",
     {"[S]\r\nA=REG;x=y;z\r\n", "[S]\r\nA= REG;x=y;z\r\n"},
     Baseline::First,
     {"S;A|REG;x=y;z, REG;x=y;z|.r"}},
    {"a line without = is a row with an empty key and an empty value",
     {"[S]\r\n;note\r\n"},
     Baseline::First,
     {"S;||b"}},
    {"a key holding ; keeps its text after the first ;",
     {"[S]\r\n;a=b\r\nx;y;z=v\r\n"},
     Baseline::First,
     {"S;;a|b|.", "S;x;y;z|v|."}},
    {"a section holding ; meets a key holding ;: one row, split at the first ;",
     {"[A;B]\r\nC=v\r\n[A]\r\nB;C=w\r\n"},
     Baseline::First,
     {"A;B;C|w|."}},
    {"look-alike keys _01 and _1 are separate rows",
     {"[S]\r\nF_1=a\r\nF_01=b\r\n", "[S]\r\nF_01=a\r\nF_1=b\r\n"},
     Baseline::First,
     {"S;F_1|a,b|.r", "S;F_01|b,a|.r"}},
    {"values shared with an earlier column, or a prefix of it, keep their own text",
     {"[S]\r\nA=ab\r\nB=x\r\n", "[S]\r\nA=a\r\nB=x\r\n", "[S]\r\nA=ab\r\nB=xy\r\n",
      "[S]\r\nA=ab\r\nB=xy\r\n"},
     Baseline::First,
     {"S;A|ab,a,ab,ab|.r..", "S;B|x,x,xy,xy|..rr"}},
    {"majority: the odd one out is red, the first column included",
     {"[S]\r\nA=1\r\nB=x\r\n", "[S]\r\nA=2\r\nB=x\r\n", "[S]\r\nA=2\r\nB=x\r\n"},
     Baseline::Majority,
     {"S;A|1,2,2|r..", "S;B|x,x,x|..."}},
    {"majority tie: the earliest column's value wins",
     {"[S]\r\nA=1\r\n", "[S]\r\nA=2\r\n", "[S]\r\nA=2\r\n", "[S]\r\nA=1\r\n"},
     Baseline::Majority,
     {"S;A|1,2,2,1|.rr."}},
    {"majority: an empty value counts like any other",
     {"[S]\r\nA=1\r\n", "[S]\r\nB=1\r\n", "[S]\r\nB=1\r\n"},
     Baseline::Majority,
     {"S;A|1,,|rbb", "S;B|,1,1|x.."}},
};

} // namespace

TEST(Comparison, GridCases)
{
    for (const GridCase& c : kCases) {
        const Reports reports(c.reports);
        const ComparisonGrid grid = compareReports(reports.columns(), c.baseline);
        EXPECT_EQ(describe(grid), c.rows) << c.name;
        size_t differing = 0;
        for (size_t r = 0; r < grid.rowCount(); ++r)
            differing += grid.differs(r) ? 1 : 0;
        EXPECT_EQ(grid.differingRows(), differing) << c.name;
    }
}

TEST(Comparison, ColumnsWithSeveralOrNoReports)
{
    const Reports reports({"[S]\r\nA=1\r\n", "[S]\r\nB=2\r\n", nullptr});
    struct Case {
        const char* name;
        std::vector<std::vector<size_t>> columns; // reports of each column
        std::vector<std::string> rows;
    };
    const Case cases[] = {
        {"rows from both reports of a column, values from the later",
         {{0, 1}},
         {"S;A||b", "S;B|2|."}},
        {"a later missing report empties the column", {{0, 2}, {0}}, {"S;A|,1|br"}},
        {"a column that no report carries is empty", {{}, {1}}, {"S;B|,2|br"}},
        {"the same report in two columns agrees with itself", {{0}, {0}}, {"S;A|1,1|.."}},
    };
    for (const Case& c : cases) {
        std::vector<CompareColumn> columns;
        for (const auto& ids : c.columns) {
            columns.push_back({"H", {}});
            for (size_t i : ids)
                columns.back().reports.push_back(reports.report(i));
        }
        EXPECT_EQ(describe(compareReports(columns)), c.rows) << c.name;
    }
}

TEST(Comparison, MarkSwitchesBaselineInPlace)
{
    const Reports reports(
        {"[S]\r\nA=1\r\nB=1\r\n", "[S]\r\nA=2\r\nB=1\r\n", "[S]\r\nA=2\r\nB=1\r\n"});
    ComparisonGrid grid = compareReports(reports.columns());
    EXPECT_EQ(describe(grid), (std::vector<std::string>{"S;A|1,2,2|.rr", "S;B|1,1,1|..."}));
    grid.mark(Baseline::Majority);
    EXPECT_EQ(grid.baseline(), Baseline::Majority);
    EXPECT_EQ(describe(grid), (std::vector<std::string>{"S;A|1,2,2|r..", "S;B|1,1,1|..."}));
    EXPECT_EQ(grid.differingRows(), 1u);
}

TEST(Comparison, CsvQuotesOnlyWhereNeeded)
{
    const Reports reports({"[S]\r\nA=plain\r\nB=a,b\r\nC=\"q\"\r\nD=,\r\n",
                           "[S]\r\nA=plain\r\nB=a,b\r\nC=\"q\"\r\nD=\r\n"});
    auto columns = reports.columns();
    // Report values cannot hold a line end; headers can.
    columns[0].header = "C:\\r,1.txt";
    columns[1].header = "R\n2\r";
    const ComparisonGrid grid = compareReports(columns);
    const auto same = [](std::string_view s) { return std::string(s); };
    const std::string header = ",\"C:\\r,1.txt\",\"R\n2\r\"\r\n";
    EXPECT_EQ(comparisonCsv(grid, false, same), header
                                                    + "S;A,plain,plain\r\n"
                                                      "S;B,\"a,b\",\"a,b\"\r\n"
                                                      "S;C,\"\"\"q\"\"\",\"\"\"q\"\"\"\r\n"
                                                      "S;D,\",\",\r\n");
    EXPECT_EQ(comparisonCsv(grid, true, same), header + "S;D,\",\",\r\n");
    const auto marked = [](std::string_view s) { return "<" + std::string(s) + ">"; };
    EXPECT_EQ(comparisonCsv(grid, true, marked), header + "<S;D>,\"<,>\",<>\r\n");
}

namespace {

// A random report from a small alphabet, so that sections and keys collide
// often, differ only in case, repeat, hold the separator, or have no value.
std::string randomReport(std::mt19937& rng)
{
    static const char* const sections[] = {"A", "a", "B", "A;B", "", "b;"};
    static const char* const keys[] = {"k", "K", "k;x", "", "j", "J", "x;y;z", "F_1", "F_01"};
    static const char* const values[] = {"", "1", "ON", "On", "TAG;v", "a=b", " 1"};
    std::string text;
    const int sectionCount = static_cast<int>(rng() % 5);
    for (int s = 0; s < sectionCount; ++s) {
        text += std::string("[") + sections[rng() % 6] + "]\r\n";
        const int lines = static_cast<int>(rng() % 6);
        for (int l = 0; l < lines; ++l) {
            if (rng() % 10 == 0) {
                text += ";note\r\n";
                continue;
            }
            text += std::string(keys[rng() % 9]) + "=" + values[rng() % 7] + "\r\n";
        }
    }
    return text;
}

// The literal grid against the fast one, marks included; the majority marks
// against a plain count.
void expectSameGrid(const bench::LiteralGrid& lit, const ComparisonGrid& fast,
                    const std::string& where)
{
    ASSERT_EQ(lit.cells.size(), fast.columnCount() + 1) << where;
    ASSERT_EQ(lit.cells[0].size(), fast.rowCount() + 1) << where;
    for (size_t r = 0; r < fast.rowCount(); ++r) {
        ASSERT_EQ(lit.cells[0][r + 1], fast.key(r)) << where;
        for (size_t c = 0; c < fast.columnCount(); ++c) {
            ASSERT_EQ(lit.cells[c + 1][r + 1], fast.cell(r, c)) << where << " row " << r;
            ASSERT_EQ(lit.red[c + 1][r + 1], fast.red(r, c)) << where << " row " << r;
            ASSERT_EQ(lit.blue[c + 1][r + 1], fast.blue(r, c)) << where << " row " << r;
        }
    }
}

void expectMajorityMarks(const ComparisonGrid& g, const std::string& where)
{
    for (size_t r = 0; r < g.rowCount(); ++r) {
        std::string best;
        size_t bestCount = 0;
        for (size_t c = 0; c < g.columnCount(); ++c) {
            size_t n = 0;
            for (size_t d = 0; d < g.columnCount(); ++d)
                n += g.cell(r, d) == g.cell(r, c);
            if (n > bestCount)
                best = std::string(g.cell(r, c)), bestCount = n;
        }
        for (size_t c = 0; c < g.columnCount(); ++c)
            ASSERT_EQ(g.red(r, c), g.cell(r, c) != best) << where << " row " << r;
    }
}

} // namespace

TEST(Comparison, FastMergeMatchesLiteralOnRandomReports)
{
    std::mt19937 rng(20261208);
    for (int round = 0; round < 400; ++round) {
        std::vector<std::string> texts;
        const size_t n = 1 + rng() % 4;
        for (size_t i = 0; i < n; ++i)
            texts.push_back(randomReport(rng));
        std::vector<const char*> ptrs;
        for (const auto& t : texts)
            ptrs.push_back(rng() % 8 == 0 ? nullptr : t.c_str());
        const Reports reports(ptrs);
        // Columns carrying one, two or no reports, reports reused.
        std::vector<CompareColumn> columns;
        for (size_t c = 0; c < n; ++c) {
            columns.push_back({std::string("H").append(std::to_string(c)), {reports.report(c)}});
            if (rng() % 5 == 0)
                columns.back().reports.push_back(reports.report(rng() % n));
            if (rng() % 10 == 0)
                columns.back().reports.clear();
        }
        const std::string where = std::string("round ").append(std::to_string(round));
        ComparisonGrid fast = compareReports(columns);
        expectSameGrid(bench::literalCompare(columns), fast, where);
        fast.mark(Baseline::Majority);
        expectMajorityMarks(fast, where);
    }
}

TEST(Comparison, FastMergeMatchesLiteralOnAGeneratedSite)
{
    bench::CompareSetShape shape;
    shape.reports = 4;
    shape.keys = 1500;
    shape.keysPerSection = 40;
    const auto texts = bench::generateCompareSet(shape);
    std::vector<const char*> ptrs;
    for (const auto& t : texts)
        ptrs.push_back(t.c_str());
    const Reports reports(ptrs);
    const ComparisonGrid fast = compareReports(reports.columns());
    EXPECT_GT(fast.differingRows(), 0u);
    EXPECT_LT(fast.differingRows(), fast.rowCount());
    expectSameGrid(bench::literalCompare(reports.columns()), fast, "generated");
}
