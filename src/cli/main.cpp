// qmxread-cli: the report reader's core without windows, for batch work over
// many reports and for scripts. Every command that reads a workstation
// report runs the complete loader, rules included, as the report window does.
#include "cmd_update.h"
#include "cmd_compare.h"
#include "cmd_server.h"
#include "options.h"
#include "reportjson.h"
#include "ruletext.h"

#include "report/attached.h"
#include "report/loader.h"
#include "rules/expression.h"
#include "rules/interpreter.h"
#include "setup/programinfo.h"
#include "setup/settingslocation.h"
#include "util/cp1252.h"
#include "util/error.h"
#include "util/fileio.h"
#include "util/lines.h"
#include "util/progress.h"
#include "util/text.h"

#include <algorithm>
#include <exception>
#include <iostream>
#include <string>
#include <vector>

using namespace qmx;
using namespace qmx::cli;

namespace {

constexpr int kOk = 0;
constexpr int kFailed = 1;
constexpr int kUsageError = 2;

void printError(const std::string& message)
{
    std::cout.flush();
    std::cerr << "qmxread-cli: " << toUtf8(message) << '\n';
}

struct LoadedReport {
    ReportDocument doc;
    CountingProgress progress;
};

class Session {
public:
    explicit Session(const CommandLine& cl) : cl_(cl)
    {
        if (!cl_.noRules)
            ruleText_ = loadRuleText(cl_.rules, &whyNoRules_);
    }

    // Why no rules run from the settings file, or "".
    const std::string& whyNoRules() const { return whyNoRules_; }

    // Throws qmx::Error when the report cannot be read.
    void load(LoadedReport& r, const std::string& path) const
    {
        LoadOptions options;
        options.progress = &r.progress;
        if (!cl_.noRules)
            options.runRules = [this](ReportDocument& doc) {
                runRules(doc.variables, doc.suggestions, cl_.debug, ruleText_);
            };
        loadall(r.doc, path, options);
    }

private:
    const CommandLine& cl_;
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

int cmdReport(const CommandLine& cl)
{
    const Session session(cl);
    LoadedReport r;
    session.load(r, cl.operands[0]);
    std::cout << reportToJson(r.doc, r.progress).dump(2) << '\n';
    return kOk;
}

int cmdVariables(const CommandLine& cl)
{
    const Session session(cl);
    LoadedReport r;
    session.load(r, cl.operands[0]);
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
    return kOk;
}

int cmdAnalyze(const CommandLine& cl)
{
    const Session session(cl);
    if (!session.whyNoRules().empty())
        printError("warning: " + session.whyNoRules());
    const bool headers = cl.operands.size() > 1;
    int status = kOk;
    for (const std::string& path : cl.operands) {
        if (headers)
            std::cout << "==> " << path << " <==\n";
        LoadedReport r;
        try {
            session.load(r, path);
        } catch (const std::exception& e) {
            // One unreadable report, or one too big for memory, does not
            // stop a batch.
            printError(errorMessage(e, "load \"" + path + "\""));
            status = kFailed;
            continue;
        }
        for (const std::string& line : suggestionLines(r.doc))
            std::cout << toUtf8(line) << '\n';
    }
    return status;
}

int cmdAttached(const CommandLine& cl)
{
    const Session session(cl);
    LoadedReport r;
    const std::string& path = cl.operands[0];
    const std::string& name = cl.operands[1];
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

int cmdEval(const CommandLine& cl)
{
    ExpressionEvaluator evaluator;
    std::cout << (evaluator.ProcessExpression(RuleInterpreter::conditionText(cl.operands[0]))
                      ? "TRUE"
                      : "FALSE")
              << '\n';
    return kOk;
}

int run(const std::vector<std::string>& args)
{
    if (!args.empty() && args[0] == "compare")
        return cmdCompare({args.begin() + 1, args.end()});
    if (args.size() == 1 && args[0] == "--version") {
        std::cout << versionText("qmxread-cli");
        return kOk;
    }
    if (!args.empty() && args[0] == "update")
        return cmdUpdate(std::vector<std::string>(args.begin() + 1, args.end()));
    if (!args.empty() && args[0] == "server")
        return runServerCommand(std::vector<std::string>(args.begin() + 1, args.end()));
    std::string reason;
    const auto cl = parseCommandLine(args, reason);
    if (!cl) {
        std::cerr << "qmxread-cli: " << reason << "\n\n" << kUsage;
        return kUsageError;
    }
    switch (cl->command) {
    case Command::Help:
        std::cout << kUsage << "Settings file in use: " << settingsPathInUse(cl->rules.settingsPath) << '\n';
        return kOk;
    case Command::Report: return cmdReport(*cl);
    case Command::Variables: return cmdVariables(*cl);
    case Command::Analyze: return cmdAnalyze(*cl);
    case Command::Attached: return cmdAttached(*cl);
    case Command::Eval: return cmdEval(*cl);
    }
    return kUsageError;
}

} // namespace

int main(int argc, char** argv)
{
    std::ios::sync_with_stdio(false);
    qmx::ignoreFileSizeLimitSignal();
    int status;
    try {
        status = run(std::vector<std::string>(argv + 1, argv + argc));
    } catch (const std::exception& e) {
        printError(errorMessage(e));
        status = kFailed;
    }
    std::cout.flush();
    if (!std::cout)
        return kFailed;
    return status;
}
