// A generated rule set in the shapes real rule sets have, for the linter's
// and the rule editor's benchmarks.
#pragma once

#include <string>

namespace qmx::bench {

// A rule set of about `statements` statements in the shapes real rule sets
// have: comments, SETs, IFs with two parenthesised comparisons, ELSE, blocks
// and print-lists with variables; a few references the report lacks.
inline std::string makeRuleSet(int statements)
{
    std::string t;
    for (int i = 0, n = 0; n < statements; ++i) {
        const std::string k = std::to_string(i);
        switch (i % 6) {
        case 0:
            t += "// check " + k + "\r\nSET %LIMIT_" + k + "%=" + k + ";\r\n";
            n += 1;
            break;
        case 1:
            t += "IF (%TOTALMEMORY%<%LIMIT_" + std::to_string(i - 1)
                 + "%) & (%OS%=WINNT) THEN PRINT \"MEMORY \"+%TOTALMEMORY%+\" KB IS BELOW THE "
                   "LIMIT\";\r\n";
            n += 2;
            break;
        case 2:
            t += "IF (%CPU%=486) THEN PRINT \"SLOW CPU\" ELSE PRINT \"CPU: \"+%CPU%;\r\n";
            n += 2;
            break;
        case 3:
            t += "IF (%OS%=WIN95) THEN BEGIN\r\n  PRINT \"UPGRADE " + k
                 + "\";\r\n  PRINT \"PLAN IT\";\r\nEND;\r\n";
            n += 3;
            break;
        case 4:
            t += "PRINT \"COMPUTER: \"+%COMPUTERNAME%+\" USER: \"+%USER_" + k + "%;\r\n";
            n += 1;
            break;
        default:
            t += "IF (%FILE:SYS" + k + ".DLL:DEFAULT%=OLDER) THEN PRINT \"OLD DRIVER\";\r\n";
            n += 2;
            break;
        }
    }
    return t;
}

} // namespace qmx::bench
