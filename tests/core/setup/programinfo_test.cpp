#include "core/setup/programinfo.h"

#include <gtest/gtest.h>

using namespace qmx;

TEST(ProgramInfo, DesktopSettingsOverride)
{
    const struct {
        std::vector<std::string> args;
        std::string expected;
    } cases[] = {
        {{}, ""},
        {{"/D"}, ""},
        {{"--settings", "a.ini"}, "a.ini"},
        {{"--settings=a=b=c.ini"}, "a=b=c.ini"}, // only the first "=" separates
        {{"--settings="}, ""},
        {{"--settings"}, ""}, // no value: the default file
        {{"--settings", "a.ini", "--settings=b.ini"}, "b.ini"},
        {{"--settingsx=a.ini"}, ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(desktopSettingsOverride(c.args), c.expected) << testing::PrintToString(c.args);
}

TEST(ProgramInfo, DesktopInfoTexts)
{
    EXPECT_FALSE(desktopInfoText({"/D", "report.txt"}));
    EXPECT_EQ(desktopInfoText({"/d", "--version"}).value_or("").substr(0, 8), "qmxread ");
    const std::string help = desktopInfoText({"-h", "--settings", "x/y.ini"}).value_or("");
    EXPECT_NE(help.find("Settings file in use: x/y.ini\n"), std::string::npos) << help;
    EXPECT_FALSE(desktopInfoText({"--versions"}));
}
