#include "core/setup/settingslocation.h"
#include "core/util/fileio.h"

#include "tempdir.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace qmx;
using qmx::test::TempDir;

namespace {

struct LocationCase {
    const char* name;
    SettingsFacts facts;
    std::string path;
    SettingsPlace place;
    std::string seed;
};

const std::string kSample = "/usr/share/qmxread/QMXRead.ini";

const LocationCase kLocations[] = {
    {"override wins over everything",
     {"my.ini", "/opt/q/", true, true, kSample, "/x", "/home/u"},
     "my.ini",
     SettingsPlace::Override,
     ""},
    {"build tree with its copy",
     {"", "/src/build/bin/", true, true, "", "", "/home/u"},
     "/src/build/bin/QMXRead.ini",
     SettingsPlace::ProgramDir,
     ""},
    {"copied folder, writable, no file yet",
     {"", "/home/u/tools", false, true, "", "", "/home/u"},
     "/home/u/tools/QMXRead.ini",
     SettingsPlace::ProgramDir,
     ""},
    {"stored setup in a read-only folder",
     {"", "/opt/q/", true, false, "", "", "/home/u"},
     "/opt/q/QMXRead.ini",
     SettingsPlace::ProgramDir,
     ""},
    {"installed, read-only",
     {"", "/usr/bin/", false, false, kSample, "", "/home/u"},
     "/home/u/.config/qmxread/QMXRead.ini",
     SettingsPlace::UserConfig,
     kSample},
    {"installed, writable by an administrator",
     {"", "/usr/bin/", false, true, kSample, "", "/root"},
     "/root/.config/qmxread/QMXRead.ini",
     SettingsPlace::UserConfig,
     kSample},
    {"config home set",
     {"", "/usr/bin/", false, false, kSample, "/cfg", "/home/u"},
     "/cfg/qmxread/QMXRead.ini",
     SettingsPlace::UserConfig,
     kSample},
    {"config home with trailing slash",
     {"", "/usr/bin/", false, false, kSample, "/cfg/", "/home/u/"},
     "/cfg/qmxread/QMXRead.ini",
     SettingsPlace::UserConfig,
     kSample},
    {"relative config home is ignored",
     {"", "/usr/bin/", false, false, kSample, "cfg", "/home/u"},
     "/home/u/.config/qmxread/QMXRead.ini",
     SettingsPlace::UserConfig,
     kSample},
    {"read-only, not installed: no sample to seed",
     {"", "/opt/q/", false, false, "", "", "/home/u"},
     "/home/u/.config/qmxread/QMXRead.ini",
     SettingsPlace::UserConfig,
     ""},
    {"no home at all falls back to the program directory",
     {"", "/opt/q/", false, false, kSample, "", ""},
     "/opt/q/QMXRead.ini",
     SettingsPlace::ProgramDir,
     ""},
};

TEST(SettingsLocation, ChoiceTable)
{
    for (const auto& c : kLocations) {
        SCOPED_TRACE(c.name);
        const SettingsChoice choice = chooseSettings(c.facts);
        EXPECT_EQ(choice.path, c.path);
        EXPECT_EQ(choice.place, c.place);
        EXPECT_EQ(choice.seedFrom, c.seed);
    }
}

TEST(SettingsLocation, PrepareCreatesAndSeedsOnlyOnce)
{
    TempDir dir;
    const std::string sample = dir.file("sample.ini");
    test::writeBytes(sample, "[QMXREAD_PARAMETERS]\r\nHost=a\r\n\r\n");
    const std::string target = dir.file("cfg/qmxread/QMXRead.ini");
    const SettingsChoice choice{target, SettingsPlace::UserConfig, sample};

    EXPECT_EQ(prepareSettings(choice), "");
    EXPECT_EQ(test::readBytes(target), test::readBytes(sample));

    // The user's own settings are never replaced by the sample.
    test::writeBytes(target, "[QMXREAD_PARAMETERS]\r\nHost=mine\r\n\r\n");
    EXPECT_EQ(prepareSettings(choice), "");
    EXPECT_EQ(test::readBytes(target), "[QMXREAD_PARAMETERS]\r\nHost=mine\r\n\r\n");

    // A program-directory choice is left alone: nothing is created.
    const std::string local = dir.file("bin/QMXRead.ini");
    EXPECT_EQ(prepareSettings({local, SettingsPlace::ProgramDir, sample}), "");
    EXPECT_FALSE(std::filesystem::exists(dir.file("bin")));
}

TEST(SettingsLocation, PrepareWithoutSampleCreatesTheDirectoryOnly)
{
    TempDir dir;
    const std::string target = dir.file("c/qmxread/QMXRead.ini");
    EXPECT_EQ(prepareSettings({target, SettingsPlace::UserConfig, ""}), "");
    EXPECT_TRUE(std::filesystem::is_directory(dir.file("c/qmxread")));
    EXPECT_FALSE(std::filesystem::exists(target));
}

// The reason names the file standing where a directory is needed
// (XDG_CONFIG_HOME set to a file), wherever it stands on the way.
TEST(SettingsLocation, PrepareReportsADirectoryItCannotCreate)
{
    TempDir dir;
    test::writeBytes(dir.file("plain"), "x");
    std::filesystem::create_directories(dir.file("cfg"));
    test::writeBytes(dir.file("cfg/qmxread"), "x");
    const struct {
        std::string settings, blocker;
    } cases[] = {
        {dir.file("plain/qmxread/QMXRead.ini"), dir.file("plain")},
        {dir.file("plain/a/b/qmxread/QMXRead.ini"), dir.file("plain")},
        {dir.file("cfg/qmxread/QMXRead.ini"), dir.file("cfg/qmxread")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.settings);
        EXPECT_EQ(prepareSettings({c.settings, SettingsPlace::UserConfig, ""}),
                  "Cannot create the settings directory \"" + directoryOf(c.settings) + "\": \""
                      + c.blocker + "\" is not a directory");
    }
}

} // namespace
