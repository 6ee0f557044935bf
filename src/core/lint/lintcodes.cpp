#include "core/lint/linter.h"

#include "core/util/text.h"

namespace qmx {

namespace {

constexpr LintSeverity E = LintSeverity::Error;
constexpr LintSeverity W = LintSeverity::Warning;

// Codes are stable: a kind keeps its code, a new kind takes the next one.
const std::vector<LintCode> kCodes = {
    {"R001", E, "A \";\" inside a literal or a comment ends the statement",
     "Statements are cut at every \";\", also one inside double quotes or a comment line. "
     "The statement ends there and the rest of the literal or comment becomes a statement of "
     "its own, which does nothing and swallows what follows it up to the next \";\".",
     "PRINT \"CHECK THE SWAP FILE; IT IS TOO SMALL\";",
     "PRINT \"CHECK THE SWAP FILE - IT IS TOO SMALL\";"},
    {"R002", E, "A comment line right before an IF ... BEGIN block skips the whole block",
     "A block is cut out of the text from the end of the previous statement to its END;. When that "
     "text begins with a comment line, the whole block is taken for a comment and never runs. Put "
     "the "
     "comment in front of a plain statement, or at the very start of the rule text.",
     "PRINT \"A\";\n// old machines\nIF (%OS%=WIN95) THEN BEGIN\n  PRINT \"UPGRADE\";\nEND;",
     "// old machines\nPRINT \"A\";\nIF (%OS%=WIN95) THEN BEGIN\n  PRINT \"UPGRADE\";\nEND;"},
    {"R003", E, "Two comment lines in a row before a statement skip the statement",
     "Only the first comment line in front of a statement is removed; the second one is taken as "
     "the "
     "start of the statement, which then does nothing. Comment lines at the very start of the rule "
     "text are all removed.",
     "PRINT \"A\";\n// memory\n// checks\nIF (%TOTALMEMORY%<32000) THEN PRINT \"ADD MEMORY\";",
     "PRINT \"A\";\n// memory checks\nIF (%TOTALMEMORY%<32000) THEN PRINT \"ADD MEMORY\";"},
    {"R004", E, "A comment line inside a statement or block swallows what follows it",
     "Inside a BEGIN ... END block, and inside a statement that spans lines, line breaks become "
     "blanks, so a comment runs on into the next statement up to its \";\" and that statement is "
     "lost. "
     "In a condition the comment becomes part of the condition. Comment lines at the very start of "
     "the "
     "rule text are always removed.",
     "IF (%OS%=WINNT) THEN BEGIN\n  // service pack\n  PRINT \"CHECK THE SERVICE PACK\";\nEND;",
     "// service pack\nIF (%OS%=WINNT) THEN BEGIN\n  PRINT \"CHECK THE SERVICE PACK\";\nEND;"},
    {"R005", E, "BEGIN and END; must be written in capitals",
     "The rule text is searched for BEGIN and END; as written, before it is upper-cased. A block "
     "written in lower case is no block: only its first statement depends on the condition and the "
     "rest always runs.",
     "IF (%OS%=WIN95) THEN begin\n  PRINT \"A\";\n  PRINT \"B\";\nend;",
     "IF (%OS%=WIN95) THEN BEGIN\n  PRINT \"A\";\n  PRINT \"B\";\nEND;"},
    {"R006", E, "A statement written directly after END; loses its first character",
     "The character right after END; is removed with it (normally the line break). A statement or "
     "comment written on the same line, right after it, loses its first letter.",
     "IF (%X%=1) THEN BEGIN PRINT \"A\"; END;PRINT \"B\";",
     "IF (%X%=1) THEN BEGIN PRINT \"A\"; END;\nPRINT \"B\";"},
    {"R007", E, "Text after the last \";\" never runs, and \";;\" ends the run",
     "Only text ended by \";\" runs. A \";\" at the very start, or two \";\" with nothing between "
     "them, "
     "end the whole run: nothing after them runs.",
     "PRINT \"A\";;\nPRINT \"B\"", "PRINT \"A\";\nPRINT \"B\";"},
    {"R008", E, "THEN, ELSE, IF, END or BEGIN inside a name or literal",
     "The keywords are found by plain search, also inside other words: THEN in %AUTHENTICATION% "
     "ends "
     "the condition, END in \"VENDOR\" ends a block, IF in \"DIFFERENT\" takes the ELSE of the "
     "statement, ELSE in \"ELSEWHERE\" splits the action, BEGIN in \"BEGINNER\" makes a block.",
     "IF (%OS%=WINNT) THEN BEGIN\n  PRINT \"ASK THE VENDOR\";\nEND;",
     "IF (%OS%=WINNT) THEN BEGIN\n  PRINT \"ASK THE SUPPLIER\";\nEND;"},
    {"R009", E, "A variable in a print-list must follow a \"+\" directly",
     "A variable's name starts right after the \"+\". With a blank between them the name is empty "
     "and the variable is dropped; a variable without a \"+\" in front is never printed.",
     "PRINT \"CPU: \" + %CPU%;", "PRINT \"CPU: \"+%CPU%;"},
    {"R010", E, "A statement without a known keyword does nothing",
     "A statement starts with SET, IF, PRINT or SUGGEST followed by a blank. Any other word, or a "
     "keyword glued to what follows or followed by a line break, makes the statement do nothing.",
     "IF(%X%=1) THEN PRNT \"A\";", "IF (%X%=1) THEN PRINT \"A\";"},
    {"R011", E, "IF without THEN",
     "Without THEN the statement has no action: nothing runs, whatever the "
     "condition.",
     "IF (%X%=1) PRINT \"A\";", "IF (%X%=1) THEN PRINT \"A\";"},
    {"R012", W, "Operators have no precedence",
     "A condition is folded from left to right: A=1 & B=2 means ((A=1) & B) = 2. Put each "
     "comparison "
     "in its own parentheses, and do not mix & and | in one group.",
     "IF %OS%=WINNT & %TOTALMEMORY%<32000 THEN PRINT \"A\";",
     "IF (%OS%=WINNT) & (%TOTALMEMORY%<32000) THEN PRINT \"A\";"},
    {"R013", W, "SET with a blank before \"=\"",
     "The name of a SET is everything before the \"=\", blanks included. The blank becomes part of "
     "the name: references to the name without the blank do not see the value, and an earlier "
     "value "
     "is not replaced.",
     "SET %LIMIT% = 64;", "SET %LIMIT%=64;"},
    {"R014", W, "The report has no such variable",
     "A reference the report does not have reads as a blank in a condition and adds nothing to a "
     "print-list. Rule text is upper-cased, so names written in lower case in the report never "
     "match.",
     "IF (%TOTALMEMROY%<32000) THEN PRINT \"A\";", "IF (%TOTALMEMORY%<32000) THEN PRINT \"A\";"},
    {"R015", W, "A group without an operator is FALSE",
     "Parentheses around text without an operator give FALSE, even around TRUE or around a group "
     "that was already decided: ((A=A)) is FALSE. Only a bare TRUE is true.",
     "IF ((%OS%=WINNT)) THEN PRINT \"A\";", "IF (%OS%=WINNT) THEN PRINT \"A\";"},
    {"R016", E, "A \"%\" without its closing \"%\"",
     "A reference runs from one \"%\" to the next. A lone \"%\" in a condition takes the rest of "
     "the "
     "condition with it, which becomes a blank.",
     "IF (%OS=WINNT) & (%TOTALMEMORY%<32000) THEN PRINT \"A\";",
     "IF (%OS%=WINNT) & (%TOTALMEMORY%<32000) THEN PRINT \"A\";"},
    {"R017", E, "Blocks do not nest; a block ends at its first END",
     "A block runs to the first END; of the text, and inside it to the first END. A BEGIN inside a "
     "block, text after an inner END, or an END; with no block open do not work as written.",
     "IF (%X%=1) THEN BEGIN\n  IF (%Y%=1) THEN BEGIN PRINT \"A\"; END;\n  PRINT \"B\";\nEND;",
     "IF (%X%=1) & (%Y%=1) THEN PRINT \"A\";\nIF (%X%=1) THEN PRINT \"B\";"},
};

} // namespace

const std::vector<LintCode>& lintCodes()
{
    return kCodes;
}

const LintCode* findLintCode(std::string_view code)
{
    for (const LintCode& c : kCodes)
        if (equalsNoCase(code, c.code))
            return &c;
    return nullptr;
}

const char* severityName(LintSeverity severity)
{
    return severity == LintSeverity::Error ? "error" : "warning";
}

std::string explainLintCode(const LintCode& code)
{
    auto indented = [](std::string_view text) {
        std::string r = "    ";
        for (char c : text) {
            r += c;
            if (c == '\n')
                r += "    ";
        }
        return r + '\n';
    };
    return std::string(code.code) + " (" + severityName(code.severity) + "): " + code.title + "\n"
           + code.help + "\nWrong:\n" + indented(code.wrong) + "Right:\n" + indented(code.right);
}

} // namespace qmx
