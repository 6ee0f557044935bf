// What qmxread-cli says when no rules run, and its --version text. (The
// installed program's settings location is run end to end by the package
// test.)
#include "clirun.h"

#include "core/setup/programinfo.h"

#include <sys/stat.h>

using clitest::CliTest;

namespace {

class CliSettingsTest : public CliTest {
protected:
    // A copy of the program in DIR/SUB, as a copied folder or an install.
    std::string placeProgram(const std::string& sub) const
    {
        std::filesystem::create_directories(dir / sub);
        const auto exe = dir / sub / "qmxread-cli";
        clitest::writeFile(exe, clitest::readFile(QMX_CLI_PATH));
        ::chmod(exe.c_str(), 0755);
        return exe.string();
    }
};

TEST_F(CliSettingsTest, AnalyzeWarnsOnceWhyNoRulesRan)
{
    const std::string exe = placeProgram("tool");
    const std::string ini = (dir / "tool" / "QMXRead.ini").string();
    const std::string report = data("small.txt");
    struct Case {
        const char* name;
        const char* settings; // nullptr: no settings file
        std::vector<std::string> args;
        std::string err;
        int status;
        bool fifo = false; // a FIFO stands where the settings file belongs
    };
    const std::string emptySet =
        "[QMXREAD_PARAMETERS]\r\nDefault_Rule_Set=Blank\r\n\r\n"
        "[RULE_LIST_SETTINGS]\r\nCount=1\r\n0=Blank\r\n\r\n[Blank]\r\nCount=2\r\n0= \r\n1=\r\n";
    const std::string warning =
        "qmxread-cli: warning: No rules run: no settings file found at \"" + ini + "\"\n";
    const std::string missing = (dir / "none.txt").string();
    const Case cases[] = {
        {"no settings file, two reports: one line",
         nullptr,
         {"analyze", report, report},
         warning,
         0},
        {"a missing report keeps status 1",
         nullptr,
         {"analyze", missing},
         warning + "qmxread-cli: Cannot open file \"" + missing + "\": No such file or directory\n",
         1},
        {"no rules asked for", nullptr, {"analyze", "--no-rules", report}, "", 0},
        {"empty rule set",
         emptySet.c_str(),
         {"analyze", report},
         "qmxread-cli: warning: No rules run: the rule set \"Blank\" in \"" + ini + "\" is empty\n",
         0},
        {"variables stays quiet", nullptr, {"variables", report}, "", 0},
        {"a FIFO is refused as a report is",
         nullptr,
         {"analyze", report},
         "qmxread-cli: Cannot open file \"" + ini + "\": it is not a regular file\n",
         1,
         true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove(ini);
        if (c.settings)
            clitest::writeFile(ini, c.settings);
        if (c.fifo) {
            ASSERT_EQ(::mkfifo(ini.c_str(), 0600), 0);
        }
        const auto r = run(c.args, exe);
        EXPECT_EQ(r.status, c.status);
        EXPECT_EQ(r.err, c.err);
    }
}

// An installed program whose per-user settings cannot be made says why: a
// seed copy cut short by the file-size limit is a reason, not the end of
// the program. (Which reasons there are is the settings location's test.)
TEST_F(CliSettingsTest, InstalledProgramSaysWhyItHasNoSettings)
{
    const std::string exe = placeProgram("usr/bin");
    std::filesystem::create_directories(dir / "usr/share/qmxread");
    clitest::writeFile(dir / "usr/share/qmxread/QMXRead.ini",
                       "[QMXREAD_PARAMETERS]\r\nHost=" + std::string(20000, 'h') + "\r\n");
    const std::string ini = (dir / "fresh/qmxread/QMXRead.ini").string();
    ::setenv("XDG_CONFIG_HOME", (dir / "fresh").c_str(), 1);
    const auto r = run(
        {"-c", "ulimit -f 8 && exec \"$0\" \"$@\"", exe, "analyze", data("small.txt")}, "/bin/sh");
    ::unsetenv("XDG_CONFIG_HOME");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "qmxread-cli: warning: No rules run: no settings file found at \"" + ini
                         + "\". Cannot write file \"" + ini + "\": File too large\n");
    EXPECT_TRUE(std::filesystem::is_empty(dir / "fresh/qmxread")) << "a temporary file is left";
}

TEST_F(CliSettingsTest, VersionComesFromTheProjectVersion)
{
    const auto r = run({"--version"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out.substr(0, r.out.find('\n')),
              std::string("qmxread-cli ") + qmx::programVersion());
    EXPECT_NE(std::string(qmx::programVersion()), "0.0.0");
    EXPECT_EQ(run({"report", "--version"}).status, 2);
}

} // namespace
