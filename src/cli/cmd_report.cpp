#include "cli/cmd_report.h"

#include "cli/cmd_fleet.h"
#include "cli/jsonout.h"
#include "cli/reportjson.h"
#include "cli/ruletext.h"
#include "cli/usage.h"

#include "core/fleet/parallel.h"
#include "core/report/attached.h"
#include "core/report/loader.h"
#include "core/rules/expression.h"
#include "core/rules/interpreter.h"
#include "core/util/cp1252.h"
#include "core/util/error.h"
#include "core/util/lines.h"
#include "core/util/progress.h"

#include <algorithm>
#include <exception>
#include <iostream>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace qmx::cli {

namespace {

struct LoadedReport {
    ReportDocument doc;
    CountingProgress progress;
};

// The process ends soon after a command has printed its report, and freeing
// a large document piece by piece takes longer than the exit does, so the
// last document is left to the exit. It stays reachable from a static, so
// leak checkers do not count it as lost.
void keepUntilExit(std::unique_ptr<LoadedReport> r)
{
    static std::mutex m;
    static auto* kept = new std::vector<std::unique_ptr<LoadedReport>>;
    const std::lock_guard lock(m);
    kept->push_back(std::move(r));
}

class Session {
public:
    explicit Session(const ParsedArgs& args)
        : debug_(args.has("--debug")), noRules_(args.has("--no-rules"))
    {
        if (!noRules_)
            ruleText_ = loadRuleText(ruleSourceOf(args), &whyNoRules_);
    }

    // Why no rules run from the settings file, or "".
    const std::string& whyNoRules() const { return whyNoRules_; }

    // Throws qmx::Error when the report cannot be read.
    void load(LoadedReport& r, const std::string& path) const
    {
        LoadOptions options;
        options.progress = &r.progress;
        if (!noRules_)
            options.runRules = [this](ReportDocument& doc) {
                runRules(doc.variables, doc.suggestions, debug_, ruleText_);
            };
        loadall(r.doc, path, options);
    }

private:
    bool debug_;
    bool noRules_;
    std::string ruleText_;
    std::string whyNoRules_;
};

// One entry a line: a line break inside an entry (a SET spread over several
// lines) is shown as a blank.
void oneLine(std::string_view entry, std::string& s)
{
    s.clear();
    bool first = true;
    forEachPiece(entry, [&](std::string_view piece) {
        if (!first)
            s += ' ';
        s.append(piece);
        first = false;
    });
}

int cmdReport(const ParsedArgs& args)
{
    const Session session(args);
    auto r = std::make_unique<LoadedReport>();
    session.load(*r, args.operands[0]);
    writeReportJson(std::cout, r->doc, r->progress);
    keepUntilExit(std::move(r));
    return kOk;
}

int cmdVariables(const ParsedArgs& args)
{
    const Session session(args);
    auto loaded = std::make_unique<LoadedReport>();
    LoadedReport& r = *loaded;
    session.load(r, args.operands[0]);
    // A large report has a million entries: decode into one buffer and
    // write it in large pieces.
    std::string out, line;
    auto flush = [&] {
        std::cout.write(out.data(), static_cast<std::streamsize>(out.size()));
        out.clear();
    };
    r.doc.variables.forEach([&](std::string_view entry) {
        oneLine(entry, line);
        appendUtf8(out, line);
        out += '\n';
        if (out.size() >= (size_t(1) << 16))
            flush();
    });
    flush();
    keepUntilExit(std::move(loaded));
    return kOk;
}

// One report's part of the analyze output, built apart so that reports can
// be analysed on several threads and printed in the order given.
struct AnalyzeOutput {
    std::string text;
    std::string error;
};

// keep: the document is left to the exit (the batch's only report).
AnalyzeOutput analyzeOne(const Session& session, const std::string& path, bool header, bool keep)
{
    AnalyzeOutput out;
    if (header)
        out.text = "==> " + path + " <==\n";
    auto loaded = std::make_unique<LoadedReport>();
    LoadedReport& r = *loaded;
    try {
        session.load(r, path);
    } catch (const std::exception& e) {
        // One unreadable report, or one too big for memory, does not
        // stop a batch.
        out.error = errorMessage(e, "load \"" + path + "\"");
        return out;
    }
    for (const std::string& line : suggestionLines(r.doc)) {
        appendUtf8(out.text, line);
        out.text += '\n';
    }
    if (keep)
        keepUntilExit(std::move(loaded));
    return out;
}

int cmdAnalyze(const ParsedArgs& args)
{
    checkSummaryOptions(args);
    if (args.has("--summary"))
        return runFindingsSummary(args);
    const unsigned jobs = jobsOf(args);
    const Session session(args);
    if (!session.whyNoRules().empty())
        printError("warning: " + session.whyNoRules());
    const bool headers = args.operands.size() > 1;
    int status = kOk;
    runInOrder(
        args.operands.size(), jobs,
        [&](size_t i) {
            return analyzeOne(session, args.operands[i], headers, args.operands.size() == 1);
        },
        [&](size_t, AnalyzeOutput out) {
            std::cout.write(out.text.data(), static_cast<std::streamsize>(out.text.size()));
            if (!out.error.empty()) {
                printError(out.error);
                status = kFailed;
            }
        });
    return status;
}

int cmdAttached(const ParsedArgs& args)
{
    const Session session(args);
    LoadedReport r;
    const std::string& path = args.operands[0];
    const std::string& name = args.operands[1];
    session.load(r, path);
    const auto& list = r.doc.attached;
    if (std::find(list.begin(), list.end(), name) == list.end())
        throw Error("\"" + path + "\" has no attached file \"" + name + "\"");
    std::vector<std::string> lines;
    std::string failure;
    try {
        extractAttached(r.doc.lines, name, lines);
    } catch (const Error& e) {
        failure = e.what();
    }
    for (const std::string& line : lines)
        std::cout << toUtf8(line) << '\n';
    if (!failure.empty()) {
        printError(failure);
        return kFailed;
    }
    return kOk;
}

int cmdEval(const ParsedArgs& args)
{
    ExpressionEvaluator evaluator;
    std::cout << (evaluator.ProcessExpression(RuleInterpreter::conditionText(args.operands[0]))
                      ? "TRUE"
                      : "FALSE")
              << '\n';
    return kOk;
}

const OptionSpec kLoadOptions[] = {
    {"--settings", true}, {"--rule-set", true}, {"--rules-file", true}, {"--debug"}, {"--no-rules"},
};

const OptionSpec kAnalyzeOptions[] = {
    {"--settings", true},
    {"--rule-set", true},
    {"--rules-file", true},
    {"--debug"},
    {"--no-rules"},
    {"--jobs", true},
    {"--summary"},
    {"--csv"},
    {"--format", true, "json|jsonl", "--format takes json or jsonl"},
    {"--since", true},
};

} // namespace

const CommandSpec kReportCommand{"report",  kLoadOptions, 1, 1, "report needs one report",
                                 cmdReport, kUsage};
const CommandSpec kVariablesCommand{"variables",  kLoadOptions, 1, 1, "variables needs one report",
                                    cmdVariables, kUsage};
const CommandSpec kAnalyzeCommand{
    "analyze",  kAnalyzeOptions, 1, SIZE_MAX, "analyze needs at least one report",
    cmdAnalyze, kUsage};
const CommandSpec kAttachedCommand{"attached",
                                   {},
                                   2,
                                   2,
                                   "attached needs a report and the name of an attached file",
                                   cmdAttached,
                                   kUsage,
                                   HelpKind::UsageAndSettings,
                                   UsageWording{.unknownOption = "attached takes no options"}};
// A condition may begin with "-": only a leading "--" is taken from in front of it.
const CommandSpec kEvalCommand{
    "eval",         {}, 1,     1,   "eval needs one condition (quote it)", cmdEval, kUsage,
    HelpKind::None, {}, false, true};

} // namespace qmx::cli
