#include "cmd_update.h"

#include "util/cp1252.h"
#include "ruletext.h"

#include "rules/rulesettings.h"
#include "setup/settingslocation.h"
#include "update/update.h"
#include "util/error.h"
#include "util/fileio.h"

#include <iostream>
#include <optional>

namespace qmx::cli {

const char* const kUpdateUsage =
    "  qmxread-cli update  [--settings FILE] [--dir DIR] [--only QMXRead.ini|QMXScan.ini]\n"
    "                                              the FTP update of the settings and scanner input files\n";

namespace {

struct UpdateArgs {
    std::string settings;
    std::string dir;
    std::string only;
};

// Splits "--name=value" or takes the value from the next word.
std::optional<UpdateArgs> parseUpdateArgs(const std::vector<std::string>& args, std::string& reason)
{
    UpdateArgs out;
    for (size_t i = 0; i < args.size(); ++i) {
        std::string name = args[i], value;
        const size_t eq = name.find('=');
        const bool inline_ = name.rfind("--", 0) == 0 && eq != std::string::npos;
        if (inline_) {
            value = name.substr(eq + 1);
            name.resize(eq);
        }
        std::string* target = name == "--settings" ? &out.settings
                              : name == "--dir"    ? &out.dir
                              : name == "--only"   ? &out.only
                                                   : nullptr;
        if (!target) {
            reason = "unknown argument to update: " + args[i];
            return std::nullopt;
        }
        if (!inline_) {
            if (i + 1 >= args.size()) {
                reason = name + " needs a value";
                return std::nullopt;
            }
            value = args[++i];
        }
        *target = value;
    }
    if (!out.only.empty() && out.only != kSettingsFileName && out.only != kScanFileName) {
        reason = "--only takes QMXRead.ini or QMXScan.ini";
        return std::nullopt;
    }
    return out;
}

// Prints each status text as the dialog's status bar would show it.
class PrintedStatus : public CountingProgress {
public:
    void setStatus(const std::string& text) override
    {
        if (!text.empty())
            std::cout << toUtf8(text) << std::endl;
    }
};

int runUpdateCommand(const UpdateArgs& a)
{
    const LocatedSettings located = locateSettingsFile(a.settings);
    const std::string& settings = located.path;
    if (!fileExists(settings)) {
        refuseNonRegularFile(settings);
        throw Error("There is no settings file \"" + settings + "\""
                    + (located.problem.empty() ? "" : ". " + located.problem));
    }
    RuleSettings rules(settings);
    rules.load();
    UpdateRequest request = makeUpdateRequest(rules.ftp());
    request.fetchSettings = a.only.empty() || a.only == kSettingsFileName;
    request.fetchScan = a.only.empty() || a.only == kScanFileName;
    request.targetDir = a.dir.empty() ? directoryOf(settings) : a.dir;
    if (request.targetDir.empty())
        request.targetDir = "./";
    else if (request.targetDir.back() != '/')
        request.targetDir += '/';
    FtpClient client;
    std::vector<std::string> names;
    PrintedStatus status;
    runUpdate(client, request, names, status);
    return 0;
}

} // namespace

int cmdUpdate(const std::vector<std::string>& args)
{
    std::string reason;
    const auto parsed = parseUpdateArgs(args, reason);
    if (!parsed) {
        std::cerr << "qmxread-cli: " << reason << "\n\nUsage:\n" << kUpdateUsage;
        return 2;
    }
    try {
        return runUpdateCommand(*parsed);
    } catch (const Error& e) {
        // The text alone, as the status bar would show it.
        std::cout.flush();
        std::cerr << toUtf8(e.what()) << '\n';
        return 1;
    }
}

} // namespace qmx::cli
