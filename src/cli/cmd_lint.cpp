#include "cli/cmd_lint.h"

#include "cli/jsonout.h"
#include "cli/ruletext.h"
#include "cli/usage.h"

#include "core/lint/linter.h"
#include "core/report/loader.h"
#include "core/util/cp1252.h"

#include <iostream>
#include <string>
#include <vector>

namespace qmx::cli {

namespace {

int explain(const std::string& code)
{
    const LintCode* kind = findLintCode(code);
    if (!kind)
        throw UsageError("unknown code '" + code + "'");
    std::cout << toUtf8(explainLintCode(*kind));
    return kOk;
}

void printGcc(const std::vector<LintWarning>& warnings)
{
    for (const LintWarning& w : warnings)
        std::cout << w.line << ':' << w.column << ": " << severityName(w.severity) << ": "
                  << toUtf8(w.message) << " [" << w.code << "]\n";
}

void printJson(const std::vector<LintWarning>& warnings)
{
    Json out = Json::array();
    for (const LintWarning& w : warnings)
        out.push_back({{"line", w.line},
                       {"column", w.column},
                       {"code", w.code},
                       {"severity", severityName(w.severity)},
                       {"message", toUtf8(w.message)}});
    std::cout << jsonText(out);
}

int cmdLint(const ParsedArgs& args)
{
    if (args.has("--explain"))
        return explain(args.value("--explain"));

    std::string whyNone;
    const std::string text = loadRuleText(ruleSourceOf(args), &whyNone);
    if (!whyNone.empty())
        printError("warning: " + whyNone);

    ReportDocument report;
    if (args.has("--report"))
        loadall(report, args.value("--report"));
    std::vector<LintWarning> warnings =
        lintRuleText(text, args.has("--report") ? &report.variables : nullptr);
    if (args.value("--severity") == "error")
        std::erase_if(warnings,
                      [](const LintWarning& w) { return w.severity != LintSeverity::Error; });

    if (args.value("--format") == "json")
        printJson(warnings);
    else
        printGcc(warnings);
    return warnings.empty() ? kOk : kFailed;
}

const OptionSpec kLintOptions[] = {
    {"--settings", true},
    {"--rule-set", true},
    {"--rules-file", true},
    {"--report", true},
    {"--format", true, "gcc|json", "--format takes gcc or json"},
    {"--severity", true, "error", "--severity takes error"},
    {"--explain", true},
};

} // namespace

const CommandSpec kLintCommand{"lint",
                               kLintOptions,
                               0,
                               0,
                               "lint takes no operands",
                               cmdLint,
                               kLintUsage,
                               HelpKind::UsageAndSettings};

} // namespace qmx::cli
