#include "cli/cmd_fleet.h"

#include "cli/fleetout.h"
#include "cli/jsonout.h"
#include "cli/ruletext.h"
#include "cli/usage.h"

#include "core/fleet/findings.h"
#include "core/fleet/parallel.h"
#include "core/fleet/reportfiles.h"
#include "core/fleet/summary.h"
#include "core/util/text.h"

#include <iostream>

namespace qmx::cli {

namespace {

enum class Format { Text, Csv, Json, Jsonl };

Format formatOf(const ParsedArgs& args)
{
    if (args.has("--csv") && args.has("--format"))
        throw UsageError("--csv and --format cannot be given together");
    if (args.has("--csv"))
        return Format::Csv;
    const std::string& f = args.value("--format");
    if (f == "json")
        return Format::Json;
    return f == "jsonl" ? Format::Jsonl : Format::Text;
}

void writeOut(const std::string& s)
{
    std::cout.write(s.data(), static_cast<std::streamsize>(s.size()));
}

// Prints the whole summary of reports (and of the comparison with older).
int printSummary(const std::vector<ReportFindings>& reports, Format format,
                 const std::vector<ReportFindings>* older)
{
    const std::vector<SummaryRow> rows = summarize(reports);
    std::vector<HostChange> changes;
    if (older)
        changes = compareScans(*older, reports);
    if (format == Format::Csv) {
        writeOut(findingsMatrixCsv(reports, rows, fileNameText));
    } else if (format == Format::Json) {
        writeOut(jsonText(summaryJson(reports, rows, older ? &changes : nullptr)));
    } else {
        writeOut(summaryText(reports, rows));
        if (older) {
            writeOut("\n");
            writeOut(sinceText(changes));
        }
    }
    for (const ReportFindings& r : reports)
        if (!r.error.empty())
            return kFailed;
    return kOk;
}

// Analyses every report and lists the unreadable ones on stderr. With
// stream set, each report is printed as a JSON line as soon as it is done and
// only the unreadable ones are kept.
std::vector<ReportFindings> analyseAll(const std::vector<std::string>& paths,
                                       const std::string& ruleText, unsigned jobs, bool stream)
{
    std::vector<ReportFindings> reports;
    runInOrder(
        paths.size(), jobs, [&](size_t i) { return findReportFindings(paths[i], ruleText); },
        [&](size_t, ReportFindings r) {
            if (!r.error.empty())
                printError(r.error);
            if (stream) {
                if (!r.error.empty())
                    reports.push_back(r);
                writeOut(jsonLine(reportJsonLine(r)) + "\n");
                std::cout.flush();
            } else {
                reports.push_back(std::move(r));
            }
        });
    return reports;
}

int cmdSummary(const ParsedArgs& args)
{
    const Format format = formatOf(args);
    if (format == Format::Jsonl)
        throw UsageError("summary prints text, --csv or --format json");
    if (args.has("--since") && format == Format::Csv)
        throw UsageError("--since cannot be given with --csv");
    std::vector<ReportFindings> reports, older;
    for (const std::string& path : args.operands)
        for (ReportFindings& r : readJsonLines(path))
            reports.push_back(std::move(r));
    if (args.has("--since"))
        older = readJsonLines(args.value("--since"));
    for (const ReportFindings& r : reports)
        if (!r.error.empty())
            printError(r.error);
    return printSummary(reports, format, args.has("--since") ? &older : nullptr);
}

const OptionSpec kSummaryOptions[] = {
    {"--csv"}, {"--format", true, "json|jsonl", "--format takes json or jsonl"}, {"--since", true}};

} // namespace

unsigned jobsOf(const ParsedArgs& args)
{
    if (!args.has("--jobs"))
        return defaultJobs();
    const auto n = toInt32(args.value("--jobs"), IntegerForms{false, false, 0});
    if (!n || *n < 1 || *n > 256)
        throw UsageError("--jobs needs a whole number from 1 to 256");
    return unsigned(*n);
}

void checkSummaryOptions(const ParsedArgs& args)
{
    if (args.has("--summary"))
        return;
    for (const char* name : {"--csv", "--format", "--since"})
        if (args.has(name))
            throw UsageError(std::string("option ") + name + " needs --summary");
}

int runFindingsSummary(const ParsedArgs& args)
{
    const Format format = formatOf(args);
    if (args.has("--since") && (format == Format::Csv || format == Format::Jsonl))
        throw UsageError("--since cannot be given with --csv or --format jsonl");
    const unsigned jobs = jobsOf(args);
    std::string whyNone;
    const std::string ruleText =
        args.has("--no-rules") ? std::string()
                               : loadRuleText({args.value("--settings"), args.value("--rule-set"),
                                               args.value("--rules-file")},
                                              &whyNone);
    if (!whyNone.empty())
        printError("warning: " + whyNone);
    const std::vector<std::string> paths = expandReportPaths(args.operands);
    std::vector<ReportFindings> older;
    if (args.has("--since"))
        older = analyseAll(expandReportPaths({args.value("--since")}), ruleText, jobs, false);
    const std::vector<ReportFindings> reports =
        analyseAll(paths, ruleText, jobs, format == Format::Jsonl);
    if (format == Format::Jsonl)
        return reports.empty() ? kOk : kFailed;
    return printSummary(reports, format, args.has("--since") ? &older : nullptr);
}

const CommandSpec kSummaryCommand{
    "summary",  kSummaryOptions, 1, SIZE_MAX, "summary needs at least one file of JSON lines",
    cmdSummary, kUsage};

} // namespace qmx::cli
