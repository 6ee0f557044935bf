#include "core/fleet/findings.h"
#include "core/fleet/parallel.h"
#include "core/fleet/summary.h"
#include "tempdir.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace qmx {
namespace {

const char* const kReport =
    "[Workstation]\r\nName=COMPUTERNAME;PC1\r\nMemory=TOTALMEMORY;32180\r\n";

struct FindingCase {
    const char* name;
    std::string rules;
    std::vector<Finding> expected;
};

TEST(Findings, EvidenceComesFromTheInnermostDecidingCondition)
{
    const Evidence mem{"%TOTALMEMORY%", "32180"};
    const Evidence pc{"%COMPUTERNAME%", "PC1"};
    const FindingCase cases[] = {
        {"then branch", "IF (%TOTALMEMORY%<65536) THEN PRINT \"LOW\";", {{"LOW", {mem}}}},
        {"else branch",
         "IF (%TOTALMEMORY%>65536) THEN PRINT \"BIG\" ELSE PRINT \"SMALL\";",
         {{"SMALL", {mem}}}},
        {"two references",
         "IF (%COMPUTERNAME%=PC1) & (%TOTALMEMORY%<1) THEN PRINT \"X\" ELSE PRINT \"Y\";",
         {{"Y", {pc, mem}}}},
        {"missing variable reads blank",
         "IF (%NOPE%=) THEN PRINT \"NONE\";",
         {{"NONE", {{"%NOPE%", ""}}}}},
        {"outside any condition, once though printed twice",
         "PRINT \"A\";\r\nPRINT \"A\";",
         {{"A", {}}}},
        {"empty line is no finding", "PRINT \"\";", {}},
        {"inner condition ends before the next print",
         "IF (%COMPUTERNAME%=PC1) THEN BEGIN\r\nIF (%TOTALMEMORY%>1) THEN PRINT \"A\";\r\nPRINT "
         "\"B\";\r\nEND;",
         {{"A", {mem}}, {"B", {pc}}}},
        {"variable in the printed text",
         "IF (%TOTALMEMORY%<65536) THEN PRINT \"M \"+%TOTALMEMORY%;",
         {{"M 32180", {mem}}}},
    };
    test::TempDir dir;
    const std::string path = dir.file("pc1.txt");
    test::writeBytes(path, kReport);
    for (const FindingCase& c : cases) {
        SCOPED_TRACE(c.name);
        const ReportFindings r = findReportFindings(path, c.rules);
        EXPECT_EQ(r.error, "");
        EXPECT_EQ(r.computer, "PC1");
        EXPECT_EQ(r.findings, c.expected);
    }
}

TEST(Findings, ComputerNameFallsBackToTheFileName)
{
    test::TempDir dir;
    const std::string path = dir.file("ws_01.txt");
    test::writeBytes(path, "[W]\r\nName=COMPUTERNAME;  \r\n");
    EXPECT_EQ(findReportFindings(path, "").computer, "ws_01.txt");
    const ReportFindings missing = findReportFindings(dir.file("none.txt"), "");
    EXPECT_NE(missing.error, "");
    EXPECT_TRUE(missing.findings.empty());
}

ReportFindings host(std::string name, std::vector<std::string> texts, std::string error = "")
{
    ReportFindings r{name + ".txt", name, {}, std::move(error)};
    for (std::string& t : texts)
        r.findings.push_back({std::move(t), {}});
    return r;
}

TEST(Summary, SortsByCountThenTextAndSkipsUnreadableReports)
{
    const std::vector<ReportFindings> reports = {host("A", {"B", "C"}), host("B", {"C", "B", "A"}),
                                                 host("X", {}, "Cannot open"),
                                                 host("C", {"A,\"q\""})};
    const auto rows = summarize(reports);
    ASSERT_EQ(rows.size(), 4u);
    ASSERT_EQ(rows[0].hosts.size(), 2u);
    EXPECT_EQ(rows[0].hosts[1].report, 1u);
    // The columns follow the rows: "B" and "C" in 2 reports, "B" < "C".
    EXPECT_EQ(findingsMatrixCsv(reports, rows, [](const std::string& p) { return p; }),
              "path,computer,B,C,A,\"A,\"\"q\"\"\"\r\n"
              "A.txt,A,1,1,0,0\r\nB.txt,B,1,1,1,0\r\nC.txt,C,0,0,0,1\r\n");
}

TEST(Summary, ComparesScansByComputerName)
{
    const std::vector<ReportFindings> older = {host("PC1", {"OLD", "KEEP"}), host("GONE", {"Z"})};
    const std::vector<ReportFindings> newer = {host("pc1", {"KEEP", "NEW"}), host("ADDED", {"Q"}),
                                               host("PC1", {"IGNORED"})};
    const auto changes = compareScans(older, newer);
    ASSERT_EQ(changes.size(), 3u);
    EXPECT_EQ(changes[0].computer, "pc1");
    EXPECT_EQ(changes[0].side, HostChange::Side::Both);
    EXPECT_EQ(changes[0].added, std::vector<std::string>{"NEW"});
    EXPECT_EQ(changes[0].fixed, std::vector<std::string>{"OLD"});
    EXPECT_EQ(changes[0].unchanged, std::vector<std::string>{"KEEP"});
    EXPECT_EQ(changes[1].side, HostChange::Side::NewOnly);
    EXPECT_EQ(changes[2].computer, "GONE");
    EXPECT_EQ(changes[2].side, HostChange::Side::OldOnly);
    EXPECT_TRUE(changes[2].fixed.empty());
}

TEST(Parallel, HandsResultsBackInOrderWhateverTheThreads)
{
    for (unsigned jobs : {1u, 2u, 4u, 64u}) {
        SCOPED_TRACE(jobs);
        std::vector<size_t> seen;
        runInOrder(
            200, jobs, [](size_t i) { return i * i; },
            [&](size_t i, size_t v) {
                EXPECT_EQ(v, i * i);
                seen.push_back(i);
            });
        ASSERT_EQ(seen.size(), 200u);
        for (size_t i = 0; i < seen.size(); ++i)
            EXPECT_EQ(seen[i], i);
        size_t emitted = 0;
        EXPECT_THROW(runInOrder(
                         50, jobs,
                         [](size_t i) {
                             if (i == 7)
                                 throw std::runtime_error("seven");
                             return i;
                         },
                         [&](size_t, size_t) { ++emitted; }),
                     std::runtime_error);
        EXPECT_EQ(emitted, 7u);
    }
}

} // namespace
} // namespace qmx
