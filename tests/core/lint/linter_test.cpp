#include "core/lint/linter.h"

#include "core/rules/rulesettings.h"
#include "core/store/variables.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

using namespace qmx;

namespace {

// The rule text as the editor joins it: "\n" in a case stands for CR LF.
std::string crlf(std::string s)
{
    for (size_t i = 0; (i = s.find('\n', i)) != std::string::npos; i += 2)
        s.insert(i, 1, '\r');
    return s;
}

// "LINE:COLUMN:CODE" per warning, blank-separated.
std::string places(const std::vector<LintWarning>& ws)
{
    std::ostringstream r;
    for (const LintWarning& w : ws)
        r << (&w == ws.data() ? "" : " ") << w.line << ':' << w.column << ':' << w.code;
    return r.str();
}

struct Case {
    const char* name;
    const char* text;
    const char* expected;
};

// clang-format off
const Case kCases[] = {
    {"plain statements", "PRINT \"A\";\nSET %X%= 1;\nPRINT %CPU%+\" MHZ\";\nPRINT \"CPU: \"+%CPU%;", ""},
    {"leading comments, a comment before each statement, a block, an ELSE",
     "// c1\n// c2\nSET %X%=1;\nIF (%X%=1) THEN BEGIN\n  PRINT \"A\";\n  PRINT \"B\";\nEND;\n// one\n"
     "IF (%X%=1) THEN PRINT \"A\" ELSE PRINT \"B\";\nPRINT \"A\"; // after\nPRINT \"B\";\n// last", ""},
    {"else-blocks and a nested IF keep their ELSE", "IF (%X%=1) THEN BEGIN PRINT \"A\"; END ELSE BEGIN PRINT \"B\"; END;\n"
     "IF (%X%=1) THEN IF (%Y%=1) THEN PRINT \"A\" ELSE PRINT \"B\";", ""},
    {"logical chain of parenthesised comparisons", "IF (%X%=1) & (%Y%<=2) & (%Z%!=3) THEN PRINT \"A\";", ""},
    {"semicolon in a literal", "PRINT \"A;B\";\nPRINT \"C\";", "1:9:R001"},
    {"semicolon in a literal, second on the line", "PRINT \"A;B\"; PRINT \"C\";", "1:9:R001"},
    {"unclosed literal ended by its semicolon", "PRINT \"A;\nPRINT \"B\";", ""},
    {"literal starting with a semicolon", "PRINT \";A\";", "1:8:R001"},
    {"literal ending with a semicolon", "PRINT \"A;\";", "1:9:R001"},
    {"doubled plus adds nothing and drops nothing", "PRINT \"A\"++%X%;", ""},
    {"reference holding the separator twice", "IF (%A%B%=1) THEN PRINT \"A\";", "1:9:R016"},
    {"semicolon in a comment", "PRINT \"A\";\n// note; more\nPRINT \"B\";", "2:8:R001"},
    {"semicolon ending a comment", "PRINT \"A\";\n// note;\nPRINT \"B\";", ""},
    {"comment before a block", "PRINT \"A\";\n// c\nIF (%X%=1) THEN BEGIN\n PRINT \"B\";\nEND;", "2:1:R002"},
    {"comment after a statement, before a block", "PRINT \"A\"; // c\nIF (%X%=1) THEN BEGIN\n PRINT \"B\";\nEND;",
     "1:12:R002"},
    {"two comment lines", "PRINT \"A\";\n// c1\n// c2\nPRINT \"B\";", "3:1:R003"},
    {"two comment lines with a blank line between", "PRINT \"A\";\n// c1\n\n// c2\nPRINT \"B\";", "4:1:R003"},
    {"comment first in a block", "IF (%X%=1) THEN BEGIN\n  // c\n  PRINT \"B\";\nEND;", "2:3:R004"},
    {"comment between block statements", "IF (%X%=1) THEN BEGIN\n  PRINT \"A\";\n  // c\n  PRINT \"B\";\nEND;",
     "3:3:R004"},
    {"comment last in a block", "IF (%X%=1) THEN BEGIN\n  PRINT \"A\";\n  // c\nEND;", ""},
    {"comment inside a condition", "IF (%X%=1)\n// why\nTHEN PRINT \"A\";", "2:1:R004"},
    {"comment before the action", "IF (%X%=1) THEN\n// why\nPRINT \"A\";", "2:1:R004"},
    {"URL in a condition is no comment", "IF (%URL%=HTTP://HOST) THEN PRINT \"A\";", ""},
    {"lower-case block words", "IF (%X%=1) THEN begin\n PRINT \"A\";\n PRINT \"B\";\nend;", "1:17:R005 4:1:R005"},
    {"lower-case end in a capital block", "IF (%X%=1) THEN BEGIN\n PRINT \"A\";\nEnd;\nPRINT \"B\";\nEND;",
     "3:1:R005"},
    {"statement glued after END;", "IF (%X%=1) THEN BEGIN PRINT \"A\"; END;PRINT \"B\";", "1:38:R006"},
    {"lower-case end inside a value of a block", "IF (%X%=1) THEN BEGIN SET %X%=the end; PRINT \"A\"; END;",
     "1:35:R005"},
    {"lower-case block words as data", "SET %X%=begin;\nSET %Y%=the end;", ""},
    {"blank or ; after END;", "IF (%X%=1) THEN BEGIN PRINT \"A\"; END; PRINT \"B\";\n"
     "IF (%X%=1) THEN BEGIN PRINT \"A\"; END;;", ""},
    {"text after the last semicolon", "PRINT \"A\";\nPRINT \"B\"", "2:1:R007"},
    {"two semicolons", "PRINT \"A\";;\nPRINT \"B\";", "1:11:R007"},
    {"two semicolons at the end", "PRINT \"A\";;\n// done", ""},
    {"semicolons with a blank between", "PRINT \"A\"; ;\nPRINT \"B\";", ""},
    {"semicolon at the start", ";PRINT \"A\";", "1:1:R007"},
    {"THEN in a name", "IF (%AUTHENTICATION%=1) THEN PRINT \"A\";", "1:8:R008"},
    {"THEN in a literal of the condition", "IF (%X%='THEN') THEN PRINT \"A\";", "1:10:R008"},
    {"END in a literal of a block", "IF (%X%=1) THEN BEGIN\n  PRINT \"VENDOR\";\nEND;", "2:11:R008"},
    {"END; in a literal of a block", "IF (%X%=1) THEN BEGIN\n  PRINT \"THE END; BYE\";\nEND;", "2:14:R008 3:1:R017"},
    {"IF in a literal takes the ELSE", "IF (%X%=1) THEN PRINT \"DIFFERENT\" ELSE PRINT \"SAME\";", "1:25:R008"},
    {"ELSE in a literal splits the action", "IF (%X%=1) THEN PRINT \"ELSEWHERE\";", "1:24:R008"},
    {"BEGIN in a literal makes a block", "PRINT \"BEGINNER\";\nPRINT \"A\";\nEND;", "1:8:R008"},
    {"blank after plus", "PRINT \"CPU: \"+ %CPU%;", "1:14:R009"},
    {"variable without plus", "PRINT \"CPU: \" %CPU%;", "1:15:R009"},
    {"unknown keyword", "PRNT \"A\";", "1:1:R010"},
    {"keyword glued to a parenthesis", "IF(%X%=1) THEN PRINT \"A\";", "1:1:R010"},
    {"last keyword glued to a literal", "SUGGEST\"A\";", "1:1:R010"},
    {"keyword followed by a line break", "PRINT\n\"A\";", "1:1:R010"},
    {"ELSE after the semicolon", "IF (%X%=1) THEN PRINT \"A\";\nELSE PRINT \"B\";", "2:1:R010"},
    {"unknown action", "IF (%X%=1) THEN PRNT \"A\";", "1:17:R010"},
    {"IF without THEN", "IF (%X%=1) PRINT \"A\";", "1:1:R011"},
    {"comparisons without parentheses", "IF %X%=1 & %Y%=2 THEN PRINT \"A\";", "1:4:R012"},
    {"mixed & and |", "IF (%X%=1) | (%Y%=2) & (%Z%=3) THEN PRINT \"A\";", "1:4:R012"},
    {"blank before = in SET", "SET %X% =1;", "1:8:R013"},
    {"doubled parentheses", "IF ((%X%=1)) THEN PRINT \"A\";", "1:4:R015"},
    {"parentheses around a variable", "IF (%FLAG%) THEN PRINT \"A\";", "1:4:R015"},
    {"two groups without an operator", "IF (%X%=1) (%Y%=1) THEN PRINT \"A\";", "1:4:R015"},
    {"lone percent", "IF (%X=1) THEN PRINT \"A\";", "1:5:R016"},
    {"nested block", "IF (%X%=1) THEN BEGIN\n IF (%Y%=1) THEN BEGIN PRINT \"A\"; END;\n PRINT \"B\";\nEND;",
     "2:18:R017 4:1:R017"},
};
// clang-format on

} // namespace

TEST(Linter, WarnsWhereTheInterpreterDiffersFromTheText)
{
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(places(lintRuleText(crlf(c.text))), c.expected);
    }
}

TEST(Linter, NamesReferencesTheReportLacksWithTheClosestItHas)
{
    struct ReportCase {
        const char* name;
        const char* text;
        std::vector<const char*> entries;
        const char* expected;
        const char* closest; // part of the message, or ""
    };
    // clang-format off
    const ReportCase cases[] = {
        {"misspelt", "IF (%TOTALMEMROY%<1) THEN PRINT \"A\";", {"%TOTALMEMORY%=1", "%OS%=WINNT"},
         "1:5:R014", "closest: %TOTALMEMORY%"},
        {"look-alike number", "IF (%X_1%=1) THEN PRINT \"A\";", {"%X_01%=1"}, "1:5:R014", "closest: %X_01%"},
        {"longer name with the same start", "IF (%X_1%=1) THEN PRINT \"A\";", {"%X_10%=1"}, "1:5:R014", "%X_10%"},
        {"lower case in the report", "IF (%FILE:SYS.DLL:NAME%=X) THEN PRINT \"A\";", {"%FILE:sys.dll:NAME%=x"},
         "1:5:R014", "lower case"},
        {"print-list", "PRINT \"A\"+%CPUS%;", {"%CPU%=486"}, "1:11:R014", "closest: %CPU%"},
        {"nothing near", "PRINT %ZZZZZZZZ%;", {"%CPU%=486"}, "1:7:R014", ""},
        {"present, or set by the rules", "SET %LIMIT%=1;\nIF (%X%<%LIMIT%) THEN PRINT %X%+%LIMIT%;", {"%X%=1"}, "", ""},
    };
    // clang-format on
    for (const ReportCase& c : cases) {
        SCOPED_TRACE(c.name);
        VariableList report;
        for (const char* e : c.entries)
            report.append(e);
        const auto ws = lintRuleText(crlf(c.text), &report);
        EXPECT_EQ(places(ws), c.expected);
        if (!ws.empty()) {
            EXPECT_NE(ws[0].message.find(c.closest), std::string::npos) << ws[0].message;
        }
    }
}

TEST(Linter, SampleRuleSetsLintClean)
{
    const std::string ini = std::string(QMX_SAMPLES) + "/QMXRead.ini";
    for (const char* set : {"DEFAULT", "INVENTORY"}) {
        SCOPED_TRACE(set);
        EXPECT_EQ(places(lintRuleText(RuleSettings::ruleTextOf(ini, set))), "");
    }
}
