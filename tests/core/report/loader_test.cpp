#include "core/report/loader.h"

#include "core/util/error.h"
#include "reference.h"
#include "tempdir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

using namespace qmx;

namespace {

const std::string kBasic = std::string(QMX_TEST_DATA) + "/report_basic.txt";

struct Loaded {
    ReportDocument doc;
    CountingProgress progress;
    int pumps = 0;
    int rulesRuns = 0;
    explicit Loaded(const std::string& path)
    {
        LoadOptions o;
        o.progress = &progress;
        o.pump = [this] { ++pumps; };
        o.runRules = [this](ReportDocument& d) {
            ++rulesRuns;
            EXPECT_FALSE(d.loaded);
            d.suggestions.push_back("ran");
        };
        loadall(doc, path, o);
    }
};

struct Row {
    std::vector<std::string> cells;
    Colour background = Colour::None;
    std::vector<Colour> colors;
};

Row row(const CheckTable& t, const std::string& key)
{
    for (const GridRow& r : t.rows)
        if (r.cells[0] == key)
            return {r.cells.strings(), r.background, r.colors.values()};
    ADD_FAILURE() << "no row " << key;
    return {};
}

using C = Colour;

} // namespace

TEST(Loader, FixedVariablesGeneralAndLists)
{
    Loaded l(kBasic);
    const ReportDocument& d = l.doc;
    ASSERT_TRUE(d.loaded);
    EXPECT_EQ(d.path, kBasic);
    ASSERT_EQ(d.lines.size(), 43u);
    EXPECT_EQ(l.progress.maximum(), 43 + 33);
    EXPECT_EQ(l.progress.position(), 43 + 33);
    // Between the steps of the load; within a step only every few thousand
    // lines, which this small report does not reach.
    EXPECT_GE(l.pumps, 3);
    EXPECT_EQ(l.rulesRuns, 1);
    EXPECT_EQ(d.suggestions, std::vector<std::string>{"ran"});

    const auto v = d.variables.toVector();
    ASSERT_GT(v.size(), 24u);
    EXPECT_EQ(v[0], "%CURRENTDATE%=08/12/2026");
    EXPECT_EQ(v[3], "%OSVERSION%=Windows 98;4.10.1998");
    EXPECT_EQ(v[8], "%MESSAGE%=");
    EXPECT_EQ(v[11], "%OWNER%=Accounts");
    EXPECT_EQ(v[21], "%TIMEZONE%=GMT+1");
    EXPECT_EQ(v[22], "%OWNER%=Accounts");
    EXPECT_EQ(v[23], "%OS%=WIN98");

    EXPECT_EQ(d.general.date, "08/12/2026");
    EXPECT_EQ(d.general.os, "Windows 98;4.10.1998");
    EXPECT_EQ(d.general.cpu, "Pentium II");
    EXPECT_EQ(d.general.uptime, "3 days");

    // Sections come from the store: the repeated [Registry] is gone.
    EXPECT_EQ(d.sections, (StringList{"General", "Network", "Registry", "Multi", "Files",
                                      "Attached", "[odd]=FILE;x"}));
    EXPECT_EQ(d.sectionsLabel, "Sections: 7");
    EXPECT_EQ(d.nics, (StringList{"Intel EtherExpress", "3Com EtherLink;rev 2"}));
    EXPECT_EQ(d.nicShown, "3Com EtherLink;rev 2");
    EXPECT_EQ(d.attached, (StringList{"AUTOEXEC", "GONE"}));
    EXPECT_EQ(d.store->ReadString("registry", "MISS", ""),
              "REGISTRY;Registry Key/Value not found;MISSING");
}

TEST(Loader, LineVariables)
{
    Loaded l(kBasic);
    const auto v = l.doc.variables.toVector();
    auto has = [&](const std::string& e) { return std::find(v.begin(), v.end(), e) != v.end(); };
    auto index = [&](const std::string& e) { return std::find(v.begin(), v.end(), e) - v.begin(); };

    EXPECT_TRUE(has("%REGISTRY:Run:VALUE%=a;b"));
    EXPECT_TRUE(has("%REGISTRY:Run:DEFAULT%=DEFAULT"));
    // An attached line holding a registry tag counts as a registry line.
    EXPECT_TRUE(has("%REGISTRY:AUTOEXEC_1:VALUE%=2;Inner=REGISTRY;x"));

    EXPECT_TRUE(has("%REGISTRY_MULTIVALUE:Proto:ALL_VALUES%=A=1;B=2;C=3"));
    EXPECT_LT(index("%REGISTRY_MULTIVALUE:Proto:ALL_VALUES%=A=1;B=2;C=3"),
              index("%REGISTRY_MULTIVALUE:Proto:A%=1"));
    EXPECT_LT(index("%REGISTRY_MULTIVALUE:Proto:B%=2"), index("%REGISTRY_MULTIVALUE:Proto:C%=3"));
    EXPECT_TRUE(has("%REGISTRY_MULTIVALUE:Other:ALL_VALUES%=Solo"));
    EXPECT_TRUE(has("%REGISTRY_MULTIVALUE:Other:Solo%=Solo"));

    EXPECT_TRUE(has("%FILE:F:NAME%=F"));
    EXPECT_TRUE(has("%FILE:F:FULLNAME%=C:\\X.DLL"));
    EXPECT_FALSE(has("%FILE:F:SIZE%=File Not Found!"));
    EXPECT_TRUE(has("%FILE:New:DEFAULT%=NEWER"));
    EXPECT_TRUE(has("%FILE:New:INTERNALFILEVERSION%=4.0.1"));
    // Missing fields repeat the last one present.
    EXPECT_TRUE(has("%FILE:Short:SIZE%=7"));
    EXPECT_TRUE(has("%FILE:Short:DEFAULT%=7"));
}

TEST(Loader, TextColoursUseFirstOccurrence)
{
    Loaded l(kBasic);
    const auto& tc = l.doc.textColours;
    auto at = [&](size_t line) -> TextColour {
        for (const TextColour& c : tc)
            if (c.line == line)
                return c;
        ADD_FAILURE() << "line " << line << " not coloured";
        return {};
    };
    EXPECT_EQ(at(1).color, C::Red);
    EXPECT_EQ(at(1).atLine, 1u);
    EXPECT_EQ(at(16).color, C::Green);
    EXPECT_EQ(at(24).color, C::Green); // multi-value
    EXPECT_EQ(at(29).color, C::Blue);
    EXPECT_EQ(at(39).color, C::Red); // a header, whatever it holds
    EXPECT_EQ(at(22).atLine, 16u);   // duplicate registry line
    EXPECT_EQ(at(40).atLine, 15u);   // repeated [Registry]
    const TextColour inner = at(41); // found inside an attached line
    EXPECT_EQ(inner.atLine, 36u);
    EXPECT_EQ(inner.column, 21u);
    EXPECT_EQ(inner.length, l.doc.lines[41].size());
    // Plain, NIC and GETFILE lines are not coloured; order is report order.
    for (size_t i = 1; i < tc.size(); ++i)
        EXPECT_LT(tc[i - 1].line, tc[i].line);
    EXPECT_EQ(tc.size(), 27u);
}

TEST(Loader, CheckTableRows)
{
    Loaded l(kBasic);
    const CheckTable& reg = l.doc.registry;
    ASSERT_EQ(reg.rows.size(), 10u);
    EXPECT_EQ(reg.header, (std::vector<std::string>{"Key", "Value", "Default"}));

    Row r = row(reg, "Run");
    EXPECT_EQ(r.cells, (std::vector<std::string>{"Run", "a;b", "DEFAULT"}));
    EXPECT_EQ(r.background, C::White);
    EXPECT_EQ(r.colors, (std::vector<C>{C::Black, C::Black, C::Green}));

    r = row(reg, "Miss");
    EXPECT_EQ(r.background, C::Red);
    EXPECT_EQ(r.colors, (std::vector<C>{C::None, C::None, C::None}));
    // A known verdict replaces the red background.
    r = row(reg, "MissBlank");
    EXPECT_EQ(r.background, C::White);
    EXPECT_EQ(r.colors, (std::vector<C>{C::Black, C::Black, C::Black}));
    r = row(reg, "Non");
    EXPECT_EQ(r.background, C::Yellow);
    EXPECT_EQ(r.colors, (std::vector<C>{C::Black, C::Black, C::Black}));
    r = row(reg, "Assumed");
    EXPECT_EQ(r.background, C::White);
    EXPECT_EQ(r.colors, (std::vector<C>{C::Black, C::Black, C::Blue}));
    r = row(reg, "Lower");
    EXPECT_EQ(r.background, C::None);
    EXPECT_EQ(r.colors, (std::vector<C>{C::None, C::None, C::None}));

    const CheckTable& files = l.doc.files;
    ASSERT_EQ(files.rows.size(), 5u);
    ASSERT_EQ(files.header.size(), 10u);
    EXPECT_EQ(files.header[6], "Internal File Version");
    r = row(files, "F");
    EXPECT_EQ(r.background, C::Red);
    EXPECT_EQ(r.cells,
              (std::vector<std::string>{"F", "C:\\X.DLL", "", "", "", "", "", "", "", ""}));
    EXPECT_EQ(row(files, "New").background, C::Green);
    EXPECT_EQ(row(files, "Old").background, C::Yellow);
    EXPECT_EQ(row(files, "Same").background, C::None);
    EXPECT_EQ(row(files, "Same").cells[9], "SAME");
    EXPECT_EQ(row(files, "Short").cells[9], "7");
}

TEST(Loader, EmptyAndTaglessReports)
{
    test::TempDir dir;
    const std::string path = dir.file("empty.txt");
    test::writeBytes(path, "");
    Loaded l(path);
    EXPECT_TRUE(l.doc.loaded);
    EXPECT_EQ(l.progress.maximum(), 33);
    EXPECT_EQ(l.progress.position(), 33);
    EXPECT_EQ(l.doc.variables.size(), 23u); // no %OS%
    EXPECT_EQ(l.doc.registry.rows.size(), 0u);
    EXPECT_EQ(l.doc.files.rows.size(), 0u);
    EXPECT_EQ(l.doc.registry.header.size(), 3u);
    EXPECT_EQ(l.doc.files.header.size(), 10u);
    EXPECT_EQ(l.doc.sectionsLabel, "Sections: 0");

    test::writeBytes(path, "[S]\r\nOS=OSVERSION;Windows 2000;5.0\r\n");
    Loaded w2k(path);
    EXPECT_EQ(w2k.doc.variables.size(), 23u);
    test::writeBytes(path, "[S]\r\nOS=OSVERSION;Windows NT\r\n");
    Loaded nt(path);
    EXPECT_EQ(nt.doc.variables.toVector().back(), "%OS%=WINNT");
}

TEST(Loader, UnreadableFileThrows)
{
    test::TempDir dir;
    ReportDocument doc;
    EXPECT_THROW(loadall(doc, dir.file("missing.txt")), Error);
    EXPECT_FALSE(doc.loaded);
    EXPECT_EQ(doc.path, dir.file("missing.txt"));
    try {
        loadall(doc, dir.path().string());
        FAIL();
    } catch (const Error& e) {
        EXPECT_NE(std::string(e.what()).find(dir.path().string()), std::string::npos);
    }
}

TEST(Loader, GetvalueSearchesTheWholeText)
{
    ReportDocument d;
    d.lines = {"a=CPU;fast", "b=x;=CPU;slow", "c=OWNER;"};
    EXPECT_EQ(bench::wholeText(d), "a=CPU;fast\r\nb=x;=CPU;slow\r\nc=OWNER;\r\n");
    EXPECT_EQ(bench::getvalue(d, "=CPU;"), "fast");
    EXPECT_EQ(bench::getvalue(d, "x;=CPU;"), "slow");
    EXPECT_EQ(bench::getvalue(d, "=OWNER;"), "");
    EXPECT_EQ(bench::getvalue(d, "=NONE;"), "");
    EXPECT_EQ(bench::getvalue(d, "fast\r\nb"), "=x;=CPU;slow");
}

TEST(Loader, SampleReportsLoad)
{
    const std::filesystem::path samples(QMX_SAMPLES);
    if (!std::filesystem::is_directory(samples))
        GTEST_SKIP() << "no samples";
    for (const auto& e : std::filesystem::directory_iterator(samples)) {
        if (e.path().extension() != ".txt")
            continue;
        SCOPED_TRACE(e.path().string());
        Loaded l(e.path().string());
        EXPECT_TRUE(l.doc.loaded);
        EXPECT_EQ(l.progress.position(), l.progress.maximum());
        EXPECT_EQ(l.progress.maximum(), static_cast<int>(l.doc.lines.size()) + 33);
        for (const TextColour& c : l.doc.textColours) {
            ASSERT_LE(c.atLine, c.line);
            EXPECT_EQ(l.doc.lines[c.atLine].compare(c.column, c.length, l.doc.lines[c.line]), 0);
        }
    }
}

TEST(Loader, TextInMemoryLoadsLikeTheFile)
{
    Loaded fromFile(kBasic);
    ReportDocument d;
    loadReportText(d, "memory.txt", test::readBytes(kBasic));
    EXPECT_TRUE(d.loaded);
    EXPECT_EQ(d.path, "memory.txt");
    EXPECT_EQ(d.lines, fromFile.doc.lines);
    EXPECT_EQ(d.variables.toVector(), fromFile.doc.variables.toVector());
    EXPECT_EQ(d.sections, fromFile.doc.sections);
    EXPECT_EQ(d.textColours.size(), fromFile.doc.textColours.size());
    EXPECT_EQ(d.store->fileName(), "memory.txt");
    EXPECT_FALSE(d.store->changed());
}

// The loader finds its fixed tags in one pass; each answer agrees with
// getvalue read literally over the whole text.
TEST(Loader, GeneralFieldsAgreeWithTheWholeTextReading)
{
    for (const char* name : {"ws-accounting.txt", "ws-lab.txt", "ws-reception.txt"}) {
        SCOPED_TRACE(name);
        ReportDocument d;
        loadall(d, std::string(QMX_SAMPLES) + "/" + name);
        const GeneralInfo& g = d.general;
        const std::pair<const std::string*, const char*> fields[] = {
            {&g.date, "=CURRENTDATE;"}, {&g.time, "=CURRENTTIME;"},   {&g.name, "=COMPUTERNAME;"},
            {&g.os, "=OSVERSION;"},     {&g.memory, "=TOTALMEMORY;"}, {&g.cpu, "=CPU;"},
            {&g.user, "=USERNAME;"},    {&g.uptime, "=UPTIME;"},
        };
        for (const auto& [value, tag] : fields)
            EXPECT_EQ(*value, bench::getvalue(d, tag)) << tag;
    }
}
