// Which settings file qmxread-cli uses, what it says when no rules run, and
// its --version and --help texts.
#include "clirun.h"

#include "setup/programinfo.h"

#include <sys/stat.h>

#include <cstdlib>

using clitest::CliTest;

namespace {

// Sets an environment variable for one test (the child inherits it) and
// restores the old value at the end.
class EnvGuard {
public:
    EnvGuard(const char* name, const char* value) : name_(name)
    {
        if (const char* old = std::getenv(name))
            old_ = old;
        had_ = std::getenv(name) != nullptr;
        value ? ::setenv(name, value, 1) : ::unsetenv(name);
    }
    ~EnvGuard() { had_ ? ::setenv(name_, old_.c_str(), 1) : ::unsetenv(name_); }

private:
    const char* name_;
    std::string old_;
    bool had_ = false;
};

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
    };
    const std::string emptySet = "[QMXREAD_PARAMETERS]\r\nDefault_Rule_Set=Blank\r\n\r\n"
                                 "[RULE_LIST_SETTINGS]\r\nCount=1\r\n0=Blank\r\n\r\n[Blank]\r\nCount=2\r\n0= \r\n1=\r\n";
    const Case cases[] = {
        {"no settings file", nullptr, {"analyze", report},
         "qmxread-cli: warning: No rules run: no settings file found at \"" + ini + "\"\n", 0},
        {"two reports, still one line", nullptr, {"analyze", report, report},
         "qmxread-cli: warning: No rules run: no settings file found at \"" + ini + "\"\n", 0},
        {"missing report keeps status 1", nullptr, {"analyze", report, (dir / "none.txt").string()},
         "qmxread-cli: warning: No rules run: no settings file found at \"" + ini + "\"\n"
         "qmxread-cli: Cannot open file " + (dir / "none.txt").string() + "\n", 1},
        {"no rules asked for", nullptr, {"analyze", "--no-rules", report}, "", 0},
        {"empty rule set", emptySet.c_str(), {"analyze", report},
         "qmxread-cli: warning: No rules run: the rule set \"Blank\" in \"" + ini + "\" is empty\n", 0},
        {"variables stays quiet", nullptr, {"variables", report}, "", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove(ini);
        if (c.settings)
            clitest::writeFile(ini, c.settings);
        const auto r = run(c.args, exe);
        EXPECT_EQ(r.status, c.status);
        if (c.status == 0 || c.err.find("Cannot open") == std::string::npos)
            EXPECT_EQ(r.err, c.err);
        else
            EXPECT_EQ(r.err.substr(0, r.err.find('\n') + 1), c.err.substr(0, c.err.find('\n') + 1));
    }
}

TEST_F(CliSettingsTest, InstalledProgramSeedsThePerUserSettings)
{
    const std::string exe = placeProgram("root/usr/bin");
    std::filesystem::create_directories(dir / "root/usr/share/qmxread");
    clitest::writeFile(dir / "root/usr/share/qmxread/QMXRead.ini", clitest::readFile(data("rules.ini")));
    const EnvGuard home("HOME", (dir / "home").c_str());
    const EnvGuard xdg("XDG_CONFIG_HOME", nullptr);
    const auto seeded = dir / "home/.config/qmxread/QMXRead.ini";

    auto r = run({"--help"}, exe);
    EXPECT_NE(r.out.find("Settings file in use: " + seeded.string() + "\n"), std::string::npos) << r.out;
    EXPECT_FALSE(std::filesystem::exists(seeded)); // --help only tells

    r = run({"analyze", data("small.txt")}, exe);
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.out, "CHECKS RAN ON PC-\u00c9T\u00c9\n\n");
    EXPECT_EQ(clitest::readFile(seeded), clitest::readFile(data("rules.ini")));

    // The user's own settings stay as they are on later runs.
    clitest::writeFile(seeded, clitest::readFile(data("rules.ini")) + "[Mine]\r\nCount=1\r\n0=PRINT \"mine\";\r\n");
    r = run({"analyze", "--rule-set", "mine", data("small.txt")}, exe);
    EXPECT_EQ(r.out, "MINE\n\n");

    // XDG_CONFIG_HOME moves it; --settings overrides it.
    const EnvGuard xdg2("XDG_CONFIG_HOME", (dir / "cfg").c_str());
    r = run({"analyze", data("small.txt")}, exe);
    EXPECT_TRUE(std::filesystem::exists(dir / "cfg/qmxread/QMXRead.ini"));
    // --help first ends the command line: what follows is not read.
    r = run({"--help", "--settings", "x.ini"}, exe);
    EXPECT_NE(r.out.find("Settings file in use: " + (dir / "cfg/qmxread/QMXRead.ini").string() + "\n"),
              std::string::npos) << r.out;
    r = run({"analyze", "--settings", data("rules.ini"), "--help"}, exe);
    EXPECT_NE(r.out.find("Settings file in use: " + data("rules.ini") + "\n"), std::string::npos) << r.out;
}

TEST_F(CliSettingsTest, VersionComesFromTheProjectVersion)
{
    const auto r = run({"--version"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out.substr(0, r.out.find('\n')), std::string("qmxread-cli ") + qmx::programVersion());
    EXPECT_NE(std::string(qmx::programVersion()), "0.0.0");
    EXPECT_EQ(run({"report", "--version"}).status, 2);
}

} // namespace
