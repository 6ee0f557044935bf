#include "cli/cmd_update.h"

#include "core/rules/rulesettings.h"
#include "core/setup/settingslocation.h"
#include "core/update/update.h"
#include "core/util/cp1252.h"
#include "core/util/error.h"
#include "core/util/fileio.h"

#include <csignal>
#include <filesystem>
#include <iostream>

namespace qmx::cli {

namespace {

const char* const kUpdateUsage =
    "Usage:\n"
    "  qmxread-cli update  [--settings FILE] [--dir DIR] [--only QMXRead.ini|QMXScan.ini]\n"
    "                                              the FTP update of the settings and scanner "
    "input files\n";

// Prints each status text as the dialog's status bar would show it.
class PrintedStatus : public CountingProgress {
public:
    void setStatus(const std::string& text) override
    {
        if (!text.empty())
            std::cout << toUtf8(text) << std::endl;
    }
};

// The shell's status for a program ended by Ctrl+C.
constexpr int kInterrupted = 128 + SIGINT;

volatile std::sig_atomic_t interrupted = 0;

void onInterrupt(int)
{
    interrupted = 1;
}

// Ctrl+C asks the update to stop at its next wait, which comes within a few
// milliseconds and ends it cleanly: no partial file is left. A repeated
// Ctrl+C (timeout(1) sends one to the child and one to its group) only asks
// again. A run started with Ctrl+C ignored (in the background) keeps
// ignoring it.
void catchInterrupt()
{
    struct sigaction sa {};
    if (::sigaction(SIGINT, nullptr, &sa) == 0 && sa.sa_handler == SIG_IGN)
        return;
    sa.sa_handler = onInterrupt;
    sa.sa_flags = 0;
    sigemptyset(&sa.sa_mask);
    ::sigaction(SIGINT, &sa, nullptr);
}

int runUpdateCommand(const ParsedArgs& a)
{
    // A target that cannot take the files is refused before anything is sent.
    std::error_code ec;
    if (a.has("--dir") && !std::filesystem::is_directory(a.value("--dir"), ec))
        throw UsageError("--dir " + a.value("--dir") + " is not a directory");
    const LocatedSettings located = locateSettingsFile(a.value("--settings"));
    const std::string& settings = located.path;
    if (!fileExists(settings)) {
        refuseNonRegularFile(settings);
        throw Error("There is no settings file \"" + settings + "\""
                    + (located.problem.empty() ? "" : ". " + located.problem));
    }
    RuleSettings rules(settings);
    rules.load();
    UpdateRequest request = makeUpdateRequest(rules.ftp());
    const std::string& only = a.value("--only");
    request.fetchSettings = only.empty() || only == kSettingsFileName;
    request.fetchScan = only.empty() || only == kScanFileName;
    request.targetDir = a.has("--dir") ? a.value("--dir") : directoryOf(settings);
    if (request.targetDir.empty())
        request.targetDir = "./";
    else if (request.targetDir.back() != '/')
        request.targetDir += '/';
    FtpClient client;
    std::vector<std::string> names;
    PrintedStatus status;
    catchInterrupt();
    client.setWait(
        [&status] {
            if (interrupted)
                status.requestCancel();
        },
        &status);
    runUpdate(client, request, names, status);
    return kOk;
}

int cmdUpdate(const ParsedArgs& args)
{
    try {
        return runUpdateCommand(args);
    } catch (const Error& e) {
        // The text alone, as the status bar would show it.
        std::cout.flush();
        std::cerr << toUtf8(e.what()) << '\n';
        return interrupted ? kInterrupted : kFailed;
    }
}

const OptionSpec kUpdateOptions[] = {
    {"--settings", true},
    {"--dir", true},
    {"--only", true, "QMXRead.ini|QMXScan.ini", "--only takes QMXRead.ini or QMXScan.ini"},
};

} // namespace

const CommandSpec kUpdateCommand{"update",
                                 kUpdateOptions,
                                 0,
                                 0,
                                 "",
                                 cmdUpdate,
                                 kUpdateUsage,
                                 HelpKind::None,
                                 {"unknown argument to update: %w", "%n needs a value", ""}};

} // namespace qmx::cli
