// Reply lines, reply codes, continuation lines, listing lines and the
// socket error texts, each over a table of inputs.
#include "core/update/ftpreply.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <netdb.h>

using namespace qmx;

TEST(FtpReply, CodeIsTheLeadingDigitsUpToTen)
{
    const struct {
        const char* line;
        long long code;
    } cases[] = {
        {"220 ready", 220},
        {"", 0},
        {"abc 220", 0},
        {"5", 5},
        {"0220 x", 220},
        {"12345678901 x", 1234567890},
        {"9999999999", 9999999999LL},
        {"331-more", 331},
        {" 230", 0},
        {"200\r", 200},
    };
    for (const auto& c : cases)
        EXPECT_EQ(replyCode(c.line), c.code) << c.line;
}

TEST(FtpReply, ContinuationLines)
{
    const struct {
        const char* line;
        bool more;
    } cases[] = {
        {"220-Welcome", true}, {"220 Welcome", false}, {" indented", true}, {"22-x", false},
        {"2200-x", false},     {"abc-", true},         {"", false},         {"220", false},
        {"---", false},        {"----", true},
    };
    for (const auto& c : cases)
        EXPECT_EQ(isContinuation(c.line), c.more) << c.line;
}

TEST(FtpReply, BufferCutsLinesAtLineFeedAcrossChunks)
{
    ReplyBuffer b;
    b.append("220 a\r");
    EXPECT_FALSE(b.takeLine());
    b.append("\n230 b\n\r\n331 c");
    EXPECT_EQ(b.takeLine(), "220 a");
    EXPECT_EQ(b.takeLine(), "230 b");
    EXPECT_EQ(b.takeLine(), "");
    EXPECT_FALSE(b.takeLine());
    EXPECT_FALSE(b.empty());
    b.append("\r\r\n");
    EXPECT_EQ(b.takeLine(), "331 c\r");
    EXPECT_TRUE(b.empty());
}

TEST(FtpReply, BufferLimitsAnUnfinishedLine)
{
    ReplyBuffer b;
    b.append(std::string(kMaxReplyLine, 'x'));
    EXPECT_FALSE(b.overLimit());
    b.append("y");
    EXPECT_TRUE(b.overLimit());
    // A long line that did end is still taken whole.
    b.append("\n");
    EXPECT_EQ(b.takeLine()->size(), kMaxReplyLine + 1);
    EXPECT_FALSE(b.overLimit());
}

TEST(FtpReply, ListingLines)
{
    const std::string full(kMaxReplyLine, 'n'); // the longest line taken
    const struct {
        std::vector<std::string> chunks;
        std::vector<std::string> lines;
        bool over = false; // the unfinished line is too long
    } cases[] = {
        {{full + "\r", "\nb"}, {full, "b"}},
        {{full, "\r"}, {full + "\r"}},
        {{full, "n"}, {full + "n"}, true},
        {{full.substr(1) + "\rn"}, {full.substr(1) + "\rn"}, true},
        {{"a\r\nb\nc"}, {"a", "b", "c"}},
        {{"a\r", "\nb\r\n"}, {"a", "b"}},
        {{"a\r\r\n"}, {"a\r"}},
        {{"\n\n"}, {"", ""}},
        {{"QMXRead.ini\r\n", "qmxscan.ini"}, {"QMXRead.ini", "qmxscan.ini"}},
        {{"x\ry\n"}, {"x\ry"}},
        {{""}, {}},
    };
    for (const auto& c : cases) {
        std::vector<std::string> got;
        ListingSplitter s;
        auto take = [&](const std::string& l) { got.push_back(l); };
        for (const auto& chunk : c.chunks)
            s.feed(chunk, take);
        EXPECT_EQ(s.overLimit(), c.over);
        s.finish(take);
        EXPECT_EQ(got, c.lines) << c.chunks.front().substr(0, 20);
    }
}

TEST(FtpReply, SocketErrorTexts)
{
    const struct {
        int number;
        const char* text;
    } cases[] = {
        {10061, "10061: Connection refused"},
        {10004, "10004: Interrupted system call"},
        {11004, "11004: Valid name, no data record of requested type"},
        {10065, "10065: No route to Host"},
        {10072, "Unknown Error No. 10072"},
        {10003, "Unknown Error No. 10003"},
        {0, "Unknown Error No. 0"},
        {32, "Unknown Error No. 32"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(socketErrorText(c.number), c.text);
}

TEST(FtpReply, PosixAndLookupErrorsMapToTableNumbers)
{
    EXPECT_EQ(socketErrorNumber(ECONNREFUSED), 10061);
    EXPECT_EQ(socketErrorNumber(ETIMEDOUT), 10060);
    EXPECT_EQ(socketErrorNumber(ECONNRESET), 10054);
    EXPECT_EQ(socketErrorNumber(EWOULDBLOCK), 10035);
    EXPECT_EQ(socketErrorNumber(EREMOTE), 10071);
    EXPECT_EQ(socketErrorNumber(ENOENT), ENOENT);
    EXPECT_EQ(lookupErrorNumber(EAI_NONAME), 11001);
    EXPECT_EQ(lookupErrorNumber(EAI_AGAIN), 11002);
    EXPECT_EQ(lookupErrorNumber(EAI_FAIL), 11003);
    EXPECT_EQ(lookupErrorNumber(EAI_MEMORY), 0);
}
