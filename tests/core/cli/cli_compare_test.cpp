#include "clirun.h"

#include <nlohmann/json.hpp>

using clitest::CliTest;
using Json = nlohmann::json;

namespace {

// Two small reports: B lacks S;Y, has S;Z of its own, a value differing only
// in case, a value with a comma and quotes, and a Windows-1252 byte.
const char* const kReportA = "[S]\r\nX=ON\r\nY=1\r\nQ=a,\"b\"\r\nE=\x80\r\n";
const char* const kReportB = "[S]\r\nX=On\r\nZ=2\r\nQ=a,\"b\"\r\nE=\x80\r\n";

} // namespace

TEST_F(CliTest, CompareUsageErrors)
{
    const std::vector<std::vector<std::string>> cases = {
        {"compare"},
        {"compare", "--csv"},
        {"compare", "--baseline", "last", "a.txt"},
        {"compare", "--baseline=", "a.txt"},
        {"compare", "a.txt", "--baseline"},
        {"compare", "--colour", "a.txt"},
        {"compare", "--debug", "a.txt"},
        {"compare", "--csv=1", "a.txt"},
        {"compare", "--base", "first", "a.txt"},
    };
    for (const auto& args : cases) {
        const auto r = run(args);
        EXPECT_EQ(r.status, 2) << args.back();
        EXPECT_TRUE(r.out.empty()) << args.back();
        EXPECT_NE(r.err.find("Usage:"), std::string::npos) << args.back();
    }
    const auto help = run({"compare", "--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("qmxread-cli compare"), std::string::npos);
}

TEST_F(CliTest, CompareJsonRowsAndMarks)
{
    const std::string a = temp("a.txt", kReportA), b = temp("b.txt", kReportB);
    const auto r = run({"compare", a, b});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(r.err.empty());
    const Json j = Json::parse(r.out);
    EXPECT_EQ(j["header"], Json::array({"", a, b}));
    struct Row {
        const char* key;
        Json cells, red, blue;
    };
    const Row rows[] = {
        {"S;X", {"ON", "On"}, {false, true}, {false, false}},
        {"S;Y", {"1", ""}, {false, true}, {false, true}},
        {"S;Q", {"a,\"b\"", "a,\"b\""}, {false, false}, {false, false}},
        {"S;E", {"\u20ac", "\u20ac"}, {false, false}, {false, false}},
        {"S;Z", {"", "2"}, {false, true}, {true, false}},
    };
    ASSERT_EQ(j["rows"].size(), std::size(rows));
    for (size_t i = 0; i < std::size(rows); ++i) {
        const Json& row = j["rows"][i];
        EXPECT_EQ(row["key"], rows[i].key);
        EXPECT_EQ(row["cells"], rows[i].cells) << rows[i].key;
        EXPECT_EQ(row["red"], rows[i].red) << rows[i].key;
        EXPECT_EQ(row["blue"], rows[i].blue) << rows[i].key;
    }
}

TEST_F(CliTest, CompareOptionsChooseRowsMarksAndFormat)
{
    const std::string a = temp("a.txt", kReportA), b = temp("b.txt", kReportB);
    const std::string c = temp("c.txt", "[S]\r\nX=On\r\n");
    struct Case {
        std::vector<std::string> args;
        std::string out;
    };
    const std::string header = "," + a + "," + b + "\r\n";
    const Case cases[] = {
        {{"compare", "--csv", a, b},
         header
             + "S;X,ON,On\r\nS;Y,1,\r\nS;Q,\"a,\"\"b\"\"\",\"a,\"\"b\"\"\"\r\nS;E,\u20ac,"
               "\u20ac\r\nS;Z,,2\r\n"},
        {{"compare", "--csv", "--differences", a, b}, header + "S;X,ON,On\r\nS;Y,1,\r\nS;Z,,2\r\n"},
        {{"compare", "--csv", "--differences", "--baseline=majority", a, c, b},
         "," + a + "," + c + "," + b
             + "\r\nS;X,ON,On,On\r\nS;Y,1,,\r\nS;Q,\"a,\"\"b\"\"\",,\"a,\"\"b\"\"\"\r\n"
               "S;E,\u20ac,,\u20ac\r\nS;Z,,,2\r\n"},
        {{"compare", "--csv", "--differences", a, "--", a}, "," + a + "," + a + "\r\n"},
    };
    for (const Case& k : cases) {
        const auto r = run(k.args);
        EXPECT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(r.out, k.out) << k.args[2];
    }
    // Majority marks in JSON: column 1 can be red.
    const Json j = Json::parse(run({"compare", "--baseline", "majority", a, b, c}).out);
    EXPECT_EQ(j["rows"][0]["red"], Json::array({true, false, false}));
}

TEST_F(CliTest, CompareUnreadableReportIsAnEmptyColumnWithAWarning)
{
    const std::string a = temp("a.txt", kReportA);
    const std::string missing = (dir / "missing.txt").string();
    const std::string folder = dir.string();
    const auto r = run({"compare", a, missing, folder});
    EXPECT_EQ(r.status, 0);
    EXPECT_NE(r.err.find("warning"), std::string::npos);
    EXPECT_NE(r.err.find(missing), std::string::npos);
    EXPECT_NE(r.err.find(folder), std::string::npos);
    const Json j = Json::parse(r.out);
    EXPECT_EQ(j["header"], Json::array({"", a, missing, folder}));
    ASSERT_EQ(j["rows"].size(), 4u);
    for (const Json& row : j["rows"]) {
        EXPECT_EQ(row["cells"][1], "");
        EXPECT_EQ(row["blue"][2], true);
    }
    // Only unreadable reports: a header, no rows, and a failure.
    for (const auto& args : std::vector<std::vector<std::string>>{{"compare", missing},
                                                                  {"compare", missing, folder}}) {
        const auto none = run(args);
        EXPECT_EQ(none.status, 1) << args.size();
        EXPECT_EQ(Json::parse(none.out)["rows"], Json::array());
    }
}

TEST_F(CliTest, CompareShowsFileNamesThatAreNotUtf8AsReplacementCharacters)
{
    const std::string a = temp("a.txt", kReportA);
    struct Case {
        std::string name, shown;
    };
    const Case cases[] = {
        {"caf\xe9.txt", "caf\uFFFD.txt"},     // Latin-1
        {"caf\xc3\xa9.txt", "caf\u00e9.txt"}, // UTF-8 passes unchanged
        {"\xc3.txt", "\uFFFD.txt"},           // a sequence cut short
        {"x\xe9\xe9", "x\uFFFD\uFFFD"},       // at the end, twice
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.shown);
        const std::string path = temp(c.name, kReportB);
        const std::string shown = (dir / c.shown).string();
        const auto r = run({"compare", a, path});
        ASSERT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(Json::parse(r.out)["header"], Json::array({"", a, shown}));
        const auto csv = run({"compare", "--csv", a, path});
        EXPECT_EQ(csv.out.substr(0, csv.out.find('\r')), "," + a + "," + shown);
    }
}

TEST_F(CliTest, CompareJsonKeepsSeparatorsInsideValues)
{
    // The row layout puts a blank after each separator between values; the
    // same characters inside a value, escaped quotes included, stay as they are.
    struct Case {
        std::string value, json;
    };
    const Case cases[] = {
        {",", R"(",")"},   {"a:b,c", R"("a:b,c")"},   {"\"q\":1,", R"("\"q\":1,")"},
        {"\\", R"("\\")"}, {"\\\",x", R"("\\\",x")"}, {"\t,", R"("\t,")"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value);
        const std::string a = temp("a.txt", "[S]\r\nK=" + c.value + "\r\n");
        const auto r = run({"compare", a, a});
        ASSERT_EQ(r.status, 0) << r.err;
        EXPECT_NE(r.out.find("{\"key\": \"S;K\", \"cells\": [" + c.json + ", " + c.json
                             + "], \"red\": [false, false], \"blue\": [false, false]}\n"),
                  std::string::npos)
            << r.out;
    }
}
