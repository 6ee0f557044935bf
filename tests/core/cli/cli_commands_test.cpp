#include "clirun.h"

#include <nlohmann/json.hpp>

#include <sys/stat.h>

using clitest::CliTest;
using clitest::splitLines;
using Json = nlohmann::json;

namespace {

// clang-format off
const char* const kFixedNames[] = {
    "%CURRENTDATE%", "%CURRENTTIME%",  "%COMPUTERNAME%",  "%OSVERSION%",   "%TOTALMEMORY%",
    "%CPU%",         "%USERNAME%",     "%UPTIME%",        "%MESSAGE%",     "%SWAPFILESIZE%",
    "%SWAPFILESETTING%", "%OWNER%",    "%ORGANIZATION%",  "%AVAILABLEMEMORY%", "%BIOSINFO%",
    "%VIDEOCARD%",   "%CLIENTVERSION%", "%IPXADDRESS%",   "%BIOSVIDEOINFO%", "%LASTBOOT%",
    "%MONITORDRIVERDESCRIPTION%", "%TIMEZONE%", "%OWNER%",
};
// clang-format on

std::string nameOf(const std::string& entry)
{
    return entry.substr(0, entry.find('='));
}

} // namespace

TEST_F(CliTest, UsageErrorsExitTwoWithTheUsageOnStderr)
{
    const std::vector<std::vector<std::string>> cases = {
        {},
        {"frobnicate", "x"},
        {"report"},
        {"report", "a.txt", "b.txt"},
        {"variables"},
        {"analyze"},
        {"analyze", "--no-rules"},
        {"report", "--colour", sample("ws-lab.txt")},
        {"report", sample("ws-lab.txt"), "--settings"},
        {"report", "--debug=1", sample("ws-lab.txt")},
        {"report", "--no", sample("ws-lab.txt")}, // an abbreviation is not an option name
        {"report", "--settings=", sample("ws-lab.txt")},
        {"attached", sample("ws-lab.txt")},
        {"attached", "--debug", sample("ws-lab.txt"), "BOOT.INI"},
        {"eval"},
        {"eval", "A=A", "B=B"},
        {"analyze", "--jobs", "0", sample("ws-lab.txt")},
        {"analyze", "--jobs", "01x", sample("ws-lab.txt")},
        {"analyze", "--jobs", "257", sample("ws-lab.txt")},
        {"analyze", "--csv", sample("ws-lab.txt")}, // needs --summary
        {"analyze", "--summary", "--csv", "--format", "json", sample("ws-lab.txt")},
        {"analyze", "--summary", "--format", "xml", sample("ws-lab.txt")},
        {"analyze", "--summary", "--since", sample("ws-lab.txt"), "--csv", sample("ws-lab.txt")},
        {"summary"},
        {"summary", "--format", "jsonl", "x.jsonl"},
    };
    for (const auto& args : cases) {
        const auto r = run(args);
        std::string shown;
        for (const auto& a : args)
            shown += a + " ";
        EXPECT_EQ(r.status, 2) << shown;
        EXPECT_TRUE(r.out.empty()) << shown;
        EXPECT_NE(r.err.find("Usage:"), std::string::npos) << shown;
    }
    const auto help = run({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("qmxread-cli analyze"), std::string::npos);
    EXPECT_TRUE(help.err.empty());
}

TEST_F(CliTest, FilesThatCannotBeReadExitOneWithAMessage)
{
    const std::string missing = (dir / "missing.txt").string();
    // A FIFO without a writer would block the read for ever; /dev/zero never ends.
    const std::string fifo = (dir / "fifo.txt").string();
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const std::vector<std::vector<std::string>> cases = {
        {"report", missing},
        {"variables", fifo},
        {"variables", "/dev/zero"},
        {"analyze", fifo},
        {"report", "--rules-file", fifo, sample("ws-lab.txt")},
        {"variables", dir.string()},
        {"attached", missing, "X"},
        {"report", "--settings", missing, sample("ws-lab.txt")},
        {"report", "--rules-file", missing, sample("ws-lab.txt")},
        {"report", "--settings", sample("QMXRead.ini"), "--rule-set", "NO_SUCH_SET",
         sample("ws-lab.txt")},
    };
    for (const auto& args : cases) {
        const auto r = run(args);
        EXPECT_EQ(r.status, 1) << args[0] << " " << args[1];
        EXPECT_TRUE(r.out.empty()) << args[0] << " " << args[1];
        EXPECT_EQ(r.err.rfind("qmxread-cli: ", 0), 0u) << r.err;
        EXPECT_EQ(r.err.find("Usage:"), std::string::npos);
    }
    EXPECT_NE(run({"report", missing}).err.find(missing), std::string::npos);
    EXPECT_EQ(run({"variables", fifo}).err,
              "qmxread-cli: Cannot open file \"" + fifo + "\": it is not a regular file\n");
    EXPECT_NE(run({"report", "--settings", sample("QMXRead.ini"), "--rule-set", "NO_SUCH_SET",
                   sample("ws-lab.txt")})
                  .err.find("NO_SUCH_SET"),
              std::string::npos);
}

TEST_F(CliTest, ReportDescribesTheLoadedSampleAsJson)
{
    const auto r =
        run({"report", "--settings", sample("QMXRead.ini"), sample("ws-accounting.txt")});
    ASSERT_EQ(r.status, 0) << r.err;
    const Json j = Json::parse(r.out);

    std::vector<std::string> keys;
    for (auto it = j.begin(); it != j.end(); ++it)
        keys.push_back(it.key());
    // nlohmann::json sorts keys when parsing; the printed order is checked on the text.
    for (const char* k : {"general", "sections", "nics", "nic_shown", "attached", "registry",
                          "files", "text_colors", "variables", "suggestions", "progress"})
        EXPECT_TRUE(j.contains(k)) << k;
    EXPECT_EQ(keys.size(), 11u);
    EXPECT_LT(r.out.find("\"general\""), r.out.find("\"sections\""));
    EXPECT_LT(r.out.find("\"suggestions\""), r.out.find("\"progress\""));

    const Json& g = j["general"];
    EXPECT_EQ(g["date"], "12/08/1999");
    EXPECT_EQ(g["time"], "08:41:17");
    EXPECT_EQ(g["name"], "ACCT-PC07");
    EXPECT_EQ(g["os"], "Windows 98;4.10.1998");
    EXPECT_EQ(g["memory"], "32180");
    EXPECT_EQ(g["cpu"], "x86 Family 6 Model 5 Stepping 2");
    EXPECT_EQ(g["user"], "jkowalczyk");
    EXPECT_EQ(g["uptime"], "0 days 02:14:09");

    EXPECT_EQ(j["sections"],
              Json({"QMXSCAN", "Workstation", "Network", "Registry", "Files", "Attached Files"}));
    EXPECT_EQ(j["nics"], Json({"Linkwell EtherFast 10/100 PCI Adapter", "Dial-Up Adapter"}));
    EXPECT_EQ(j["nic_shown"], "Dial-Up Adapter");
    EXPECT_EQ(j["attached"], Json({"AUTOEXEC.BAT", "PROTOCOL.INI"}));

    const Json& reg = j["registry"];
    ASSERT_EQ(reg.size(), 5u);
    EXPECT_EQ(reg[0]["cells"], Json({"PREFERREDSERVER", "ACCT_FS1", "NON-DEFAULT"}));
    EXPECT_EQ(reg[0]["background"], "yellow");
    EXPECT_EQ(reg[1]["background"], "white");
    EXPECT_EQ(reg[1]["colors"], Json({"black", "black", "green"}));
    EXPECT_EQ(reg[2]["colors"], Json({"black", "black", "blue"}));
    EXPECT_EQ(reg[4]["cells"], Json({"PWDCACHING", "Registry Key/Value not found", ""}));
    EXPECT_EQ(reg[4]["background"], "white");

    const Json& files = j["files"];
    ASSERT_EQ(files.size(), 4u);
    EXPECT_EQ(files[0]["background"], "yellow");
    EXPECT_EQ(files[0]["cells"].size(), 10u);
    EXPECT_EQ(files[0]["cells"][9], "OLDER");
    EXPECT_EQ(files[0]["colors"], Json(std::vector<std::nullptr_t>(10, nullptr)));
    EXPECT_TRUE(files[1]["background"].is_null());
    EXPECT_EQ(files[3]["background"], "red");
    EXPECT_EQ(files[3]["cells"], Json({"ANTIVIR", "C:\\PROGRA~1\\VSCAN\\VSCAN32.EXE", "", "", "",
                                       "", "", "", "", ""}));

    // 53 report lines: the bar ends at 53 + 33.
    EXPECT_EQ(j["progress"], Json({{"max", 86}, {"position", 86}}));

    const auto& sugg = j["suggestions"];
    ASSERT_FALSE(sugg.empty());
    EXPECT_EQ(sugg[0],
              "ONLY 32180 KB OF MEMORY IS FITTED. THE SITE MINIMUM IS 65536 KB - ADD MEMORY.");
    EXPECT_EQ(sugg[1], "");
    EXPECT_EQ(sugg.back(), "");
    // The rules ran before the variables were taken: the SET entries are there.
    EXPECT_EQ(j["variables"][23], "%OS%=WIN98");
    EXPECT_NE(std::find(j["variables"].begin(), j["variables"].end(), "%MINMEMORY%=65536"),
              j["variables"].end());
}

TEST_F(CliTest, ReportTextColoursDecodingAndRepeatedLines)
{
    const auto r = run({"report", "--no-rules", data("small.txt")});
    ASSERT_EQ(r.status, 0) << r.err;
    const Json j = Json::parse(r.out);
    EXPECT_EQ(j["general"]["name"], "PC-\u00c9T\u00c9");
    EXPECT_EQ(j["general"]["os"], "Windows 2000;5.0");
    EXPECT_EQ(j["nic_shown"], "Second Card");
    EXPECT_TRUE(j["suggestions"].empty());

    const Json expected = Json::parse(R"([
        {"line": 0, "at_line": 0, "column": 0, "length": 6, "color": "red"},
        {"line": 5, "at_line": 5, "column": 0, "length": 8, "color": "red"},
        {"line": 6, "at_line": 6, "column": 0, "length": 24, "color": "green"},
        {"line": 7, "at_line": 6, "column": 0, "length": 24, "color": "green"},
        {"line": 8, "at_line": 8, "column": 0, "length": 67, "color": "blue"}
    ])");
    EXPECT_EQ(j["text_colors"], expected);
    ASSERT_EQ(j["registry"].size(), 2u);
    EXPECT_EQ(j["registry"][1]["cells"], Json({"RUN", "a;b", "DEFAULT"}));
    EXPECT_EQ(j["files"][0]["background"], "green");
    EXPECT_EQ(j["progress"], Json({{"max", 44}, {"position", 44}}));
}

TEST_F(CliTest, VariablesListsTheFixedEntriesFirstInListOrder)
{
    const auto r = run({"variables", "--no-rules", sample("ws-lab.txt")});
    ASSERT_EQ(r.status, 0) << r.err;
    const auto lines = splitLines(r.out);
    ASSERT_GT(lines.size(), 24u);
    for (size_t i = 0; i < 23; ++i)
        EXPECT_EQ(nameOf(lines[i]), kFixedNames[i]) << "entry " << i;
    EXPECT_EQ(lines[11], lines[22]);
    EXPECT_EQ(lines[3], "%OSVERSION%=Windows NT;4.0");
    EXPECT_EQ(lines[12], "%ORGANIZATION%=Br\u00e4ndle & S\u00f6hne Treuhand AG");
    EXPECT_EQ(lines[23], "%OS%=WINNT");
    // The multi-value entries: the joined list before the single values.
    const auto all =
        std::find(lines.begin(), lines.end(),
                  "%REGISTRY_MULTIVALUE:PROTOCOLS:ALL_VALUES%=IPX=Kestrix IPX/SPX-compatible "
                  "Protocol;TCPIP=TCP/IP");
    ASSERT_NE(all, lines.end());
    EXPECT_EQ(*(all + 1),
              "%REGISTRY_MULTIVALUE:PROTOCOLS:IPX%=Kestrix IPX/SPX-compatible Protocol");
    EXPECT_EQ(*(all + 2), "%REGISTRY_MULTIVALUE:PROTOCOLS:TCPIP%=TCP/IP");
    // Without rules nothing was SET.
    EXPECT_EQ(r.out.find("%MINMEMORY%"), std::string::npos);
}

TEST_F(CliTest, OutputIsUtf8FromWindows1252)
{
    // Euro sign, en dash, a byte Windows-1252 leaves undefined, y with
    // diaeresis (0x9F and 0xFF), e acute.
    const auto report = temp("bytes.txt", "[S]\r\nM=MESSAGE;\x80 \x96 \x81 \x9f\xff \xe9\r\n");
    const auto r = run({"variables", "--no-rules", report});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(splitLines(r.out)[8], "%MESSAGE%=\u20ac \u2013 \u0081 \u0178\u00ff \u00e9");
}

TEST_F(CliTest, AnalyzePrintsHeadersOnlyForSeveralReports)
{
    const std::string settings = sample("QMXRead.ini");
    const auto one = run({"analyze", "--settings", settings, sample("ws-lab.txt")});
    ASSERT_EQ(one.status, 0) << one.err;
    EXPECT_EQ(one.out.find("==>"), std::string::npos);
    EXPECT_EQ(splitLines(one.out)[0], "SWAP FILE: MANAGED BY WINDOWS, 196608 KB.");

    const std::string missing = (dir / "gone.txt").string();
    const auto many = run({"analyze", "--settings", settings, sample("ws-lab.txt"), missing,
                           sample("ws-reception.txt")});
    EXPECT_EQ(many.status, 1);
    EXPECT_NE(many.err.find(missing), std::string::npos);
    const auto lines = splitLines(many.out);
    const std::string h1 = "==> " + sample("ws-lab.txt") + " <==";
    const std::string h2 = "==> " + missing + " <==";
    const std::string h3 = "==> " + sample("ws-reception.txt") + " <==";
    ASSERT_GE(lines.size(), 4u);
    EXPECT_EQ(lines[0], h1);
    EXPECT_EQ(
        std::vector<std::string>(lines.begin() + 1, lines.begin() + 1 + splitLines(one.out).size()),
        splitLines(one.out));
    const auto p2 = std::find(lines.begin(), lines.end(), h2);
    ASSERT_NE(p2, lines.end());
    ASSERT_NE(p2 + 1, lines.end());
    EXPECT_EQ(*(p2 + 1), h3);
    EXPECT_NE(many.out.find("WINDOWS 95 IS NO LONGER SUPPORTED ON THIS SITE.\n\nPLAN AN UPGRADE"),
              std::string::npos);
}

TEST_F(CliTest, AttachedRebuildsFilesAndStopsAtABadCount)
{
    auto r = run({"attached", sample("ws-accounting.txt"), "AUTOEXEC.BAT"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "@ECHO OFF\nSET TEMP=C:\\WINDOWS\\TEMP\nPATH "
                     "C:\\WINDOWS;C:\\WINDOWS\\COMMAND;C:\\KESTRIX\n\n"
                     "CALL C:\\KESTRIX\\KXSTART.BAT\n");

    r = run({"attached", data("attached.txt"), "NOTES.TXT"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "first line\nsecond; with a semicolon\n\n");

    r = run({"attached", data("attached.txt"), "GONE.TXT"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "FILE NOT FOUND!!!\n");

    // The first copy is missing, the second has a count that is no number:
    // what was rebuilt is printed, then the conversion error stops it.
    r = run({"attached", data("attached.txt"), "TWICE.TXT"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "FILE NOT FOUND!!!\n");
    EXPECT_EQ(r.err, "qmxread-cli: 'two' is not a valid integer value\n");

    r = run({"attached", data("attached.txt"), "BAD.TXT"});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.out.empty());
    EXPECT_NE(r.err.find("'1x' is not a valid integer value"), std::string::npos);

    r = run({"attached", data("attached.txt"), "notes.txt"});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.out.empty());
    EXPECT_NE(r.err.find("notes.txt"), std::string::npos);
}

TEST_F(CliTest, EvalDecidesAConditionAsAnIfStatementDoes)
{
    struct Case {
        const char* condition;
        const char* outcome;
    };
    const Case cases[] = {
        {"TRUE", "TRUE"},
        {"true", "TRUE"}, // the statement is upper-cased before its condition is taken
        {"(TRUE)", "FALSE"},
        {"", "FALSE"},
        {"10<9", "FALSE"},
        {"9<10", "TRUE"},
        {"(%X%=1)", "FALSE"},
        {"(%X%=%x%)", "TRUE"},
        {"-1<0", "TRUE"},
        {"  a\r\nb=A B  ", "TRUE"}, // line breaks become blanks
    };
    for (const auto& c : cases) {
        const auto r = run({"eval", c.condition});
        EXPECT_EQ(r.status, 0) << c.condition;
        EXPECT_EQ(r.out, std::string(c.outcome) + "\n") << c.condition;
        EXPECT_TRUE(r.err.empty());
    }
    EXPECT_EQ(run({"eval", "--", "--=--"}).out, "TRUE\n");
}

TEST_F(CliTest, EverySpellingOfTheOptionsMeansTheSame)
{
    const std::string report = sample("ws-lab.txt"), rules = data("rules.ini");
    const auto reference =
        run({"analyze", "--debug", "--settings", rules, "--rule-set", "Alt", report});
    ASSERT_EQ(reference.status, 0) << reference.err;
    ASSERT_NE(reference.out.find("ALT RAN"), std::string::npos);
    const std::vector<std::vector<std::string>> spellings = {
        {"analyze", "--debug", "--settings=" + rules, "--rule-set=Alt", report},
        {"analyze", report, "--rule-set", "Alt", "--settings", rules,
         "--debug"}, // options after the report
        {"analyze", "--rule-set", "Checks", "--debug", "--settings", rules, "--rule-set", "Alt",
         report},
        {"analyze", "--settings", rules, "--rule-set=Alt", "--debug", "--", report},
        {"analyze", "--debug", "--debug", "--settings", rules, "--rule-set", "Alt", report},
    };
    for (const auto& args : spellings) {
        SCOPED_TRACE(args[1] + " " + args[2]);
        const auto r = run(args);
        EXPECT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(r.out, reference.out);
    }
    // A value that looks like an option is still the option's value.
    const auto named = run({"analyze", "--rule-set", "--debug", "--settings", rules, report});
    EXPECT_EQ(named.status, 1);
    EXPECT_NE(named.err.find("--debug"), std::string::npos) << named.err;
    // Words of one dash are reports; "--" makes "--debug" a report too.
    EXPECT_NE(run({"variables", "-x"}).err.find("\"-x\""), std::string::npos);
    EXPECT_NE(run({"variables", "--", "--debug"}).err.find("\"--debug\""), std::string::npos);
}
