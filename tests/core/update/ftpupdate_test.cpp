// The FTP client and the update sequence against servers on 127.0.0.1: the
// scripted fake for exact exchanges and hostile replies, pyftpdlib for a
// whole update from a real server.
#include "fakeftp.h"
#include "tempdir.h"

#include "update/update.h"
#include "util/error.h"
#include "util/fileio.h"

#include <gtest/gtest.h>

#include <chrono>

using namespace qmx;
using namespace qmx::test;

namespace {

const std::string kRead = "[QMXREAD_PARAMETERS]\r\nHost=fetched.example\r\n";
const std::string kScan = "[SCAN]\r\nA=1\r\n";

// Keeps every status text, in order.
class StatusLog : public CountingProgress {
public:
    std::vector<std::string> texts;
    void setStatus(const std::string& text) override { texts.push_back(text); }
};

struct Outcome {
    std::vector<std::string> statuses;
    std::vector<std::string> names;
    std::string error;  // empty after success
};

class FtpUpdate : public ::testing::Test {
protected:
    UpdateRequest request(uint16_t port, int timeoutMs = 3000) const
    {
        UpdateRequest r;
        r.host = "127.0.0.1";
        r.port = port;
        r.user = "anonymous";
        r.password = "me@example";
        r.directory = "incoming";
        r.timeoutMs = timeoutMs;
        r.targetDir = dir.path().string() + "/";
        return r;
    }
    Outcome update(const UpdateRequest& r)
    {
        Outcome o;
        StatusLog log;
        try {
            runUpdate(client, r, o.names, log);
        } catch (const Error& e) {
            o.error = e.what();
        }
        o.statuses = log.texts;
        return o;
    }
    std::string local(const std::string& name) const { return readBytes(dir.file(name)); }

    TempDir dir;
    FtpClient client;
};

FakeStep reply(const std::string& text)
{
    return say(text + "\r\n");
}

} // namespace

TEST_F(FtpUpdate, FullExchangeSendsExactlyTheseCommands)
{
    FakeFtpServer server(reply("220 hi"), serveFiles({{"QMXRead.ini", kRead}, {"QMXScan.ini", kScan}}));
    const Outcome o = update(request(server.port()));
    ASSERT_EQ(o.error, "");
    EXPECT_EQ(o.statuses, (std::vector<std::string>{"Connecting", "Changing Directory",
                                                     "Retrieving File QMXRead.ini",
                                                     "Retrieving File QMXScan.ini", "Disconnecting", ""}));
    std::vector<std::string> verbs;
    for (const auto& c : server.commands()) {
        if (c.rfind("PORT 127,0,0,1,", 0) == 0)
            verbs.push_back("PORT");
        else
            verbs.push_back(c);
    }
    EXPECT_EQ(verbs, (std::vector<std::string>{"USER anonymous", "PASS me@example", "CWD incoming", "PORT",
                                                "NLST", "PORT", "RETR QMXRead.ini", "PORT",
                                                "RETR QMXScan.ini", "QUIT"}));
    EXPECT_EQ(local("QMXRead.ini"), kRead);
    EXPECT_EQ(local("QMXScan.ini"), kScan);
    EXPECT_FALSE(client.connected());
}

TEST_F(FtpUpdate, MultiLineGreetingIsReadWholeAnd230SkipsPassword)
{
    FakeFtpServer server(say("220-Welcome\r\n220-to 220 the fake\r\n second 331 line\r\n220 ready\r\n"),
                         serveFiles({}, {{"USER", say("230-No password\r\n230 needed\r\n")}}));
    const Outcome o = update(request(server.port()));
    ASSERT_EQ(o.error, "");
    const auto cmds = server.commands();
    ASSERT_GE(cmds.size(), 2u);
    EXPECT_EQ(cmds[0], "USER anonymous");
    EXPECT_EQ(cmds[1], "CWD incoming");
}

TEST_F(FtpUpdate, ProxyGetsUserAtServerHost)
{
    FakeFtpServer server(reply("220 proxy"), serveFiles({}));
    UpdateRequest r = request(closedPort());
    r.host = "files.example.invalid";  // never looked up: the proxy is the target
    r.proxyHost = "127.0.0.1";
    r.proxyPort = server.port();
    ASSERT_EQ(update(r).error, "");
    EXPECT_EQ(server.commands().at(0), "USER anonymous@files.example.invalid");
}

TEST_F(FtpUpdate, RefusalsStopWithTheReplyLine)
{
    const struct {
        const char* verb;
        const char* line;
        bool refused;
    } cases[] = {
        {"USER", "530 Not you.", true},   {"USER", "400 odd", false},   {"USER", "401 Busy", true},
        {"PASS", "530 Wrong.", true},     {"PASS", "600 odd", false},   {"CWD", "550 No dir.", true},
        {"CWD", "400 Busy", true},        {"CWD", "399 odd", false},    {"PORT", "500 No PORT.", true},
        {"PORT", "301 odd", true},        {"PORT", "300 odd", false},   {"NLST", "550 No list.", true},
        {"RETR", "550 Gone.", true},      {"QUIT", "500 Stay.", true},  {"QUIT", "300 ok", false},
    };
    for (const auto& c : cases) {
        std::map<std::string, FakeStep> over{{c.verb, reply(c.line)}};
        FakeFtpServer server(reply("220 hi"), serveFiles({{"QMXRead.ini", kRead}}, over));
        FtpClient fresh;
        Outcome o;
        try {
            CountingProgress quiet;
            runUpdate(fresh, request(server.port()), o.names, quiet);
        } catch (const Error& e) {
            o.error = e.what();
        }
        EXPECT_EQ(o.error, c.refused ? c.line : "") << c.verb << " " << c.line;
    }
}

TEST_F(FtpUpdate, ListedNameInAnyCaseIsFetchedUnderItsOwnSpelling)
{
    FakeFtpServer server(reply("220 hi"),
                         serveFiles({{"qmxread.ini", "lower"}, {"QMXScan.ini.bak", "no"}, {"QMXRead.ini", kRead}}));
    const Outcome o = update(request(server.port()));
    ASSERT_EQ(o.error, "");
    int retr = 0;
    for (const auto& c : server.commands())
        if (c.rfind("RETR", 0) == 0) {
            EXPECT_EQ(c, "RETR QMXRead.ini");
            ++retr;
        }
    EXPECT_EQ(retr, 2);  // once per listed spelling
    EXPECT_EQ(local("QMXRead.ini"), kRead);
    EXPECT_FALSE(fileExists(dir.file("QMXScan.ini")));
}

TEST_F(FtpUpdate, SilentServerTimesOutWithinTheLimit)
{
    FakeFtpServer server(FakeStep{}, serveFiles({}));
    int pumps = 0;
    client.setWait([&] { ++pumps; });
    const auto start = std::chrono::steady_clock::now();
    const Outcome o = update(request(server.port(), 300));
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start);
    EXPECT_EQ(o.error, "10060: Connection timed out");
    EXPECT_GE(ms.count(), 290);
    EXPECT_LT(ms.count(), 2000);
    EXPECT_GT(pumps, 20);  // events kept running while waiting
    EXPECT_FALSE(client.connected());
}

TEST_F(FtpUpdate, EndlessReplyLineIsAnError)
{
    FakeStep flood;
    flood.flood = true;
    FakeFtpServer server(flood, serveFiles({}));
    EXPECT_EQ(update(request(server.port())).error, "10040: Message too long");
}

TEST_F(FtpUpdate, BrokenTransferKeepsTheOldFile)
{
    const std::string big(300000, 'n');
    const struct {
        FakeStep retr;
        const char* error;
    } cases[] = {
        {sendData("150 Sending.\r\n", big, "426 Aborted.\r\n", true), "10054: Connection reset by peer"},
        {sendData("150 Sending.\r\n", "partial", "426 Transfer aborted.\r\n"), "426 Transfer aborted."},
        {sendData("150 Sending.\r\n", "partial", ""), "10060: Connection timed out"},
    };
    for (const auto& c : cases) {
        writeBytes(dir.file("QMXRead.ini"), "old");
        FakeFtpServer server(reply("220 hi"), serveFiles({{"QMXRead.ini", kRead}}, {{"RETR", c.retr}}));
        FtpClient fresh;
        std::vector<std::string> names;
        try {
            CountingProgress quiet;
            runUpdate(fresh, request(server.port(), 500), names, quiet);
            ADD_FAILURE() << "no error for " << c.error;
        } catch (const Error& e) {
            EXPECT_EQ(std::string(e.what()), c.error);
        }
        EXPECT_EQ(local("QMXRead.ini"), "old");
        // No temporary file is left behind either.
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
    }
}

TEST_F(FtpUpdate, RefusedConnection)
{
    EXPECT_EQ(update(request(closedPort())).error, "10061: Connection refused");
    EXPECT_FALSE(client.connected());
}

TEST_F(FtpUpdate, RefusalAfterLoginKeepsTheConnectionForTheNextUpdate)
{
    bool refuse = true;
    FakeFtpServer server(reply("220 hi"), [&](const std::string& cmd) -> FakeStep {
        if (cmd.rfind("CWD", 0) == 0 && refuse) {
            refuse = false;
            return reply("550 Not yet.");
        }
        return serveFiles({{"QMXScan.ini", kScan}})(cmd);
    });
    EXPECT_EQ(update(request(server.port())).error, "550 Not yet.");
    EXPECT_TRUE(client.connected());
    EXPECT_EQ(update(request(server.port())).error, "");
    EXPECT_EQ(server.connections(), 1);
    int users = 0;
    for (const auto& c : server.commands())
        users += c.rfind("USER", 0) == 0;
    EXPECT_EQ(users, 1);
}

TEST_F(FtpUpdate, CancelEndsAWaitAndCommandsNeedAConnection)
{
    FakeFtpServer server(FakeStep{}, serveFiles({}));
    int pumps = 0;
    CountingProgress progress;
    client.setWait(
        [&] {
            if (++pumps == 5)
                progress.requestCancel();
        },
        &progress);
    EXPECT_EQ(update(request(server.port(), 0)).error, "Socket readln aborted");
    FtpClient idle;
    EXPECT_THROW(idle.changeDir("x"), Error);
    try {
        idle.listNames([](const std::string&) {});
    } catch (const Error& e) {
        EXPECT_STREQ(e.what(), "Not Connected");
    }
}

TEST_F(FtpUpdate, OnlyChosenFilesAndEmptyDirectory)
{
    FakeFtpServer server(reply("220 hi"), serveFiles({{"QMXRead.ini", kRead}, {"QMXScan.ini", kScan}}));
    UpdateRequest r = request(server.port());
    r.fetchSettings = false;
    r.directory = "";
    ASSERT_EQ(update(r).error, "");
    EXPECT_EQ(server.commands().at(2), "CWD ");
    EXPECT_FALSE(fileExists(dir.file("QMXRead.ini")));
    EXPECT_EQ(local("QMXScan.ini"), kScan);
}

TEST_F(FtpUpdate, RealServerFetchesBothFiles)
{
    TempDir served;
    std::filesystem::create_directory(served.path() / "incoming");
    writeBytes((served.path() / "incoming" / "QMXRead.ini").string(), kRead);
    writeBytes((served.path() / "incoming" / "QMXScan.ini").string(), kScan);
    PyFtpServer server(served.path().string(), "tester", "secret");
    UpdateRequest r = request(server.port());
    r.user = "tester";
    r.password = "secret";
    const Outcome o = update(r);
    ASSERT_EQ(o.error, "");
    EXPECT_EQ(o.names.size(), 2u);
    EXPECT_EQ(local("QMXRead.ini"), kRead);
    EXPECT_EQ(local("QMXScan.ini"), kScan);
    r.password = "wrong";
    r.timeoutMs = 8000;  // the server answers a wrong password after 3 s
    EXPECT_EQ(update(r).error.substr(0, 4), "530 ");
}

TEST(FtpUpdateRequest, NumberFields)
{
    const struct {
        const char *port, *proxyPort, *timeout;
        bool useProxy;
        const char* error;
    } cases[] = {
        {"21", "0", "5000", false, ""},
        {"abc", "0", "5000", false, "'abc' is not a valid integer value"},
        {"21 ", "0", "5000", false, "'21 ' is not a valid integer value"},
        {"21", "x", "5000", false, ""},
        {"21", "x", "5000", true, "'x' is not a valid integer value"},
        {"21", "0", "5s", false, "'5s' is not a valid integer value"},
        {"", "0", "5000", false, "'' is not a valid integer value"},
        {"65535", "0", "5000", false, ""},
        {"65536", "0", "5000", false, "'65536' is not a valid port number"},
        {"-1", "0", "5000", false, "'-1' is not a valid port number"},
    };
    for (const auto& c : cases) {
        FtpFields f;
        f.port = c.port;
        f.proxyPort = c.proxyPort;
        f.timeout = c.timeout;
        f.useProxy = c.useProxy;
        std::string error;
        try {
            makeUpdateRequest(f);
        } catch (const Error& e) {
            error = e.what();
        }
        EXPECT_EQ(error, c.error) << c.port << "|" << c.proxyPort << "|" << c.timeout;
    }
}

TEST_F(FtpUpdate, SettingsWrittenIsToldBeforeALaterFailure)
{
    const struct {
        const char* name;
        std::map<std::string, std::string> files;
        std::map<std::string, FakeStep> over;
        bool refuseScan;
        int told;
        const char* error;
    } cases[] = {
        {"both fetched", {{"QMXRead.ini", kRead}, {"QMXScan.ini", kScan}}, {}, false, 1, ""},
        {"scan refused", {{"QMXRead.ini", kRead}, {"QMXScan.ini", kScan}}, {}, true, 1, "550 Gone."},
        {"quit refused", {{"QMXRead.ini", kRead}}, {{"QUIT", reply("500 Stay.")}}, false, 1, "500 Stay."},
        {"not listed", {{"QMXScan.ini", kScan}}, {}, false, 0, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto script = serveFiles(c.files, c.over);
        FakeFtpServer server(reply("220 hi"), [&](const std::string& cmd) {
            return c.refuseScan && cmd == "RETR QMXScan.ini" ? reply("550 Gone.") : script(cmd);
        });
        FtpClient fresh;
        std::vector<std::string> names, seen;
        std::string error;
        try {
            CountingProgress quiet;
            runUpdate(fresh, request(server.port()), names, quiet,
                      [&](const std::string& path) { seen.push_back(readBytes(path)); });
        } catch (const Error& e) {
            error = e.what();
        }
        EXPECT_EQ(error, c.error);
        EXPECT_EQ(seen, std::vector<std::string>(c.told, kRead));
    }
}
