// qmxread-cli server: the JSON of both sample server reports, the exit
// statuses, and Windows-1252 text coming out as UTF-8.
#include "clirun.h"

#include <nlohmann/json.hpp>

#include <sys/stat.h>

using clitest::CliTest;
using nlohmann::json;

namespace {

class CliServerTest : public CliTest {};

TEST_F(CliServerTest, MainSampleFillsEveryView)
{
    const auto r = run({"server", sample("srv-main.txt")});
    ASSERT_EQ(r.status, 0) << r.err;
    const nlohmann::ordered_json j = nlohmann::ordered_json::parse(r.out);
    const std::vector<std::string> keys = {
        "fields",  "label2",      "label9",       "label10",    "patches",
        "modules", "startup_zcf", "autoexec_zcf", "config_sys", "autoexec_bat",
        "volumes", "interrupts",  "status"};
    std::vector<std::string> order;
    for (auto it = j.begin(); it != j.end(); ++it)
        order.push_back(it.key());
    EXPECT_EQ(order, keys);
    EXPECT_EQ(j["fields"]["engine_type"], "SMP"); // the module list comes after the engine line
    EXPECT_EQ(j["fields"]["total_memory"], "256 MB");
    EXPECT_EQ(j["label2"], "Other ZLMs: 7");
    EXPECT_EQ(j["volumes"].size(), 2u);
    EXPECT_EQ(j["volumes"][1],
              nlohmann::ordered_json({"DATA", "8,192 MB", "1,310,720", "4,096", "16 MB"}));
    EXPECT_EQ(j["interrupts"].size(), 4u);
    EXPECT_EQ(j["interrupts"][0], nlohmann::ordered_json({"11", "ISA SCSI host adapter",
                                                          "AHA1540.DSK", "Mirrored (group 1)"}));
    EXPECT_EQ(j["interrupts"][3], nlohmann::ordered_json({"10", "Token board", "", ""}));
    for (const char* memo : {"startup_zcf", "autoexec_zcf", "config_sys", "autoexec_bat"})
        EXPECT_FALSE(j[memo].empty()) << memo;
    EXPECT_EQ(j["status"][0], "");
    EXPECT_EQ(j["status"][3], "1 module listing found.");
}

TEST_F(CliServerTest, EngineLineAfterTheModuleListWins)
{
    const auto r = run({"server", sample("srv-branch.txt")});
    ASSERT_EQ(r.status, 0) << r.err;
    const json j = json::parse(r.out);
    EXPECT_EQ(j["fields"]["engine_type"], "Dual processor (engine set after the module list)");
    EXPECT_EQ(j["modules"][1], "SMP.ZLM       4.11    Symmetric mu");
}

TEST_F(CliServerTest, ExitStatuses)
{
    struct Case {
        std::vector<std::string> args;
        int status;
        std::string errHas;
    } cases[] = {
        {{"server"}, 2, "Usage: qmxread-cli server REPORT"},
        {{"server", "a", "b"}, 2, "Usage"},
        {{"server", "--bogus", "a"}, 2, "unknown option --bogus"},
        {{"server", "--help"}, 0, ""},
    };
    for (const auto& c : cases) {
        const auto r = run(c.args);
        EXPECT_EQ(r.status, c.status) << c.args.back();
        EXPECT_NE(r.err.find(c.errHas), std::string::npos) << r.err;
    }
    // A file that is not there keeps the short message; a refusal of the reader (one
    // stands for all, the reader's own test has the rest) says why.
    const std::string missing = (dir / "gone.txt").string();
    const std::string fifo = (dir / "fifo.txt").string();
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const std::pair<std::string, std::string> unreadable[] = {
        {missing, "Cannot open file " + missing},
        {fifo, "Cannot open file \"" + fifo + "\": it is not a regular file"},
    };
    for (const auto& [path, message] : unreadable) {
        const auto r = run({"server", path});
        EXPECT_EQ(r.status, 1);
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(r.err, "qmxread-cli: " + message + "\n");
    }
    // A report named like an option, after "--".
    const std::string dashed = temp("-srv.txt", "Server name...............: \xC4X\r\n");
    const auto r = run({"server", "--", dashed});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(json::parse(r.out)["fields"]["server_name"], "\xC3\x84X");
}

TEST_F(CliServerTest, TextsNeedingEscapesSurviveTheJson)
{
    struct Case {
        std::string raw, utf8;
    } cases[] = {
        {"\"q\"", "\"q\""},
        {"back\\slash\\", "back\\slash\\"},
        {std::string("nul\0x", 5), std::string("nul\0x", 5)},
        {"\x01\x1f\t\x7f", "\x01\x1f\t\x7f"},
        {"\x80\x81\xff", "\xE2\x82\xAC\xC2\x81\xC3\xBF"},
        {"", ""},
    };
    for (const auto& c : cases) {
        // A patch line is taken whole, so every byte but a line end reaches the list.
        const std::string path = temp("esc.txt", std::string(22, ' ') + "Top of Patch List\r\n=\r\n"
                                                     + c.raw + "\r\nend\r\n");
        const auto r = run({"server", path});
        ASSERT_EQ(r.status, 0) << r.err;
        const json j = json::parse(r.out);
        const std::vector<std::string> expected = c.raw.empty()
                                                      ? std::vector<std::string>{"end"}
                                                      : std::vector<std::string>{c.utf8, "end"};
        EXPECT_EQ(j["patches"].get<std::vector<std::string>>(), expected) << c.raw;
    }
    // The whole layout of a small report: nested arrays one level deeper.
    const auto small = run(
        {"server", temp("small.txt", std::string(22, ' ') + "Top of Patch List\r\n=\r\nP1\r\n")});
    ASSERT_EQ(small.status, 0) << small.err;
    EXPECT_NE(small.out.find("\n  \"patches\": [\n    \"P1\"\n  ],\n  \"modules\": [],\n"),
              std::string::npos)
        << small.out;
    EXPECT_EQ(small.out.rfind("{\n  \"fields\": {\n    \"os_version\": \"\",\n", 0), 0u)
        << small.out;
    EXPECT_EQ(small.out.substr(small.out.size() - 7), "\n  ]\n}\n");
    const auto empty = run({"server", temp("empty.txt", "")});
    EXPECT_NE(empty.out.find("\"patches\": [],"), std::string::npos) << empty.out;
    EXPECT_TRUE(json::parse(empty.out)["volumes"].empty());
}

} // namespace
