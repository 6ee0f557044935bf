// qmxread-cli: the report reader's core without windows, for batch work over
// many reports and for scripts. Every command that reads a workstation
// report runs the complete loader, rules included, as the report window does.
#include "cli/args.h"
#include "cli/cmd_compare.h"
#include "cli/cmd_fleet.h"
#include "cli/cmd_lint.h"
#include "cli/cmd_report.h"
#include "cli/cmd_server.h"
#include "cli/cmd_update.h"
#include "cli/usage.h"

#include "core/setup/programinfo.h"
#include "core/setup/settingslocation.h"
#include "core/util/error.h"
#include "core/util/fileio.h"

#include <exception>
#include <iostream>
#include <string>
#include <vector>

using namespace qmx;
using namespace qmx::cli;

namespace {

// Every command: a new one is one more row.
const CommandSpec* const kCommands[] = {
    &kReportCommand, &kVariablesCommand, &kAnalyzeCommand, &kAttachedCommand, &kEvalCommand,
    &kServerCommand, &kCompareCommand,   &kUpdateCommand,  &kLintCommand,     &kSummaryCommand,
};

int usageError(const std::string& reason, const char* usage)
{
    std::cerr << "qmxread-cli: " << reason << "\n\n" << usage;
    return kUsageError;
}

void printUsage(const char* usage, bool withSettings, const std::string& settings)
{
    std::cout << usage;
    if (withSettings)
        std::cout << "Settings file in use: " << settingsPathInUse(settings) << '\n';
}

int runCommand(const CommandSpec& command, const std::vector<std::string>& words)
{
    ParsedArgs args;
    try {
        if (parseArgs(command, words, args) == ParseOutcome::Help) {
            printUsage(command.usage, command.help == HelpKind::UsageAndSettings,
                       args.value("--settings"));
            return kOk;
        }
        return command.run(args);
    } catch (const UsageError& e) {
        return usageError(e.what(), command.usage);
    }
}

int run(const std::vector<std::string>& args)
{
    if (args.empty())
        return usageError("no command given", kUsage);
    const std::string& first = args[0];
    if (first == "--help" || first == "-h" || first == "help") {
        printUsage(kUsage, true, {});
        return kOk;
    }
    if (args.size() == 1 && first == "--version") {
        std::cout << versionText("qmxread-cli");
        return kOk;
    }
    for (const CommandSpec* command : kCommands)
        if (first == command->name)
            return runCommand(*command, {args.begin() + 1, args.end()});
    return usageError("unknown command '" + first + "'", kUsage);
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
