#include "core/setup/programinfo.h"

#include "core/setup/settingslocation.h"

#ifndef QMX_VERSION
#define QMX_VERSION "0.0.0"
#endif

namespace qmx {

const char* programVersion()
{
    return QMX_VERSION;
}

std::string versionText(const std::string& program)
{
    return program + " " + programVersion() + "\nCopyright (c) the QMXRead developers.\n";
}

std::string desktopSettingsOverride(const std::vector<std::string>& args)
{
    std::string value;
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--settings" && i + 1 < args.size())
            value = args[++i];
        else if (args[i].rfind("--settings=", 0) == 0)
            value = args[i].substr(11);
    }
    return value;
}

std::optional<std::string> desktopInfoText(const std::vector<std::string>& args)
{
    for (const std::string& a : args) {
        if (a == "--version")
            return versionText("qmxread");
        if (a == "--help" || a == "-h")
            return "Usage: qmxread [/D] [--settings FILE]\n"
                   "Reads workstation scan reports, runs rule sets over them and writes "
                   "suggestions.\n"
                   "\n"
                   "Options:\n"
                   "  /D               debug mode (any case): keep the Variables page and trace "
                   "the\n"
                   "                   rule interpreter in the Suggestions page\n"
                   "  --settings FILE  settings file to read and write instead of the default one\n"
                   "  --help           this text\n"
                   "  --version        the program's version\n"
                   "\n"
                   "Settings file in use: "
                   + settingsPathInUse(desktopSettingsOverride(args)) + "\n";
    }
    return std::nullopt;
}

} // namespace qmx
