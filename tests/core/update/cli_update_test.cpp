// `qmxread-cli update` as a script runs it: status lines on stdout, the
// status-bar text of a failure on stderr, exit statuses.
#include "../cli/clirun.h"
#include "fakeftp.h"

#include <csignal>

using clitest::CliTest;

namespace {

std::string settings(uint16_t port, const std::string& portText = "")
{
    return "[QMXREAD_PARAMETERS]\r\nHost=127.0.0.1\r\nPort="
           + (portText.empty() ? std::to_string(port) : portText)
           + "\r\nUser_Name=tester\r\nPassword=secret\r\nDirectory=incoming\r\nTimeout=3000\r\n";
}

class CliUpdate : public CliTest {
protected:
    void SetUp() override
    {
        CliTest::SetUp();
        std::filesystem::create_directories(dir / "served" / "incoming");
        std::filesystem::create_directories(dir / "out");
        clitest::writeFile(dir / "served" / "incoming" / "QMXRead.ini", "[A]\r\nB=1\r\n");
        clitest::writeFile(dir / "served" / "incoming" / "QMXScan.ini", "[S]\r\n");
    }
};

} // namespace

TEST_F(CliUpdate, FetchesFromARealServer)
{
    qmx::test::PyFtpServer server((dir / "served").string(), "tester", "secret");
    const std::string ini = temp("QMXRead.ini", settings(server.port()));
    const struct {
        std::vector<std::string> extra;
        std::vector<std::string> lines;
        bool read, scan;
    } cases[] = {
        // clang-format off
        {{}, {"Connecting", "Changing Directory", "Retrieving File QMXRead.ini", "Retrieving File QMXScan.ini",
              "Disconnecting"}, true, true},
        {{"--only", "QMXScan.ini"}, {"Connecting", "Changing Directory", "Retrieving File QMXScan.ini",
                                     "Disconnecting"}, false, true},
        {{"--only=QMXRead.ini"}, {"Connecting", "Changing Directory", "Retrieving File QMXRead.ini",
                                  "Disconnecting"}, true, false},
        // clang-format on
    };
    for (const auto& c : cases) {
        std::filesystem::remove_all(dir / "out");
        std::filesystem::create_directories(dir / "out");
        std::vector<std::string> args{"update", "--settings", ini, "--dir", (dir / "out").string()};
        args.insert(args.end(), c.extra.begin(), c.extra.end());
        const auto r = run(args);
        EXPECT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(clitest::splitLines(r.out), c.lines);
        EXPECT_EQ(std::filesystem::exists(dir / "out" / "QMXRead.ini"), c.read);
        EXPECT_EQ(std::filesystem::exists(dir / "out" / "QMXScan.ini"), c.scan);
    }
}

TEST_F(CliUpdate, FailuresAndUsage)
{
    const uint16_t closed = qmx::test::closedPort();
    const struct {
        std::string ini;
        std::vector<std::string> extra;
        int status;
        std::string err;
    } cases[] = {
        {settings(closed), {}, 1, "10061: Connection refused\n"},
        {settings(closed, "2l"), {}, 1, "'2l' is not a valid integer value\n"},
        {settings(closed), {"--only", "QMXRead.exe"}, 2, ""},
        {settings(closed), {"--dir"}, 2, ""},
        {settings(closed), {"extra"}, 2, ""},
        // Refused before anything is sent: empty values, a target that is no directory.
        {settings(closed), {"--settings="}, 2, ""},
        {settings(closed), {"--dir", ""}, 2, ""},
        {settings(closed), {"--only", ""}, 2, ""},
        {settings(closed), {"--dir", (dir / "QMXRead.ini").string()}, 2, ""},
        {settings(closed), {"--dir", (dir / "out" / "none").string()}, 2, ""},
        {settings(closed),
         {"--dir", (dir / "out").string() + "/"},
         1,
         "10061: Connection refused\n"},
    };
    for (const auto& c : cases) {
        std::vector<std::string> args{"update", "--settings", temp("QMXRead.ini", c.ini)};
        args.insert(args.end(), c.extra.begin(), c.extra.end());
        const auto r = run(args);
        EXPECT_EQ(r.status, c.status) << r.err;
        if (c.status == 2) {
            EXPECT_EQ(r.out, "");
            EXPECT_NE(r.err.find("Usage:"), std::string::npos) << r.err;
        }
        if (!c.err.empty()) {
            EXPECT_EQ(r.err, c.err);
        }
    }
    const auto missing = run({"update", "--settings", (dir / "none.ini").string()});
    EXPECT_EQ(missing.status, 1);
}

TEST_F(CliUpdate, CtrlCDuringADownloadLeavesNoPartialFile)
{
    const auto slow = qmx::test::paced(
        qmx::test::sendData("150 Sending.\r\n", std::string(200, 'n'), "226 Done.\r\n"), 1, 20);
    qmx::test::FakeFtpServer server(
        qmx::test::say("220 hi\r\n"),
        qmx::test::serveFiles({{"QMXRead.ini", "new"}}, {{"RETR", slow}}));
    clitest::writeFile(dir / "out" / "QMXRead.ini", "old");
    std::signal(SIGINT, SIG_DFL); // as from a terminal, also when the tests run in the background
    const auto r =
        run({"--preserve-status", "-s", "INT", "1", QMX_CLI_PATH, "update", "--settings",
             temp("QMXRead.ini", settings(server.port())), "--dir", (dir / "out").string()},
            "/usr/bin/timeout");
    EXPECT_EQ(r.status, 130);
    EXPECT_EQ(r.err, "Socket readln aborted\n"); // ended by the program, not by the signal
    EXPECT_EQ(clitest::readFile(dir / "out" / "QMXRead.ini"), "old");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir / "out"), {}), 1);
}
