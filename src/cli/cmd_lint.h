// The `lint` command of qmxread-cli: the rule linter over a rule set or a
// rule file, optionally against one report's variables.
#pragma once

#include "cli/args.h"

namespace qmx::cli {

inline constexpr const char* kLintUsage =
    "Usage: qmxread-cli lint [--settings FILE] [--rule-set NAME | --rules-file FILE] [--report "
    "REPORT]\n"
    "                        [--format gcc|json] [--severity error]\n"
    "       qmxread-cli lint --explain CODE\n"
    "  Prints the traps of the rule text, one a line: LINE:COLUMN: warning: TEXT [CODE]\n"
    "  (error: for traps that certainly change what runs). The rule text is the rule set\n"
    "  (default: the settings file's Default_Rule_Set) or the file, as analyze reads it.\n"
    "  --report REPORT  also name the references REPORT does not have\n"
    "  --format json    an array of {line, column, code, severity, message}\n"
    "  --severity error errors only\n"
    "  --explain CODE   the help of one code, with a wrong and a right example\n"
    "Exit status: 0 no warnings, 1 warnings (or an error), 2 usage error.\n";

extern const CommandSpec kLintCommand;

} // namespace qmx::cli
