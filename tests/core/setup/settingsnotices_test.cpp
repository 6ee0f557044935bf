#include "core/rules/rulesettings.h"
#include "core/setup/settingsnotices.h"

#include "tempdir.h"

#include <gtest/gtest.h>

#include <filesystem>

#include <sys/stat.h>

using namespace qmx;
using qmx::test::TempDir;

namespace {

struct UnreadableCase {
    const char* name;
    std::string text;
    bool unreadable;
};

const UnreadableCase kUnreadable[] = {
    {"empty file", "", false},
    {"parameters only", "[QMXREAD_PARAMETERS]\nHost=a\n", false},
    {"rule list only, other case", "[rule_list_settings]\r\nCount=0\r\n", false},
    {"rule set but neither section", "[DEFAULT]\r\nCount=1\r\n0=PRINT \"x\";\r\n", true},
    {"plain text", "these are my notes\n", true},
    {"name with a trailing blank", "[QMXREAD_PARAMETERS ]\r\nHost=a\r\n", true},
    {"section name inside a line", "x=[QMXREAD_PARAMETERS]\r\n", true},
    {"header after Ctrl-Z", "notes\x1a[QMXREAD_PARAMETERS]\r\nHost=a\r\n", true},
    {"header with no entries", "[RULE_LIST_SETTINGS]\r\n", false},
};

TEST(SettingsNotices, WhatCountsAsUnreadable)
{
    TempDir dir;
    for (const auto& c : kUnreadable) {
        SCOPED_TRACE(c.name);
        const std::string path = dir.file("QMXRead.ini");
        test::writeBytes(path, c.text);
        EXPECT_EQ(unreadableAsSettings(path), c.unreadable);
    }
    EXPECT_FALSE(unreadableAsSettings(dir.file("missing.ini")));
}

TEST(SettingsNotices, SavingOverUnreadableFileKeepsABackup)
{
    TempDir dir;
    const std::string path = dir.file("QMXRead.ini");
    const std::string notes = "my notes\nnot settings at all\n";
    test::writeBytes(path, notes);
    RuleSettings s(path);
    s.loadIfPresent();
    EXPECT_EQ(test::readBytes(path + ".bak"), notes);
    EXPECT_NE(s.backupNotice().find(path + ".bak"), std::string::npos) << s.backupNotice();
    s.ftp().host = "changed";
    s.save();
    EXPECT_EQ(test::readBytes(path + ".bak"), notes);
    EXPECT_FALSE(unreadableAsSettings(path));

    // Once the file holds settings, later writes leave the backup alone.
    test::writeBytes(path + ".bak", "older");
    s.save();
    EXPECT_EQ(test::readBytes(path + ".bak"), "older");

    // A file replaced by something else while the program runs (a fetch)
    // is kept aside when it is read again.
    test::writeBytes(path, "<html>not found</html>");
    s.load();
    EXPECT_EQ(test::readBytes(path + ".bak"), "<html>not found</html>");
}

struct ReasonCase {
    const char* name;
    std::string path;
    bool found;
    std::vector<std::string> lines;
    std::string problem; // why the settings directory could not be made
    std::string expected;
};

TEST(SettingsNotices, WhyNoRulesRun)
{
    TempDir dir;
    const std::string fifo = dir.file("QMXRead.ini");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const std::string ini = "/c/QMXRead.ini";
    const std::string noDir =
        "Cannot create the settings directory \"/f/qmxread/\": \"/f\" is not a directory";
    const std::string noFile = "No rules run: no settings file found at \"" + ini + "\"";
    const std::string empty = "No rules run: the rule set \"Lab\" in \"" + ini + "\" is empty";
    const auto irregular = [](const std::string& path) {
        return "No rules run: Cannot open file \"" + path + "\": it is not a regular file";
    };
    const std::string folder = dir.path().string();
    const ReasonCase cases[] = {
        {"no file", ini, false, {"PRINT \"x\";"}, "", noFile},
        {"no file, with the reason", ini, false, {}, noDir, noFile + ". " + noDir},
        {"a FIFO is no missing file", fifo, true, {}, "", irregular(fifo)},
        {"a directory either", folder, false, {}, "", irregular(folder)},
        {"no lines", ini, true, {}, "", empty},
        {"blank lines only", ini, true, {"", " \t", "\r"}, "", empty},
        {"one statement", ini, true, {"", "PRINT \"x\";"}, "", ""},
        {"comment counts as a line", ini, true, {"// note"}, "", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(noRulesReason(c.path, c.found, "Lab", c.lines, c.problem), c.expected);
    }
}

} // namespace
