// Where the reader's settings file QMXRead.ini lives, the same for both
// programs. A program directory that already holds one, or that the user
// can write to (a build tree, a copied folder), keeps it there, as stored
// setups expect. An installed program (its sample settings file lies in
// ../share/qmxread beside its bin directory) and a program in a directory
// the user cannot write keep it per user in $XDG_CONFIG_HOME/qmxread
// (default ~/.config/qmxread), seeded from the installed sample on first
// start. An explicit --settings FILE always wins.
#pragma once

#include <string>

namespace qmx {

inline constexpr const char* kSettingsFileName = "QMXRead.ini";

// What the choice depends on, gathered from the system by
// currentSettingsFacts and given by hand in tests.
struct SettingsFacts {
    std::string override;   // --settings FILE; used as given when not empty
    std::string programDir; // the running program's directory
    bool programDirHasSettings = false;
    bool programDirWritable = false;
    std::string installedSample; // the installed sample settings file, "" when none
    std::string xdgConfigHome;   // $XDG_CONFIG_HOME
    std::string home;            // $HOME
};

enum class SettingsPlace { Override, ProgramDir, UserConfig };

struct SettingsChoice {
    std::string path;
    SettingsPlace place = SettingsPlace::ProgramDir;
    // Copied to path when path does not exist yet ("" for none).
    std::string seedFrom;
};

SettingsChoice chooseSettings(const SettingsFacts& facts);

// The per-user settings directory with its trailing "/": an absolute
// $XDG_CONFIG_HOME (a relative one is ignored, as the base directory rules
// say) or $HOME/.config, then "qmxread/". "" when neither is usable.
std::string userConfigDirectory(const std::string& xdgConfigHome, const std::string& home);

// The running executable's directory with its trailing "/", or "".
std::string runningProgramDirectory();

// The facts of this process.
SettingsFacts currentSettingsFacts(const std::string& override);

// Creates the per-user directory and copies the seed when the file does not
// exist yet. Returns "" on success, else the reason it could not, naming the
// file that stands where a directory is needed.
std::string prepareSettings(const SettingsChoice& choice);

// The settings file this process uses (chosen, not prepared): what --help and
// the About box show.
std::string settingsPathInUse(const std::string& override = {});

struct LocatedSettings {
    std::string path;
    // Why the directory could not be made or seeded, "" when it could: the
    // caller tells the user along with "no settings file found".
    std::string problem;
};

// The settings file this process uses, its directory created and seeded.
// A failure to seed leaves the path without a file: the caller then runs
// without settings and says so, with the problem.
LocatedSettings locateSettingsFile(const std::string& override = {});

// locateSettingsFile's path alone.
std::string locateSettings(const std::string& override = {});

} // namespace qmx
