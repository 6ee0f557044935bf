#include "clirun.h"

#include <nlohmann/json.hpp>

using clitest::CliTest;

TEST_F(CliTest, LintPrintsTrapsAndExitsByWhatItFound)
{
    // An LF-only file: lines and columns count as the editor shows them.
    const auto rules =
        temp("rules.txt", "PRINT \"A;B\";\nSET %X% =1;\nIF (%TOTALMEMROY%<1) THEN PRINT \"C\";\n");
    const auto warningOnly = temp("warn.txt", "SET %X% =1;\n");
    struct Case {
        const char* name;
        std::vector<std::string> args;
        int status;
        std::string out; // the whole of stdout, or "*" followed by a part of it
    };
    const Case cases[] = {
        {"sample rule sets are clean",
         {"--settings", sample("QMXRead.ini"), "--rule-set", "INVENTORY"},
         0,
         ""},
        {"gcc format",
         {"--rules-file", rules},
         1,
         "1:9: error: \";\" inside a literal ends the statement here: the rest of the literal "
         "becomes a statement "
         "of its own [R001]\n2:8: warning: blank before \"=\": the variable is named \"%X% \", "
         "blank included, and "
         "%X% does not see it [R013]\n"},
        {"errors only", {"--rules-file", rules, "--severity", "error"}, 1, "*[R001]\n"},
        {"errors only, none", {"--rules-file", warningOnly, "--severity=error"}, 0, ""},
        {"with a report",
         {"--rules-file", rules, "--report", sample("ws-lab.txt")},
         1,
         "*3:5: warning: the report has no variable %TOTALMEMROY%: it reads as a blank; closest: "
         "%TOTALMEMORY%"},
        {"explain", {"--explain", "r003"}, 0, "*Wrong:\n"},
        {"unknown code", {"--explain", "R1000"}, 2, ""},
        {"unknown format", {"--rules-file", rules, "--format", "xml"}, 2, ""},
        {"operand", {rules}, 2, ""},
        {"missing rules file", {"--rules-file", (dir / "none.txt").string()}, 1, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<std::string> args{"lint"};
        args.insert(args.end(), c.args.begin(), c.args.end());
        const auto r = run(args);
        EXPECT_EQ(r.status, c.status) << r.err;
        if (c.out.starts_with("*")) {
            EXPECT_NE(r.out.find(c.out.substr(1)), std::string::npos) << r.out;
        } else {
            EXPECT_EQ(r.out, c.out);
        }
    }

    const auto r = run({"lint", "--rules-file", rules, "--format", "json"});
    const auto j = nlohmann::json::parse(r.out);
    ASSERT_EQ(j.size(), 2u);
    EXPECT_EQ(j[1],
              (nlohmann::json{
                  {"line", 2},
                  {"column", 8},
                  {"code", "R013"},
                  {"severity", "warning"},
                  {"message", "blank before \"=\": the variable is named \"%X% \", blank included, "
                              "and %X% does not see it"}}));
}
