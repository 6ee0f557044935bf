#include "clirun.h"

#include "reportgen.h"

using clitest::CliTest;
using clitest::RunResult;

namespace {

std::vector<std::string> with(std::vector<std::string> head, const std::vector<std::string>& tail)
{
    head.insert(head.end(), tail.begin(), tail.end());
    return head;
}

} // namespace

// The fleet run on several threads prints exactly what one thread prints,
// for the plain Suggestions text and for every summary form; the threads
// share nothing (tools/tsan.sh runs this under ThreadSanitizer).
TEST_F(CliTest, JobsGiveTheSameOutputAsOneJob)
{
    std::vector<std::string> reports;
    for (unsigned i = 1; i <= 50; ++i) {
        qmx::bench::ReportShape shape;
        shape.lines = 300;
        shape.seed = i;
        shape.adversarial = i % 7 == 0;
        reports.push_back(
            temp("ws_" + std::to_string(i) + ".txt", qmx::bench::generateReport(shape)));
    }
    reports.insert(reports.begin() + 10, (dir / "missing.txt").string());
    const std::string settings = sample("QMXRead.ini");
    const std::vector<std::vector<std::string>> forms = {
        {"analyze", "--settings", settings},
        {"analyze", "--summary", "--settings", settings},
        {"analyze", "--summary", "--csv", "--settings", settings},
        {"analyze", "--summary", "--format", "jsonl", "--settings", settings},
    };
    for (const auto& form : forms) {
        SCOPED_TRACE(form[1]);
        const RunResult one = run(with(with(form, {"--jobs", "1"}), reports));
        const RunResult four = run(with(with(form, {"--jobs", "4"}), reports));
        EXPECT_EQ(one.status, 1);
        EXPECT_EQ(four.status, one.status);
        EXPECT_EQ(four.out, one.out);
        EXPECT_EQ(four.err, one.err);
        EXPECT_NE(one.err.find("missing.txt"), std::string::npos);
    }
}

// A fleet split into pieces and summed gives the summary of the whole.
TEST_F(CliTest, SummaryOfJsonLinePiecesEqualsTheWhole)
{
    const std::string settings = sample("QMXRead.ini");
    const std::vector<std::string> a = {sample("ws-accounting.txt")};
    const std::vector<std::string> b = {sample("ws-lab.txt"), sample("ws-reception.txt")};
    const RunResult pa =
        run(with({"analyze", "--summary", "--format", "jsonl", "--settings", settings}, a));
    const RunResult pb =
        run(with({"analyze", "--summary", "--format", "jsonl", "--settings", settings}, b));
    ASSERT_EQ(pa.status, 0);
    const std::string fa = temp("a.jsonl", pa.out), fb = temp("b.jsonl", pb.out);
    for (const std::vector<std::string>& form :
         {std::vector<std::string>{}, {"--csv"}, {"--format", "json"}}) {
        SCOPED_TRACE(form.empty() ? "text" : form[0]);
        const RunResult whole =
            run(with(with({"analyze", "--summary", "--settings", settings}, form), with(a, b)));
        const RunResult summed = run(with(with({"summary"}, form), {fa, fb}));
        EXPECT_EQ(whole.status, 0);
        EXPECT_EQ(summed.status, 0);
        EXPECT_EQ(summed.out, whole.out);
    }
}

TEST_F(CliTest, SummaryShowsCountsHostsEvidenceAndChangesSinceAnOlderScan)
{
    const std::string rules =
        temp("rules.txt", "IF (%TOTALMEMORY%<65536) THEN PRINT \"LOW MEMORY\";\r\n"
                          "IF (%OS%=WIN95) THEN PRINT \"OLD OS\";\r\n");
    std::filesystem::create_directories(dir / "old");
    std::filesystem::create_directories(dir / "new");
    const auto report = [&](const std::string& where, const std::string& name, const char* memory,
                            const char* os) {
        temp(where + "/" + name + ".txt", "[W]\r\nName=COMPUTERNAME;" + name
                                              + "\r\nMemory=TOTALMEMORY;" + memory
                                              + "\r\nOS=OSVERSION;" + os + "\r\n");
    };
    report("old", "PC1", "32000", "Windows 95");
    report("old", "GONE", "128000", "Windows 98");
    report("new", "PC1", "128000", "Windows 95"); // memory fixed
    report("new", "PC2", "16000", "Windows 98");  // a new host
    const RunResult r = run({"analyze", "--summary", "--rules-file", rules, "--since",
                             (dir / "old").string(), (dir / "new").string()});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "1 of 2 reports: LOW MEMORY\n"
                     "    PC2: %TOTALMEMORY%=16000\n"
                     "1 of 2 reports: OLD OS\n"
                     "    PC1: %OS%=WIN95\n"
                     "\n"
                     "PC1: 0 new, 1 fixed, 1 unchanged\n"
                     "  fixed: LOW MEMORY\n"
                     "  unchanged: OLD OS\n"
                     "PC2: only in the new scan, 1 new, 0 fixed, 0 unchanged\n"
                     "  new: LOW MEMORY\n"
                     "GONE: only in the old scan, 0 new, 0 fixed, 0 unchanged\n");
}
