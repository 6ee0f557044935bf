#include "options.h"

namespace qmx::cli {

const char* const kUsage =
    "Usage:\n"
    "  qmxread-cli report    [OPTIONS] REPORT      JSON description of one loaded report\n"
    "  qmxread-cli variables [OPTIONS] REPORT      the report variable list, one entry a line, in list order\n"
    "  qmxread-cli analyze   [OPTIONS] REPORT...   the Suggestions text of each report\n"
    "  qmxread-cli attached  REPORT NAME           the rebuilt text of one attached file\n"
    "  qmxread-cli eval      CONDITION             TRUE or FALSE, as an IF condition is decided\n"
    "  qmxread-cli server    REPORT                JSON description of a parsed server configuration report\n"
    "  qmxread-cli compare [--csv] [--differences] [--baseline first|majority] REPORT...\n"
    "                                              the comparison grid of the reports, in the order given\n"
    "  qmxread-cli update  [--settings FILE] [--dir DIR] [--only QMXRead.ini|QMXScan.ini]\n"
    "                                              the FTP update of the settings and scanner input files\n"
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

namespace {

struct CommandName {
    const char* name;
    Command command;
};

constexpr CommandName kCommands[] = {
    {"report", Command::Report},     {"variables", Command::Variables}, {"analyze", Command::Analyze},
    {"attached", Command::Attached}, {"eval", Command::Eval},
};

bool takesOptions(Command c) { return c == Command::Report || c == Command::Variables || c == Command::Analyze; }

// One "--name[=value]" option at args[i]; i moves past a value given as
// the next argument. False, with error set, for a bad option.
bool parseOption(const std::vector<std::string>& args, size_t& i, CommandLine& cl,
                 std::string& error)
{
    const std::string& a = args[i];
    std::string name = a, value;
    bool hasValue = false;
    if (const size_t eq = a.find('='); eq != std::string::npos) {
        name = a.substr(0, eq);
        value = a.substr(eq + 1);
        hasValue = true;
    }
    if (name == "--debug" || name == "--no-rules") {
        if (hasValue) {
            error = "option " + name + " takes no value";
            return false;
        }
        (name == "--debug" ? cl.debug : cl.noRules) = true;
        return true;
    }
    std::string* target = name == "--settings"     ? &cl.rules.settingsPath
                          : name == "--rule-set"   ? &cl.rules.ruleSet
                          : name == "--rules-file" ? &cl.rules.rulesFile
                                                   : nullptr;
    if (!target) {
        error = "unknown option '" + name + "'";
        return false;
    }
    if (!hasValue) {
        if (i + 1 >= args.size()) {
            error = "option " + name + " needs a value";
            return false;
        }
        value = args[++i];
    }
    if (value.empty()) {
        error = "option " + name + " needs a value";
        return false;
    }
    *target = value;
    return true;
}

// Why the operands do not fit the command, or "" when they do.
std::string operandError(const CommandLine& cl, const std::string& first)
{
    const size_t n = cl.operands.size();
    switch (cl.command) {
    case Command::Analyze: return n == 0 ? "analyze needs at least one report" : "";
    case Command::Attached:
        return n != 2 ? "attached needs a report and the name of an attached file" : "";
    case Command::Eval: return n != 1 ? "eval needs one condition (quote it)" : "";
    default: return n != 1 ? first + " needs one report" : "";
    }
}

} // namespace

std::optional<CommandLine> parseCommandLine(const std::vector<std::string>& args, std::string& error)
{
    CommandLine cl;
    if (args.empty()) {
        error = "no command given";
        return std::nullopt;
    }
    const std::string& first = args[0];
    if (first == "--help" || first == "-h" || first == "help") {
        cl.command = Command::Help;
        return cl;
    }
    bool known = false;
    for (const auto& c : kCommands)
        if (first == c.name) {
            cl.command = c.command;
            known = true;
        }
    if (!known) {
        error = "unknown command '" + first + "'";
        return std::nullopt;
    }

    size_t i = 1;
    if (cl.command == Command::Eval) {
        // A condition may begin with "-"; only "--" is taken from in front of it.
        if (i < args.size() && args[i] == "--")
            ++i;
        cl.operands.assign(args.begin() + static_cast<long>(i), args.end());
    } else {
        bool optionsEnded = false;
        for (; i < args.size(); ++i) {
            const std::string& a = args[i];
            if (optionsEnded || a.size() < 2 || a.compare(0, 2, "--") != 0) {
                cl.operands.push_back(a);
                continue;
            }
            if (a == "--") {
                optionsEnded = true;
                continue;
            }
            if (a == "--help") {
                cl.command = Command::Help;
                cl.operands.clear();
                return cl;
            }
            if (!takesOptions(cl.command)) {
                error = first + " takes no options";
                return std::nullopt;
            }
            if (!parseOption(args, i, cl, error))
                return std::nullopt;
        }
    }

    error = operandError(cl, first);
    if (!error.empty())
        return std::nullopt;
    return cl;
}

} // namespace qmx::cli
