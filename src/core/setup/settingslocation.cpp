#include "core/setup/settingslocation.h"

#include "core/util/error.h"
#include "core/util/fileio.h"

#include <climits>
#include <cstdlib>
#include <filesystem>
#include <system_error>
#include <unistd.h>

namespace qmx {

namespace {

std::string withSlash(std::string dir)
{
    if (!dir.empty() && dir.back() != '/')
        dir += '/';
    return dir;
}

std::string environment(const char* name)
{
    const char* v = std::getenv(name);
    return v ? std::string(v) : std::string();
}

// The sample an installation puts in <prefix>/share/qmxread beside
// <prefix>/bin, or "" when the program is not installed that way.
std::string installedSampleFor(const std::string& programDir)
{
    if (programDir.empty())
        return {};
    namespace fs = std::filesystem;
    fs::path dir(programDir);
    if (!dir.has_filename())
        dir = dir.parent_path();
    const fs::path sample =
        (dir.parent_path() / "share" / "qmxread" / kSettingsFileName).lexically_normal();
    return fileExists(sample.string()) ? sample.string() : std::string();
}

// Why dir could not be created: the first path on the way to it that
// exists but is no directory (XDG_CONFIG_HOME naming a file), else the
// system's reason.
std::string whyNoDirectory(const std::string& dir, const std::error_code& ec)
{
    namespace fs = std::filesystem;
    fs::path prefix;
    for (const fs::path& part : fs::path(dir)) {
        if (part.empty())
            continue;
        prefix /= part;
        std::error_code statError;
        const fs::file_status st = fs::status(prefix, statError);
        if (!fs::exists(st))
            break;
        if (!fs::is_directory(st))
            return "\"" + prefix.string() + "\" is not a directory";
    }
    return ec.message();
}

} // namespace

std::string userConfigDirectory(const std::string& xdgConfigHome, const std::string& home)
{
    if (!xdgConfigHome.empty() && xdgConfigHome.front() == '/')
        return withSlash(xdgConfigHome) + "qmxread/";
    if (!home.empty())
        return withSlash(home) + ".config/qmxread/";
    return {};
}

SettingsChoice chooseSettings(const SettingsFacts& facts)
{
    if (!facts.override.empty())
        return {facts.override, SettingsPlace::Override, {}};
    const std::string local = withSlash(facts.programDir) + kSettingsFileName;
    if (facts.programDirHasSettings)
        return {local, SettingsPlace::ProgramDir, {}};
    // An installed program keeps its settings per user even when its
    // directory happens to be writable (an administrator's own start).
    if (facts.installedSample.empty() && facts.programDirWritable)
        return {local, SettingsPlace::ProgramDir, {}};
    const std::string userDir = userConfigDirectory(facts.xdgConfigHome, facts.home);
    if (userDir.empty())
        return {local, SettingsPlace::ProgramDir, {}};
    return {userDir + kSettingsFileName, SettingsPlace::UserConfig, facts.installedSample};
}

std::string runningProgramDirectory()
{
    char buf[PATH_MAX];
    const ssize_t n = ::readlink("/proc/self/exe", buf, sizeof buf - 1);
    if (n <= 0)
        return {};
    return directoryOf(std::string(buf, static_cast<size_t>(n)));
}

SettingsFacts currentSettingsFacts(const std::string& override)
{
    SettingsFacts f;
    f.override = override;
    f.programDir = runningProgramDirectory();
    if (!f.programDir.empty()) {
        f.programDirHasSettings = fileExists(f.programDir + kSettingsFileName);
        f.programDirWritable = ::access(f.programDir.c_str(), W_OK) == 0;
        f.installedSample = installedSampleFor(f.programDir);
    }
    f.xdgConfigHome = environment("XDG_CONFIG_HOME");
    f.home = environment("HOME");
    return f;
}

std::string prepareSettings(const SettingsChoice& choice)
{
    if (choice.place != SettingsPlace::UserConfig || fileExists(choice.path))
        return {};
    std::error_code ec;
    std::filesystem::create_directories(directoryOf(choice.path), ec);
    if (ec)
        return "Cannot create the settings directory \"" + directoryOf(choice.path)
               + "\": " + whyNoDirectory(directoryOf(choice.path), ec);
    if (choice.seedFrom.empty())
        return {};
    try {
        writeFileAtomic(choice.path, readWholeFile(choice.seedFrom));
    } catch (const Error& e) {
        return e.what();
    }
    return {};
}

std::string settingsPathInUse(const std::string& override)
{
    return chooseSettings(currentSettingsFacts(override)).path;
}

LocatedSettings locateSettingsFile(const std::string& override)
{
    const SettingsChoice choice = chooseSettings(currentSettingsFacts(override));
    std::string problem = prepareSettings(choice);
    return {choice.path, std::move(problem)};
}

std::string locateSettings(const std::string& override)
{
    return locateSettingsFile(override).path;
}

} // namespace qmx
