// The FTP client and the update sequence against servers on 127.0.0.1: the
// scripted fake for exact exchanges and hostile replies, pyftpdlib for a
// whole update from a real server.
#include "fakeftp.h"
#include "tempdir.h"

#include "core/update/update.h"
#include "core/util/error.h"
#include "core/util/fileio.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>
#include <utility>

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
    std::string error; // empty after success
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
    FakeFtpServer server(reply("220 hi"),
                         serveFiles({{"QMXRead.ini", kRead}, {"QMXScan.ini", kScan}}));
    const Outcome o = update(request(server.port()));
    ASSERT_EQ(o.error, "");
    EXPECT_EQ(o.statuses, (std::vector<std::string>{
                              "Connecting", "Changing Directory", "Retrieving File QMXRead.ini",
                              "Retrieving File QMXScan.ini", "Disconnecting", ""}));
    std::vector<std::string> verbs;
    for (const auto& c : server.commands()) {
        if (c.rfind("PORT 127,0,0,1,", 0) == 0)
            verbs.push_back("PORT");
        else
            verbs.push_back(c);
    }
    EXPECT_EQ(verbs, (std::vector<std::string>{"USER anonymous", "PASS me@example", "CWD incoming",
                                               "PORT", "NLST", "PORT", "RETR QMXRead.ini", "PORT",
                                               "RETR QMXScan.ini", "QUIT"}));
    EXPECT_EQ(local("QMXRead.ini"), kRead);
    EXPECT_EQ(local("QMXScan.ini"), kScan);
    EXPECT_FALSE(client.connected());
}

TEST_F(FtpUpdate, MultiLineGreetingIsReadWholeAnd230SkipsPassword)
{
    FakeFtpServer server(
        say("220-Welcome\r\n220-to 220 the fake\r\n second 331 line\r\n220 ready\r\n"),
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
    r.host = "files.example.invalid"; // never looked up: the proxy is the target
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
        {"USER", "530 Not you.", true}, {"USER", "400 odd", false},  {"USER", "401 Busy", true},
        {"PASS", "530 Wrong.", true},   {"PASS", "600 odd", false},  {"CWD", "550 No dir.", true},
        {"CWD", "400 Busy", true},      {"CWD", "399 odd", false},   {"PORT", "500 No PORT.", true},
        {"PORT", "301 odd", true},      {"PORT", "300 odd", false},  {"NLST", "550 No list.", true},
        {"RETR", "550 Gone.", true},    {"QUIT", "500 Stay.", true}, {"QUIT", "300 ok", false},
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
    FakeFtpServer server(
        reply("220 hi"),
        serveFiles({{"qmxread.ini", "lower"}, {"QMXScan.ini.bak", "no"}, {"QMXRead.ini", kRead}}));
    const Outcome o = update(request(server.port()));
    ASSERT_EQ(o.error, "");
    int retr = 0;
    for (const auto& c : server.commands())
        if (c.rfind("RETR", 0) == 0) {
            EXPECT_EQ(c, "RETR QMXRead.ini");
            ++retr;
        }
    EXPECT_EQ(retr, 2); // once per listed spelling
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
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
        std::chrono::steady_clock::now() - start);
    EXPECT_EQ(o.error, "10060: Connection timed out");
    EXPECT_GE(ms.count(), 290);
    EXPECT_LT(ms.count(), 2000);
    EXPECT_GT(pumps, 20); // events kept running while waiting
    EXPECT_FALSE(client.connected());
}

FakeStep retr(std::string data, std::string final = "226 Done.\r\n")
{
    return sendData("150 Sending.\r\n", std::move(data), std::move(final));
}

TEST_F(FtpUpdate, HostileServersNeverReplaceTheFileWithABrokenOne)
{
    const std::string big(300000, 'n');
    FakeStep intruded = retr(kRead), reset = retr(big, "426 Aborted.\r\n"), flood;
    intruded.intruder = "[QMXREAD_PARAMETERS]\r\nHost=evil\r\n";
    reset.resetData = true;
    flood.flood = true;
    const struct {
        const char* name;
        FakeStep greeting = reply("220 hi");
        std::map<std::string, FakeStep> over = {};
        int timeoutMs = 3000;
        uint64_t cap = kMaxReadFileSize;
        std::string error = {};
        std::string settings = "old"; // QMXRead.ini afterwards
        bool connected = false;
        int told = 0; // settings-written calls
        int minMs = 0, maxMs = 2500;
    } cases[] = {
        // clang-format off
        {.name = "preliminary reply, then a refusal",
         .over = {{"RETR", retr(kRead.substr(0, 20), "150 More.\r\n451 Local error.\r\n")}},
         .error = "451 Local error.", .connected = true},
        {.name = "refusal after the download", .over = {{"QUIT", reply("500 Stay.")}}, .error = "500 Stay.",
         .settings = kRead, .told = 1},
        {.name = "reset data connection", .over = {{"RETR", reset}}, .error = "10054: Connection reset by peer"},
        {.name = "no final reply", .over = {{"RETR", retr("partial", "")}}, .timeoutMs = 500,
         .error = "10060: Connection timed out"},
        {.name = "greeting lines split across reads", .greeting = paced(say("220-a\r\n530-b\r\n530-c\r\n220 c\r\n"), 7, 100),
         .settings = kRead, .told = 1},
        {.name = "endless reply line", .greeting = flood, .error = "10040: Message too long"},
        {.name = "continuation lines dripping past the time-out",
         .over = {{"USER", paced(say("331-a\r\n331-b\r\n331-c\r\n331-d\r\n331 e\r\n"), 6, 120)}}, .timeoutMs = 300,
         .error = "10060: Connection timed out", .minMs = 250, .maxMs = 1200},
        {.name = "data dripping below the least rate", .over = {{"RETR", paced(retr(kRead), 1, 60)}}, .timeoutMs = 1500,
         .error = "10060: Connection timed out", .minMs = 2000, .maxMs = 4000},
        {.name = "data at a fair rate over several windows",
         .over = {{"RETR", paced(retr(big), 60000, 150)}}, .timeoutMs = 400, .settings = big, .told = 1,
         .minMs = 600},
        {.name = "data from another address first", .over = {{"RETR", intruded}}, .settings = kRead, .told = 1},
        {.name = "download over the size limit", .over = {{"RETR", retr(big)}}, .cap = big.size() - 1,
         .error = "File \"QMXRead.ini\" is too large: it exceeds the limit of 299999 bytes"},
        {.name = "download of exactly the size limit", .over = {{"RETR", retr(big)}}, .cap = big.size(),
         .settings = big, .told = 1},
        {.name = "listing line over the limit", .over = {{"NLST", retr(std::string(kMaxReplyLine + 1, 'n'))}},
         .error = "10040: Message too long"},
        {.name = "greeting ends the session", .greeting = reply("421 Busy."), .error = "421 Busy."},
        {.name = "login refused", .over = {{"PASS", reply("530 Wrong.")}}, .error = "530 Wrong."},
        {.name = "no time-out uses the default wait", .greeting = FakeStep{}, .timeoutMs = 0,
         .error = "10060: Connection timed out", .minMs = 4900, .maxMs = 6000},
        // clang-format on
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        writeBytes(dir.file("QMXRead.ini"), "old");
        FakeFtpServer server(c.greeting, serveFiles({{"QMXRead.ini", kRead}}, c.over));
        client.maxFileSize = c.cap; // a client left connected logs in to the next server afresh
        std::vector<std::string> names;
        std::string error;
        int told = 0;
        const auto start = std::chrono::steady_clock::now();
        try {
            CountingProgress quiet;
            runUpdate(client, request(server.port(), c.timeoutMs), names, quiet,
                      [&](const std::string& path) { told += readBytes(path) == c.settings; });
        } catch (const Error& e) {
            error = e.what();
        }
        const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
            std::chrono::steady_clock::now() - start);
        EXPECT_EQ(error, c.error);
        EXPECT_TRUE(local("QMXRead.ini") == c.settings); // the file may be large: not printed
        EXPECT_EQ(client.connected(), c.connected);
        EXPECT_EQ(told, c.told);
        EXPECT_GE(ms.count(), c.minMs);
        EXPECT_LE(ms.count(), c.maxMs);
        // No temporary file is left behind.
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
    }
}

TEST_F(FtpUpdate, RefusedConnection)
{
    EXPECT_EQ(update(request(closedPort())).error, "10061: Connection refused");
    EXPECT_FALSE(client.connected());
}

TEST_F(FtpUpdate, NextUpdateLogsInAfreshUnlessTheSessionLives)
{
    FakeStep refused = reply("550 Not yet."), closing = refused;
    closing.hangUp = true;
    const struct {
        const char* name;
        FakeStep firstCwd;
        bool newHost; // the second update names the server anew
        bool connectedBetween;
        int connections;
    } cases[] = {
        {"refusal keeps the session", refused, false, true, 1},
        {"421 ends the session", reply("421 Closing."), false, false, 2},
        {"server closed the idle session", closing, false, true, 2},
        {"host changed", refused, true, true, 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        bool first = true;
        const auto script = serveFiles({{"QMXScan.ini", kScan}});
        FakeFtpServer server(reply("220 hi"), [&](const std::string& cmd) {
            return cmd.rfind("CWD", 0) == 0 && std::exchange(first, false) ? c.firstCwd
                                                                           : script(cmd);
        });
        FtpClient fresh;
        UpdateRequest r = request(server.port());
        std::vector<std::string> names;
        CountingProgress quiet;
        EXPECT_THROW(runUpdate(fresh, r, names, quiet), Error);
        EXPECT_EQ(fresh.connected(), c.connectedBetween);
        // A server's hang-up reaches the client a moment after its reply.
        for (int i = 0; i < 200 && c.firstCwd.hangUp && server.ended() == 0; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        if (c.newHost)
            r.host = "localhost";
        EXPECT_NO_THROW(runUpdate(fresh, r, names, quiet));
        EXPECT_EQ(server.connections(), c.connections);
    }
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
    FakeFtpServer server(reply("220 hi"),
                         serveFiles({{"QMXRead.ini", kRead}, {"QMXScan.ini", kScan}}));
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
    r.timeoutMs = 8000; // the server answers a wrong password after 3 s
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
        std::string error = {};
        try {
            makeUpdateRequest(f);
        } catch (const Error& e) {
            error = e.what();
        }
        EXPECT_EQ(error, c.error) << c.port << "|" << c.proxyPort << "|" << c.timeout;
    }
}
