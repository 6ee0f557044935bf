#include "cli/usage.h"

#include "core/util/cp1252.h"

#include <iostream>

namespace qmx::cli {

const char* const kUsage =
    "Usage:\n"
    "  qmxread-cli report    [OPTIONS] REPORT      JSON description of one loaded report\n"
    "  qmxread-cli variables [OPTIONS] REPORT      the report variable list, one entry a line, in "
    "list order\n"
    "  qmxread-cli analyze   [OPTIONS] REPORT...   the Suggestions text of each report\n"
    "  qmxread-cli attached  REPORT NAME           the rebuilt text of one attached file\n"
    "  qmxread-cli eval      CONDITION             TRUE or FALSE, as an IF condition is decided\n"
    "  qmxread-cli server    REPORT                JSON description of a parsed server "
    "configuration report\n"
    "  qmxread-cli compare [--csv] [--differences] [--baseline first|majority] REPORT...\n"
    "                                              the comparison grid of the reports, in the "
    "order given\n"
    "  qmxread-cli update  [--settings FILE] [--dir DIR] [--only QMXRead.ini|QMXScan.ini]\n"
    "                                              the FTP update of the settings and scanner "
    "input files\n"
    "  qmxread-cli analyze --summary [--csv | --format json|jsonl] [--since OLD] [--jobs N]\n"
    "                      REPORT|DIR...           findings across reports: count, hosts, "
    "evidence\n"
    "  qmxread-cli summary [--csv | --format json] [--since OLD.jsonl] FILE.jsonl...\n"
    "                                              the same summary built from --format jsonl "
    "pieces\n"
    "  qmxread-cli lint    [--settings FILE] [--rule-set NAME | --rules-file FILE] [--report "
    "REPORT]\n"
    "                                              the rule language's traps in a rule text, one a "
    "line,\n"
    "                                              LINE:COLUMN: warning: TEXT [CODE]; --format "
    "json,\n"
    "                                              --severity error, --explain CODE; exit 1 with "
    "warnings\n"
    "  qmxread-cli --help                          this text\n"
    "  qmxread-cli --version                       the program's version\n"
    "OPTIONS:\n"
    "  --settings FILE    settings file (default: QMXRead.ini in the program's directory when it\n"
    "                     holds one or can be written; otherwise, for an installed program,\n"
    "                     $XDG_CONFIG_HOME/qmxread/QMXRead.ini, seeded from the installed sample)\n"
    "  --rule-set NAME    rule set to run (default: the settings file's Default_Rule_Set)\n"
    "  --rules-file FILE  rule text read from a plain text file; overrides the two options above\n"
    "  --debug            as the /D switch: trace lines in the Suggestions text\n"
    "  --no-rules         load without running rules\n"
    "  --jobs N           analyze: reports analysed at once (default: the number of cores);\n"
    "                     the output is the same for every N\n"
    "Notes:\n"
    "  Output is UTF-8; reports and rule texts are read as Windows-1252.\n"
    "  attached runs the rules of the default settings, like any load; NAME must be\n"
    "  one of the report's attached files.\n"
    "  eval upper-cases the letters a-z of CONDITION first, as the rule interpreter\n"
    "  does with every statement, and turns line breaks into blanks. There is no\n"
    "  report, so %NAME% references are compared as plain text.\n"
    "  compare reads each REPORT's sections and keys as a ticked report window does;\n"
    "  a report that cannot be read gives an empty column and a warning. Output is\n"
    "  JSON ({\"header\", \"rows\": [{\"key\", \"cells\", \"red\", \"blue\"}]}) or, with --csv,\n"
    "  CSV of the header, keys and cells. --differences keeps rows with a red cell;\n"
    "  --baseline majority marks cells that differ from the row's most common value.\n"
    "Exit status: 0 success, 1 error (message on stderr), 2 usage error.\n";

void printError(const std::string& message)
{
    std::cout.flush();
    std::cerr << "qmxread-cli: " << toUtf8(message) << '\n';
}

} // namespace qmx::cli
