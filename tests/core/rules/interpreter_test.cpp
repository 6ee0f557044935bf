#include "core/rules/interpreter.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace qmx;
using Lines = std::vector<std::string>;

namespace {

VariableList makeVars(std::initializer_list<const char*> entries)
{
    VariableList v;
    for (const char* e : entries)
        v.append(e);
    return v;
}

Lines run(const std::string& text, VariableList& vars, bool debug = false)
{
    Lines out;
    runRules(vars, out, debug, text);
    return out;
}

Lines run(const std::string& text, std::initializer_list<const char*> entries = {})
{
    VariableList vars = makeVars(entries);
    return run(text, vars);
}

} // namespace

TEST(Interpreter, PrintForms)
{
    EXPECT_EQ(run("PRINT \"hello\";"), (Lines{"HELLO", ""}));
    EXPECT_EQ(run("SUGGEST \"a\";"), (Lines{"A", ""}));
    EXPECT_EQ(run("print \"cpu: \"+%CPU%;", {"%CPU%=486"}), (Lines{"CPU: 486", ""}));
    EXPECT_EQ(run("PRINT \"CPU: \"+%CPU%;"), (Lines{"CPU: ", ""}));
    // A blank after "+" leaves the name empty.
    EXPECT_EQ(run("PRINT \"CPU: \"+ %CPU%;", {"%CPU%=486"}), (Lines{"CPU: ", ""}));
    // A variable as the very first character; every entry it begins adds its value.
    EXPECT_EQ(run("PRINT %OWNER%+\"!\";", {"%OWNER%= Ann ", "%X%=1", "%OWNER%=Bob"}),
              (Lines{"AnnBob!", ""}));
    EXPECT_EQ(run("PRINT \"A\"+%P%+\"B\";", {"%P%=%5%"}), (Lines{"A%5%B", ""}));
    EXPECT_EQ(run("PRINT ;"), (Lines{"", ""}));
    EXPECT_EQ(run("PRINT;"), Lines{}); // no blank after the keyword: no statement
    // A literal with a line break shows as two lines.
    EXPECT_EQ(run("PRINT \"A\r\nB\";"), (Lines{"A", "B", ""}));
}

TEST(Interpreter, StatementCutting)
{
    EXPECT_EQ(run("PRINT \"A\""), Lines{});                        // no ";"
    EXPECT_EQ(run("PRINT \"A\";PRINT \"B\""), (Lines{"A", ""}));   // tail never runs
    EXPECT_EQ(run("PRINT \"A\";;PRINT \"B\";"), (Lines{"A", ""})); // ";;" ends the run
    EXPECT_EQ(run("PRINT \"A\"; ;PRINT \"B\";"),
              (Lines{"A", "", "B", ""})); // a blank between does not
    EXPECT_EQ(run(";PRINT \"A\";"), Lines{});
    EXPECT_EQ(run("PRINT \"A;B\";"), (Lines{"A", ""})); // ";" in a literal ends it
    EXPECT_EQ(run("FOO 1;\r\nIF(1=1) THEN PRINT \"A\";\r\nPRINT\r\n\"B\";"), Lines{});
}

TEST(Interpreter, Comments)
{
    EXPECT_EQ(run("// one\r\n// two\r\nPRINT \"A\";"), (Lines{"A", ""}));
    EXPECT_EQ(run("PRINT \"A\";\r\n// c\r\nPRINT \"B\";"), (Lines{"A", "", "B", ""}));
    EXPECT_EQ(run("PRINT \"A\";\r\n// c1\r\n// c2\r\nPRINT \"B\";"), (Lines{"A", ""}));
    EXPECT_EQ(run("PRINT \"A\"; // note\r\nPRINT \"B\";"), (Lines{"A", "", "B", ""}));
    EXPECT_EQ(
        run("PRINT \"A\";\r\n// c\r\nIF (1=1) THEN BEGIN\r\nPRINT \"B\";\r\nEND;\r\nPRINT \"C\";"),
        (Lines{"A", "", "C", ""}));
    // A leading comment without a line break loses one character and
    // stops being a comment; what is left is no statement.
    EXPECT_EQ(run("//PRINT \"A\";PRINT \"B\";"), (Lines{"B", ""}));
    // Inside a block, line breaks are blanks: the comment swallows the next statement.
    EXPECT_EQ(run("IF (1=1) THEN BEGIN\r\n// c\r\nPRINT \"A\";\r\nPRINT \"B\";\r\nEND;"),
              (Lines{"B", ""}));
    EXPECT_EQ(
        run("IF (1=1) THEN BEGIN\r\nPRINT \"A\";\r\n// c\r\nPRINT \"B\";\r\nPRINT \"C\";\r\nEND;"),
        (Lines{"A", "", "C", ""}));
}

TEST(Interpreter, SetReplacesByExactName)
{
    VariableList vars = makeVars({"%LIMIT%=1", "%A%=x", "%LIMIT%=2"});
    run("SET %LIMIT%=64;", vars);
    EXPECT_EQ(vars.toVector(), (Lines{"%A%=x", "%LIMIT%=64"}));
    run("set %limit% = 65;", vars);
    EXPECT_EQ(vars.toVector(), (Lines{"%A%=x", "%LIMIT%=64", "%LIMIT% = 65"}));
    run("SET %Y%=%A%;", vars); // values are taken literally
    EXPECT_EQ(vars.toVector().back(), "%Y%=%A%");
    run("SET %Z%;", vars); // no "=": the whole text is the name
    run("SET %Z%;", vars);
    EXPECT_EQ(vars.toVector().back(), "%Z%");
    EXPECT_EQ(vars.size(), 5u);
}

TEST(Interpreter, SetThenIfAndReprocess)
{
    VariableList vars;
    const std::string rules = "SET %X%=1;\r\nIF (%X%=1) THEN PRINT \"YES\";";
    EXPECT_EQ(run(rules, vars), (Lines{"YES", ""}));
    EXPECT_EQ(run(rules, vars), (Lines{"YES", ""}));
    EXPECT_EQ(vars.toVector(), Lines{"%X%=1"});
}

TEST(Interpreter, IfElseRules)
{
    const std::string ab = "IF (%X%=1) THEN PRINT \"A\" ELSE PRINT \"B\";";
    EXPECT_EQ(run(ab, {"%X%=1"}), (Lines{"A", ""}));
    EXPECT_EQ(run(ab, {"%X%=2"}), (Lines{"B", ""}));

    const std::string abc =
        "IF (%X%=1) THEN PRINT \"A\" ELSE IF (%X%=2) THEN PRINT \"B\" ELSE PRINT \"C\";";
    EXPECT_EQ(run(abc, {"%X%=1"}), (Lines{"A", ""}));
    EXPECT_EQ(run(abc, {"%X%=2"}), (Lines{"B", ""}));
    EXPECT_EQ(run(abc, {"%X%=3"}), (Lines{"C", ""}));

    // The IF inside DIFFERENT claims the ELSE for an inner IF.
    const std::string diff = "IF (%X%=1) THEN PRINT \"DIFFERENT\" ELSE PRINT \"SAME\";";
    EXPECT_EQ(run(diff, {"%X%=1"}), (Lines{"DIFFERENTSAME", ""}));
    EXPECT_EQ(run(diff, {"%X%=2"}), Lines{});

    EXPECT_EQ(run("IF (1=1) PRINT \"A\";"), Lines{});     // no THEN: nothing to run
    EXPECT_EQ(run("IF (1=1) THENPRINT \"A\";"), Lines{}); // one character after THEN dropped
    EXPECT_EQ(run("IF 1=1 THEN  PRINT \"A\";"), (Lines{"A", ""}));
    EXPECT_EQ(run("if (1=1)\r\nthen print \"a\";"), (Lines{"A", ""}));
}

TEST(Interpreter, Blocks)
{
    const std::string block =
        "IF (%X%=1) THEN BEGIN\r\nPRINT \"A\";\r\nPRINT \"B\";\r\nEND;\r\nPRINT \"C\";";
    EXPECT_EQ(run(block, {"%X%=1"}), (Lines{"A", "", "B", "", "C", ""}));
    EXPECT_EQ(run(block, {"%X%=2"}), (Lines{"C", ""}));

    const std::string withElse =
        "IF (%X%=1) THEN BEGIN PRINT \"A\"; END ELSE BEGIN PRINT \"B\"; PRINT \"C\"; END;";
    EXPECT_EQ(run(withElse, {"%X%=1"}), (Lines{"A", ""}));
    EXPECT_EQ(run(withElse, {"%X%=2"}), (Lines{"B", "", "C", ""}));

    // The character after END; is consumed.
    EXPECT_EQ(run("IF (1=1) THEN BEGIN PRINT \"A\"; END;PRINT \"B\";"), (Lines{"A", ""}));
    // begin in lower case is no block: only the first statement is conditional.
    const std::string lower = "IF (%X%=1) THEN begin PRINT \"A\"; PRINT \"B\"; end;";
    EXPECT_EQ(run(lower, {"%X%=2"}), (Lines{"B", ""}));
    EXPECT_EQ(run(lower, {"%X%=1"}), (Lines{"A", "", "B", ""}));
    // A block ends at the END inside VENDOR; what is left has no ";".
    EXPECT_EQ(run("IF (1=1) THEN BEGIN PRINT \"VENDOR\"; PRINT \"B\"; END;"), Lines{});
}

TEST(Interpreter, UnclosedAndNestedBlocksEnd)
{
    // Without END; the block runs to the end of the text and nothing follows it.
    EXPECT_EQ(
        run("PRINT \"A\";\r\nIF (1=1) THEN BEGIN\r\nPRINT \"B\";\r\nPRINT \"C\";\r\nPRINT \"D\""),
        (Lines{"A", "", "B", "", "C", ""}));
    EXPECT_EQ(run("IF (1=1) THEN BEGIN PRINT \"B\"; END PRINT \"C\"; PRINT \"D\";"),
              (Lines{"B", ""}));
    EXPECT_EQ(run("IF (1=2) THEN BEGIN PRINT \"B\"; PRINT \"C\";"), Lines{});
    // Blocks do not nest: the first END; closes the outer one.
    EXPECT_EQ(run("IF (1=1) THEN BEGIN IF (2=2) THEN BEGIN PRINT \"A\"; END; PRINT \"B\"; END;"),
              (Lines{"A", "", "B", ""}));
    EXPECT_EQ(run("IF (1=2) THEN BEGIN IF (2=2) THEN BEGIN PRINT \"A\"; END; PRINT \"B\"; END;"),
              (Lines{"B", ""}));

    std::string deepIf, deepBlock;
    for (int i = 0; i < 20000; ++i) {
        deepIf += "IF 1=1 THEN ";
        deepBlock += "IF 1=1 THEN BEGIN ";
    }
    EXPECT_EQ(run(deepIf + "PRINT \"X\";"), Lines{}); // beyond the nesting limit: skipped
    EXPECT_EQ(run(deepBlock + "PRINT \"X\";"), Lines{});
    std::string nested;
    for (int i = 0; i < 10; ++i)
        nested += "IF 1=1 THEN ";
    EXPECT_EQ(run(nested + "PRINT \"X\";"), (Lines{"X", ""}));
}

TEST(Interpreter, ReferenceReplacement)
{
    // The first entry whose text begins with the reference, in list order.
    EXPECT_EQ(run("IF (%A%=5) THEN PRINT \"Y\";", {"%A%B%=5", "%A%=1"}), (Lines{"Y", ""}));
    // "%" signs leave the value; an empty value counts as missing.
    EXPECT_EQ(run("IF (%P%=5) THEN PRINT \"Y\";", {"%P%=%5% "}), (Lines{"Y", ""}));
    EXPECT_EQ(run("IF (%M%=) THEN PRINT \"Y\";", {"%M%=", "%M%=X"}), (Lines{"Y", ""}));
    // Lower-case names never match: the statement was upper-cased.
    EXPECT_EQ(
        run("IF (%FILE:win.ini:NAME%=WIN.INI) THEN PRINT \"Y\";", {"%FILE:win.ini:NAME%=WIN.INI"}),
        Lines{});
    EXPECT_EQ(
        run("IF (%FILE:WIN.INI:NAME%=win.ini) THEN PRINT \"Y\";", {"%FILE:WIN.INI:NAME%=win.ini"}),
        (Lines{"Y", ""}));
    // THEN inside a name cuts the condition there.
    EXPECT_EQ(run("IF (%AUTHENTICATION%=1) THEN PRINT \"Y\";", {"%AUTHENTICATION%=1"}), Lines{});
}

TEST(Interpreter, WorkedExampleTrace)
{
    VariableList vars;
    Lines out = run("SET %X%=1;\r\nIF (%X%=1) THEN PRINT \"YES\";\r\n", vars, true);
    EXPECT_EQ(out, (Lines{
                       "Rule: SET %X%=1;",
                       "Operator: SET",
                       "AVar: %X%=1",
                       "",
                       "Rule: IF (%X%=1) THEN PRINT \"YES\";",
                       "Operator: IF",
                       "Condition: (%X%=1)",
                       "TheVar: %X%",
                       "FoundVar: 1",
                       "Condition with replaced vars: (1=1)",
                       "Operator: PRINT",
                       "YES",
                       "",
                       "Outcome: PRINT \"YES\";",
                       "",
                   }));
}

TEST(Interpreter, TraceOfMissingVariablesBlocksAndPrint)
{
    VariableList vars = makeVars({"%CPU%=486"});
    EXPECT_EQ(run("IF (%Q%=1) THEN\r\nPRINT \"A\";", vars, true),
              (Lines{"Rule: IF (%Q%=1) THEN", "PRINT \"A\";", "Operator: IF", "Condition: (%Q%=1)",
                     "TheVar: %Q%", "Var not found: ( =1)", "Outcome: PRINT \"A\";", ""}));
    EXPECT_EQ(run("IF (1=1) THEN BEGIN PRINT \"CPU \"+%CPU%; END;", vars, true),
              (Lines{"Operator: IF", "Condition: (1=1)", "Rule: PRINT \"CPU \"+%CPU%;",
                     "Operator: PRINT", "FoundVar: 486", "TheVar: %CPU%", "CPU 486", "", "",
                     "Outcome: PRINT \"CPU \"+%CPU%;", ""}));
    EXPECT_EQ(run("PRINT \"A\";\r\n// c\r\nPRINT \"B\";", vars, true),
              (Lines{"Rule: PRINT \"A\";", "Operator: PRINT", "A", "", "", "Operator: PRINT", "B",
                     "", ""}));
    // A lone "%" takes the rest of the condition as its reference.
    EXPECT_EQ(
        run("IF (1=1) & %C THEN;", vars, true),
        (Lines{"Rule: IF (1=1) & %C THEN;", "Operator: IF", "Condition: (1=1) & %C", "TheVar: %C",
               "FoundVar: 486", "Condition with replaced vars: (1=1) & 486", "Outcome: ", ""}));
}

TEST(Interpreter, DebugSetNotifiesAndNotOnlyFetchesRuleText)
{
    VariableList vars;
    Lines out;
    int changes = 0, fetches = 0;
    RuleInterpreter ri(
        vars, out, true,
        [&] {
            ++fetches;
            return std::string("SET %A%=1;SET %B%=2;");
        },
        [&] { ++changes; });
    ri.dorules("Not");
    EXPECT_EQ(fetches, 1);
    EXPECT_EQ(changes, 2);
    ri.dorules("NOT");
    EXPECT_EQ(fetches, 1);
    out.clear();
    ri.dorules("PRINT \"Q\";");
    EXPECT_EQ(out, (Lines{"Rule: PRINT \"Q\";", "Operator: PRINT", "Q", "", ""}));
    RuleInterpreter quiet(vars, out, false, {}, [&] { ++changes; });
    quiet.dorules("SET %C%=3;");
    EXPECT_EQ(changes, 2);
}

// Hostile rule texts: every run ends, within work proportional to the text.
TEST(Interpreter, HostileTextsEndWithinProportionalWork)
{
    auto repeat = [](const std::string& s, int n) {
        std::string r;
        for (int i = 0; i < n; ++i)
            r += s;
        return r;
    };
    const std::string texts[] = {
        repeat("/", 5000),
        repeat("//\r\n", 2000),
        repeat("BEGIN", 3000) + ";",
        repeat("IF 1=1 THEN BEGIN ", 3000) + "PRINT \"X\"; END;",
        repeat("IF (%X%=1) THEN ", 3000) + "PRINT \"X\" ELSE PRINT \"Y\";",
        "IF " + repeat("%", 5001) + " THEN PRINT \"X\";",
        "IF " + repeat("%X%", 3000) + " THEN PRINT \"X\";",
        repeat("PRINT \"A\"+%;", 2000),
        repeat("IF (1=1) THEN BEGIN PRINT \"A\"; END;", 1000),
        repeat("SET %X%=1;", 2000),
        repeat("END;", 2000),
        "IF (1=1) THEN BEGIN" + repeat(" BEGIN PRINT \"A\";", 2000),
    };
    for (const std::string& text : texts) {
        VariableList vars = makeVars({"%X%=1", "%CPU%=486"});
        Lines out;
        RuleInterpreter ri(vars, out, true, [&] { return text; });
        ri.dorules("Not");
        EXPECT_LE(ri.steps(), 4 * (text.size() + 1)) << text.substr(0, 60);
    }
}

// The condition text the command-line tool's eval shares with IF.
TEST(Interpreter, ConditionTextAsIfPreparesIt)
{
    struct Case {
        const char* text;
        const char* condition;
    };
    const Case cases[] = {
        {"a=b", "A=B"},
        {"  (%x% = 1)  ", "(%X% = 1)"},
        {"z\r\nAND y", "Z AND Y"},  // CR LF inside: a blank
        {"\r\n1=1\r\n", "1=1"},     // at the edges: trimmed away
        {"a\rb", "A\rB"},           // a lone CR stays
        {"a\nb", "A\nB"},           // so does a lone LF
        {"\xe9t\xe9", "\xe9T\xe9"}, // only a-z change case
        {"", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(RuleInterpreter::conditionText(c.text), c.condition);
    }
}
