#include "clirun.h"

#include <nlohmann/json.hpp>

#include <sys/stat.h>

using clitest::CliTest;
using clitest::splitLines;

namespace {

// Comment lines, a block and an ELSE: each depends on the lines being
// joined by CR LF, whatever line ends the file had.
const char* const kRuleLines[] = {
    "// leading comment",
    "SET %LIMIT%=100000;",
    "IF (%TOTALMEMORY%<%LIMIT%) THEN BEGIN",
    "  PRINT \"small: \"+%TOTALMEMORY%;",
    "  PRINT \"second\";",
    "END;",
    "// a comment before a statement",
    "IF (%OS%=WINNT) THEN PRINT \"nt\" ELSE PRINT \"not nt\";",
};

std::string joined(const char* eol)
{
    std::string s;
    for (const char* line : kRuleLines)
        s += std::string(line) + eol;
    return s;
}

} // namespace

TEST_F(CliTest, RulesFileWithLfOrCrLfLineEndsRunsTheSame)
{
    const std::string expected = "SMALL: 32180\n\nSECOND\n\nNOT NT\n\n";
    for (const char* eol : {"\n", "\r\n"}) {
        const auto rules = temp("rules.txt", joined(eol));
        // The file wins over a settings file and rule set given with it.
        const auto r = run({"analyze", "--settings", sample("QMXRead.ini"), "--rule-set",
                            "INVENTORY", "--rules-file", rules, sample("ws-accounting.txt")});
        EXPECT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(r.out, expected) << (eol[1] ? "CR LF" : "LF");
    }
    // Without a final line end the last statement still runs.
    std::string text = joined("\n");
    text.pop_back();
    auto r = run({"analyze", "--rules-file", temp("nofinal.txt", text), sample("ws-lab.txt")});
    EXPECT_EQ(r.out, "NT\n\n");

    // A SET spread over two lines keeps its line break in the variable; the
    // variables command still shows one entry a line.
    r = run(
        {"variables", "--rules-file", temp("set.txt", "SET %A%=1\n2;\n"), sample("ws-lab.txt")});
    EXPECT_EQ(splitLines(r.out).back(), "%A%=1 2");
}

TEST_F(CliTest, RuleSetsComeFromTheSettingsFile)
{
    const auto report = data("small.txt");
    auto r = run({"analyze", "--settings", data("rules.ini"), report});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "CHECKS RAN ON PC-\u00c9T\u00c9\n\n");

    // Rule set names are found without regard to case.
    r = run({"analyze", "--settings", data("rules.ini"), "--rule-set", "ALT", report});
    EXPECT_EQ(r.out, "ALT RAN\n\n");

    r = run({"variables", "--settings", data("rules.ini"), report});
    EXPECT_EQ(splitLines(r.out).back(), "%SEEN%=YES");

    r = run({"analyze", "--no-rules", "--settings", data("rules.ini"), report});
    EXPECT_EQ(r.status, 0);
    EXPECT_TRUE(r.out.empty());

    // A settings file that names a rule set with no section runs nothing.
    r = run({"analyze", "--settings",
             temp("empty.ini", "[QMXREAD_PARAMETERS]\r\nDefault_Rule_Set=NONE\r\n"), report});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(r.out.empty());
}

TEST_F(CliTest, DefaultSettingsAreTheProgramDirectorysQMXReadIni)
{
    // A copy of the program in a directory of its own, first without settings.
    const auto exe = dir / "qmxread-cli";
    clitest::writeFile(exe, clitest::readFile(QMX_CLI_PATH));
    ::chmod(exe.c_str(), 0755);
    const auto report = data("small.txt");

    auto r = run({"analyze", report}, exe.string());
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(r.out.empty());
    r = run({"analyze", "--rule-set", "ALT", report}, exe.string());
    EXPECT_EQ(r.status, 1);

    clitest::writeFile(dir / "QMXRead.ini", clitest::readFile(data("rules.ini")));
    r = run({"analyze", report}, exe.string());
    EXPECT_EQ(r.out, "CHECKS RAN ON PC-\u00c9T\u00c9\n\n");
    r = run({"analyze", "--rule-set", "alt", report}, exe.string());
    EXPECT_EQ(r.out, "ALT RAN\n\n");
    // attached loads with the default rules too, and is not disturbed by them.
    r = run({"attached", data("attached.txt"), "NOTES.TXT"}, exe.string());
    EXPECT_EQ(r.status, 0);
}

TEST_F(CliTest, DebugWritesTraceLines)
{
    const auto rules = temp("trace.txt", "SET %X%=1;\r\nIF (%X%=1) THEN PRINT \"yes\";\r\n");
    const auto r = run({"analyze", "--debug", "--rules-file", rules, data("small.txt")});
    ASSERT_EQ(r.status, 0) << r.err;
    // The trace itself is the interpreter's; the tool passes it through.
    const std::vector<std::string> lines = splitLines(r.out);
    ASSERT_EQ(lines.size(), 15u);
    EXPECT_EQ(lines.front(), "Rule: SET %X%=1;");
    EXPECT_EQ(lines[13], "Outcome: PRINT \"YES\";");
    const auto quiet = run({"analyze", "--rules-file", rules, data("small.txt")});
    EXPECT_EQ(quiet.out, "YES\n\n");
}

TEST_F(CliTest, SampleRuleSetsGiveTheirAdvice)
{
    const std::string settings = sample("QMXRead.ini");
    auto r = run({"analyze", "--settings", settings, sample("ws-accounting.txt")});
    ASSERT_EQ(r.status, 0) << r.err;
    for (const char* advice : {
             "ONLY 32180 KB OF MEMORY IS FITTED.",
             "SWAP FILE: SET BY HAND TO 98304 KB.",
             "THE CLIENT DRIVER C:\\WINDOWS\\SYSTEM\\KXCLIENT.VXD (4.50) IS OLDER THAN THE SITE "
             "STANDARD.",
             "THE PREFERRED SERVER IS ACCT_FS1 INSTEAD OF THE SITE DEFAULT.",
             "PASSWORD CACHING IS NOT SWITCHED OFF",
             "NETBEUI IS BOUND (NetBEUI).",
             "NO VIRUS SCANNER AT C:\\PROGRA~1\\VSCAN\\VSCAN32.EXE.",
             "NOTE FROM THE SCAN: Help desk ticket 4471 \u2013 month-end close is slow (budget "
             "\u20ac 1 200)",
         })
        EXPECT_NE(r.out.find(advice), std::string::npos) << advice;
    EXPECT_EQ(r.out.find("WINDOWS 95"), std::string::npos);

    r = run({"analyze", "--settings", settings, sample("ws-lab.txt")});
    EXPECT_NE(r.out.find("NO PREFERRED SERVER IS SET."), std::string::npos);
    EXPECT_NE(r.out.find("THE VIDEO DRIVER 4.00 IS NEWER"), std::string::npos);
    EXPECT_EQ(r.out.find("MEMORY IS FITTED"), std::string::npos);

    r = run(
        {"analyze", "--settings", settings, "--rule-set", "INVENTORY", sample("ws-reception.txt")});
    EXPECT_EQ(splitLines(r.out)[0], "COMPUTER: FRONTDESK1   USER: reception");
}
