#include "core/rules/rulesettings.h"

#include "core/util/error.h"

#include "tempdir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

using namespace qmx;
using Lines = std::vector<std::string>;
namespace fs = std::filesystem;

namespace {

class RuleSettingsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir_ = tmp_.path();
        path_ = tmp_.file("QMXRead.ini");
    }

    void write(const std::string& content)
    {
        std::ofstream f(path_, std::ios::binary);
        f << content;
    }
    std::string content() const
    {
        std::ifstream f(path_, std::ios::binary);
        std::stringstream ss;
        ss << f.rdbuf();
        return ss.str();
    }

    qmx::test::TempDir tmp_;
    fs::path dir_;
    std::string path_;
};

// A file with two rule sets, Strict selected.
const std::string kTwoSets = "[QMXREAD_PARAMETERS]\r\n"
                             "Host=ftp.corp\r\n"
                             "Port=2121\r\n"
                             "User_Name=eng\r\n"
                             "Password=pw\r\n"
                             "Directory=cfg\r\n"
                             "Proxy_Server=proxy\r\n"
                             "Proxy_Port=8080\r\n"
                             "Timeout=9000\r\n"
                             "Use_Proxy=5\r\n"
                             "Default_Rule_Set=Strict\r\n"
                             "\r\n"
                             "[RULE_LIST_SETTINGS]\r\n"
                             "Count=2\r\n"
                             "0=Default\r\n"
                             "1=Strict\r\n"
                             "\r\n"
                             "[Default]\r\n"
                             "Count=1\r\n"
                             "0=PRINT \"D\";\r\n"
                             "\r\n"
                             "[STRICT]\r\n"
                             "Count=3\r\n"
                             "0=  PRINT \"S\";\r\n"
                             "1=\r\n"
                             "2=// end\r\n"
                             "\r\n";

} // namespace

TEST_F(RuleSettingsTest, NoFileStartsWithInitialTextsAndCreatesFileAtEnd)
{
    RuleSettings s(path_);
    s.loadIfPresent();
    EXPECT_FALSE(fs::exists(path_));
    EXPECT_EQ(s.ftp().host, "ftp.example.com");
    EXPECT_EQ(s.ftp().port, "21");
    EXPECT_EQ(s.ftp().userName, "anonymous");
    EXPECT_EQ(s.ftp().password, "qmxread@example.com");
    EXPECT_EQ(s.ftp().directory, "incoming");
    EXPECT_EQ(s.ftp().proxyServer, "");
    EXPECT_EQ(s.ftp().proxyPort, "0");
    EXPECT_EQ(s.ftp().timeout, "5000");
    EXPECT_FALSE(s.ftp().useProxy);
    EXPECT_TRUE(s.ruleSets().empty());
    EXPECT_EQ(s.selected(), -1);
    EXPECT_EQ(s.selectedRuleSet(), "");
    EXPECT_EQ(s.currentRuleSet(), "");

    s.editorLines() = {"PRINT \"A\";", "PRINT \"B\";"};
    EXPECT_EQ(s.ruleText(), "PRINT \"A\";\r\nPRINT \"B\";");
    s.save();
    EXPECT_EQ(content(), "[QMXREAD_PARAMETERS]\r\n"
                         "Host=ftp.example.com\r\n"
                         "Port=21\r\n"
                         "User_Name=anonymous\r\n"
                         "Password=qmxread@example.com\r\n"
                         "Directory=incoming\r\n"
                         "Proxy_Server=\r\n"
                         "Proxy_Port=0\r\n"
                         "Timeout=5000\r\n"
                         "Use_Proxy=0\r\n"
                         "Default_Rule_Set=\r\n"
                         "\r\n"
                         "[RULE_LIST_SETTINGS]\r\n"
                         "Count=0\r\n"
                         "\r\n"
                         "[]\r\n"
                         "Count=2\r\n"
                         "0=PRINT \"A\";\r\n"
                         "1=PRINT \"B\";\r\n"
                         "\r\n");

    // The next start shows the text again, under no rule set.
    RuleSettings again(path_);
    again.loadIfPresent();
    EXPECT_EQ(again.currentRuleSet(), "");
    EXPECT_EQ(again.selected(), -1);
    EXPECT_EQ(again.editorLines(), (Lines{"PRINT \"A\";", "PRINT \"B\";"}));
    EXPECT_EQ(again.ftp().password, "qmxread@example.com");
}

TEST_F(RuleSettingsTest, MissingKeysReadAsFileDefaults)
{
    write("[OTHER]\r\nx=1\r\n\r\n[default]\r\nCount=1\r\n0=PRINT \"D\";\r\n");
    RuleSettings s(path_);
    s.loadIfPresent();
    EXPECT_EQ(s.ftp().host, "ftp.example.com");
    EXPECT_EQ(s.ftp().port, "21");
    EXPECT_EQ(s.ftp().userName, "anonymous");
    EXPECT_EQ(s.ftp().password, "");
    EXPECT_EQ(s.ftp().directory, "outgoing");
    EXPECT_EQ(s.ftp().proxyServer, "");
    EXPECT_EQ(s.ftp().proxyPort, "0");
    EXPECT_EQ(s.ftp().timeout, "5000");
    EXPECT_FALSE(s.ftp().useProxy);
    EXPECT_EQ(s.currentRuleSet(), "DEFAULT");
    EXPECT_TRUE(s.ruleSets().empty());
    EXPECT_EQ(s.editorLines(), Lines{"PRINT \"D\";"});
}

TEST_F(RuleSettingsTest, LoadFillsFieldsChooserAndEditor)
{
    write(kTwoSets);
    RuleSettings s(path_);
    s.loadIfPresent();
    EXPECT_EQ(s.ftp().host, "ftp.corp");
    EXPECT_EQ(s.ftp().port, "2121");
    EXPECT_EQ(s.ftp().password, "pw");
    EXPECT_EQ(s.ftp().proxyPort, "8080");
    EXPECT_TRUE(s.ftp().useProxy); // any non-zero integer
    EXPECT_EQ(s.ruleSets(), (Lines{"Default", "Strict"}));
    EXPECT_EQ(s.selected(), 1);
    EXPECT_EQ(s.currentRuleSet(), "Strict");
    // Sections are found in any case; blanks and empty lines are kept.
    EXPECT_EQ(s.editorLines(), (Lines{"  PRINT \"S\";", "", "// end"}));
    EXPECT_EQ(content(), kTwoSets); // reading never writes
}

TEST_F(RuleSettingsTest, SaveWritesOnlyWhatChanged)
{
    write(kTwoSets);
    RuleSettings s(path_);
    s.loadIfPresent();
    s.save();
    EXPECT_EQ(content(), kTwoSets);
    s.editorLines() = {"PRINT \"NEW\";"};
    s.ftp().host = "h2";
    s.save();
    // The field in place; the edited set erased and written anew at the end.
    std::string expected = kTwoSets.substr(0, kTwoSets.find("[STRICT]"))
                           + "[Strict]\r\nCount=1\r\n0=PRINT \"NEW\";\r\n\r\n";
    expected.replace(expected.find("ftp.corp"), 8, "h2");
    EXPECT_EQ(content(), expected);
}

TEST_F(RuleSettingsTest, UnlistedDefaultRuleSetIsShownButSavedUnderEmptyName)
{
    write("[QMXREAD_PARAMETERS]\r\nDefault_Rule_Set=Hidden\r\n\r\n"
          "[RULE_LIST_SETTINGS]\r\nCount=1\r\n0=Shown\r\n\r\n"
          "[Hidden]\r\nCount=1\r\n0=PRINT \"H\";\r\n\r\n");
    RuleSettings s(path_);
    s.loadIfPresent();
    EXPECT_EQ(s.selected(), -1);
    EXPECT_EQ(s.currentRuleSet(), "Hidden");
    EXPECT_EQ(s.editorLines(), Lines{"PRINT \"H\";"});
    s.editorLines().push_back("");
    s.save();
    const std::string c = content();
    EXPECT_NE(c.find("Default_Rule_Set=\r\n"), std::string::npos);
    EXPECT_NE(c.find("[Hidden]\r\nCount=1\r\n0=PRINT \"H\";\r\n"), std::string::npos);
    EXPECT_NE(c.find("[]\r\nCount=2\r\n0=PRINT \"H\";\r\n1=\r\n"), std::string::npos);
}

TEST_F(RuleSettingsTest, SwitchSavesTheEditorUnderTheOldRuleSet)
{
    write(kTwoSets);
    RuleSettings s(path_);
    s.loadIfPresent();
    s.editorLines() = {"PRINT \"S2\";"};
    s.select(0);
    EXPECT_EQ(s.selected(), 0);
    EXPECT_EQ(s.currentRuleSet(), "Default");
    EXPECT_EQ(s.editorLines(), Lines{"PRINT \"D\";"});
    // Only the old rule set's section changed: erased and written anew at the end.
    const std::string expected = kTwoSets.substr(0, kTwoSets.find("[STRICT]"))
                                 + "[Strict]\r\nCount=1\r\n0=PRINT \"S2\";\r\n\r\n";
    EXPECT_EQ(content(), expected);

    s.select(1);
    EXPECT_EQ(s.editorLines(), Lines{"PRINT \"S2\";"});
    EXPECT_EQ(s.currentRuleSet(), "Strict");
}

TEST_F(RuleSettingsTest, AddSwitchesToAnEmptyRuleSetListedOnlyAtProgramEnd)
{
    write(kTwoSets + "[Orphan]\r\nCount=1\r\n0=PRINT \"O\";\r\n\r\n");
    RuleSettings s(path_);
    s.loadIfPresent();
    s.editorLines() = {"PRINT \"S2\";"};
    s.addRuleSet("Orphan");
    EXPECT_EQ(s.ruleSets(), (Lines{"Default", "Strict", "Orphan"}));
    EXPECT_EQ(s.selected(), 2);
    EXPECT_EQ(s.currentRuleSet(), "Orphan");
    EXPECT_TRUE(s.editorLines().empty()); // also when a section of that name existed
    const std::string afterAdd = content();
    EXPECT_NE(afterAdd.find("[Strict]\r\nCount=1\r\n0=PRINT \"S2\";\r\n"), std::string::npos);
    EXPECT_NE(afterAdd.find("[RULE_LIST_SETTINGS]\r\nCount=2\r\n0=Default\r\n1=Strict\r\n\r\n"),
              std::string::npos);
    EXPECT_NE(afterAdd.find("[Orphan]\r\nCount=1\r\n"), std::string::npos);

    s.save();
    const std::string atEnd = content();
    EXPECT_NE(
        atEnd.find("[RULE_LIST_SETTINGS]\r\nCount=3\r\n0=Default\r\n1=Strict\r\n2=Orphan\r\n"),
        std::string::npos);
    EXPECT_NE(atEnd.find("Default_Rule_Set=Orphan\r\n"), std::string::npos);
    EXPECT_NE(atEnd.find("[Orphan]\r\nCount=0\r\n"), std::string::npos);
}

TEST_F(RuleSettingsTest, AddRefusesEmptyDuplicateReservedAndControlNames)
{
    write(kTwoSets);
    RuleSettings s(path_);
    s.loadIfPresent();
    s.editorLines() = {"PRINT \"UNSAVED\";"};
    const std::pair<std::string, std::string> refused[] = {
        {"", "Please enter a rule set name."},
        {"   ", "Please enter a rule set name."},
        {"strict", "A rule set named 'Strict' already exists."},
        {"DEFAULT", "A rule set named 'Default' already exists."},
        {"qmxread_parameters",
         "'qmxread_parameters' is reserved for the program's own settings; choose another name."},
        {"Rule_List_Settings",
         "'Rule_List_Settings' is reserved for the program's own settings; choose another name."},
        {"recent_files",
         "'recent_files' is reserved for the program's own settings; choose another name."},
        {"a\r\nb", "A rule set name cannot contain line breaks or other control characters."},
    };
    for (const auto& [name, message] : refused) {
        try {
            s.addRuleSet(name);
            ADD_FAILURE() << "accepted '" << name << "'";
        } catch (const Error& e) {
            EXPECT_EQ(std::string(e.what()), message);
        }
        EXPECT_EQ(s.ruleSets(), (Lines{"Default", "Strict"}));
        EXPECT_EQ(s.selected(), 1);
        EXPECT_EQ(s.currentRuleSet(), "Strict");
        EXPECT_EQ(s.editorLines(), Lines{"PRINT \"UNSAVED\";"});
        EXPECT_EQ(content(), kTwoSets);
    }
}

TEST_F(RuleSettingsTest, RemoveDiscardsTheTextAndSectionAndShowsTheFirstSet)
{
    write(kTwoSets);
    RuleSettings s(path_);
    s.loadIfPresent();
    s.editorLines() = {"PRINT \"DISCARDED\";"};
    s.removeSelected();
    EXPECT_EQ(s.ruleSets(), Lines{"Default"});
    EXPECT_EQ(s.selected(), 0);
    EXPECT_EQ(s.currentRuleSet(), "Default");
    EXPECT_EQ(s.editorLines(), Lines{"PRINT \"D\";"});
    EXPECT_EQ(content(), kTwoSets.substr(0, kTwoSets.find("[STRICT]")));

    s.save();
    const std::string atEnd = content();
    EXPECT_NE(atEnd.find("[RULE_LIST_SETTINGS]\r\nCount=1\r\n0=Default\r\n\r\n"),
              std::string::npos);
    EXPECT_EQ(atEnd.find("DISCARDED"), std::string::npos);
    EXPECT_EQ(atEnd.find("STRICT"), std::string::npos);

    // Removing the last one leaves no selection and the unnamed rule set.
    s.removeSelected();
    EXPECT_TRUE(s.ruleSets().empty());
    EXPECT_EQ(s.selected(), -1);
    EXPECT_EQ(s.currentRuleSet(), "");
    s.removeSelected(); // nothing selected: nothing happens
    EXPECT_TRUE(s.editorLines().empty());
}

TEST_F(RuleSettingsTest, CountsReadLeniently)
{
    // Missing numbered keys read empty; a non-numeric Count reads as 0; a
    // damaged huge Count is cut short instead of exhausting memory.
    write("[QMXREAD_PARAMETERS]\r\nDefault_Rule_Set=R\r\n\r\n"
          "[RULE_LIST_SETTINGS]\r\nCount=x\r\n0=R\r\n\r\n"
          "[R]\r\nCount=3\r\n1=B\r\n\r\n");
    RuleSettings s(path_);
    s.loadIfPresent();
    EXPECT_TRUE(s.ruleSets().empty());
    EXPECT_EQ(s.editorLines(), (Lines{"", "B", ""}));
    write("[QMXREAD_PARAMETERS]\r\nDefault_Rule_Set=R\r\n\r\n[R]\r\nCount=2147483647\r\n");
    s.load();
    EXPECT_EQ(s.editorLines().size(), 100000u);
}

TEST_F(RuleSettingsTest, RuleTextForCallersWithoutDialog)
{
    write(kTwoSets);
    EXPECT_EQ(RuleSettings::defaultRuleText(path_), "  PRINT \"S\";\r\n\r\n// end");
    struct Case {
        const char* name;
        const char* text; // nullptr: an unknown rule set
    };
    const Case cases[] = {
        {"strict", "  PRINT \"S\";\r\n\r\n// end"},
        {"STRICT", "  PRINT \"S\";\r\n\r\n// end"},
        {"Default", "PRINT \"D\";"},
        {"Strict ", nullptr},
        {"Stric", nullptr},
        {"None", nullptr},
        // The settings' own sections are sections, so they are known.
        {"QMXREAD_PARAMETERS", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.text) {
            EXPECT_EQ(RuleSettings::ruleTextOf(path_, c.name), c.text);
            continue;
        }
        try {
            RuleSettings::ruleTextOf(path_, c.name);
            ADD_FAILURE() << "no error";
        } catch (const Error& e) {
            EXPECT_EQ(std::string(e.what()),
                      "The settings file \"" + path_ + "\" has no rule set \"" + c.name + "\"");
        }
    }
    const std::string missing = (dir_ / "none.ini").string();
    EXPECT_THROW(RuleSettings::defaultRuleText(missing), Error);
    EXPECT_THROW(RuleSettings::ruleTextOf(missing, "DEFAULT"), Error);
    EXPECT_EQ(content(), kTwoSets);
}

TEST_F(RuleSettingsTest, WriteFailuresPropagateAndLeaveTheModelUnchanged)
{
    // A settings path whose directory does not exist: every write fails.
    RuleSettings s((dir_ / "gone" / "QMXRead.ini").string());
    s.loadIfPresent();
    s.editorLines() = {"PRINT \"E\";"};
    EXPECT_THROW(s.addRuleSet("Third"), Error);
    EXPECT_TRUE(s.ruleSets().empty());
    EXPECT_EQ(s.selected(), -1);
    EXPECT_EQ(s.currentRuleSet(), "");
    EXPECT_EQ(s.editorLines(), Lines{"PRINT \"E\";"});
    EXPECT_THROW(s.save(), Error);
    EXPECT_FALSE(fs::exists(dir_ / "gone"));
}

namespace {

// What a start, the user's actions, a write by someone else and an exit
// leave in the file.
struct SurvivalCase {
    const char* name;
    std::string atStart;
    std::function<void(RuleSettings&)> before; // the user, before the other write
    std::string other;                         // the file another writer leaves ("" none)
    std::function<void(RuleSettings&)> after;  // the user, after it
    std::vector<std::string> kept;             // the file holds each after the exit
    std::string exitError;                     // the exit write is refused with this
};

const std::string kReservedListed = "[QMXREAD_PARAMETERS]\r\nHost=corp\r\nPassword=pw\r\nDefault_"
                                    "Rule_Set=QMXREAD_PARAMETERS\r\n\r\n"
                                    "[RULE_LIST_SETTINGS]\r\nCount=3\r\n0=qmxread_parameters\r\n1="
                                    "Rule_List_Settings\r\n2=A\r\n\r\n";

auto edit(Lines lines)
{
    return [lines](RuleSettings& s) { s.editorLines() = lines; };
}

} // namespace

TEST_F(RuleSettingsTest, WhatSurvivesAStartAndExit)
{
    const std::string fetched =
        "[QMXREAD_PARAMETERS]\r\nHost=fetched\r\nDefault_Rule_Set=New\r\n\r\n"
        "[RULE_LIST_SETTINGS]\r\nCount=1\r\n0=New\r\n\r\n"
        "[New]\r\nCount=1\r\n0=PRINT \"F\";\r\n\r\n";
    std::string longSet =
        "[QMXREAD_PARAMETERS]\r\nDefault_Rule_Set=L\r\n\r\n[L]\r\nCount=100001\r\n";
    for (int i = 0; i <= 100000; ++i)
        longSet += std::to_string(i) + "=" + (i == 100000 ? "LAST" : "") + "\r\n";
    const auto typed = edit({"PRINT \"T\";"});
    const std::string damaged = "[QMXREAD_PARAMETERS]\r\nDefault_Rule_Set=D\r\n\r\n"
                                "[D]\r\nCount=200000\r\n150000=KEEP\r\n";
    const std::string cut =
        "Rule set 'D' has more lines than were read from the settings file; its "
        "text is not saved, so that the lines not read are kept.";
    // clang-format off
    const SurvivalCase cases[] = {
        {"reserved names listed, plain start and exit", kReservedListed, {}, "", {}, {kReservedListed}, ""},
        {"reserved names listed, text typed", kReservedListed, typed, "", {},
         {"Host=corp\r\nPassword=pw\r\nDefault_Rule_Set=\r\n",
          "Count=3\r\n0=qmxread_parameters\r\n1=Rule_List_Settings\r\n2=A\r\n", "[]\r\nCount=1\r\n0=PRINT \"T\";"}, ""},
        {"Ctrl-Z typed at the end of a line", kTwoSets, edit({"PRINT \"S\";\x1a"}), "", {}, {kTwoSets},
         "Line 1 of the rule text holds the control character Ctrl-Z; a rule text can hold no control character "
         "other than tab."},
        {"changed on disk during the run", kTwoSets, {}, fetched, {}, {fetched}, ""},
        {"changed on disk and by the user", kTwoSets, [](RuleSettings& s) { s.ftp().port = "2"; }, fetched, {},
         {"Host=fetched\r\nDefault_Rule_Set=New\r\nPort=2\r\n", "[New]\r\nCount=1\r\n0=PRINT \"F\";"}, ""},
        {"update fetched the file and then failed", kTwoSets, [](RuleSettings& s) { s.save(); }, fetched,
         [](RuleSettings& s) { s.reloadFetched(); }, {fetched}, ""},
        {"the last line of a long set", longSet, edit({"// first"}), "", {}, {"100000=LAST\r\n"}, ""},
        {"a damaged Count past the lines read", damaged, typed, "", {}, {"150000=KEEP\r\n"}, cut},
    };
    // clang-format on
    for (const SurvivalCase& c : cases) {
        SCOPED_TRACE(c.name);
        write(c.atStart);
        RuleSettings s(path_);
        s.loadIfPresent();
        if (c.before)
            c.before(s);
        if (!c.other.empty())
            write(c.other);
        if (c.after)
            c.after(s);
        try {
            s.save();
            EXPECT_EQ(c.exitError, "");
        } catch (const Error& e) {
            EXPECT_EQ(e.what(), c.exitError);
        }
        for (const std::string& k : c.kept)
            EXPECT_NE(content().find(k), std::string::npos) << k;
    }
}

TEST_F(RuleSettingsTest, ListedReservedNamesAreSkippedWithOneNotice)
{
    write(kReservedListed);
    RuleSettings s(path_);
    s.loadIfPresent();
    EXPECT_EQ(s.ruleSets(), Lines{"A"});
    EXPECT_EQ(s.currentRuleSet(), "");
    EXPECT_TRUE(s.editorLines().empty());
    EXPECT_EQ(s.skippedNotice(),
              "'qmxread_parameters', 'Rule_List_Settings' are reserved for the program's "
              "own settings and not shown as a rule set.");
}

TEST_F(RuleSettingsTest, FetchedTextOfAnEditedSetWinsWithANotice)
{
    const std::string other = "[QMXREAD_PARAMETERS]\r\nDefault_Rule_Set=Strict\r\n\r\n[RULE_LIST_"
                              "SETTINGS]\r\nCount=2\r\n0=Default\r\n1=Strict\r\n\r\n"
                              "[Strict]\r\nCount=1\r\n0=PRINT \"SERVER\";\r\n\r\n";
    for (const bool edited : {false, true}) {
        SCOPED_TRACE(edited);
        write(kTwoSets);
        RuleSettings s(path_);
        s.loadIfPresent();
        if (edited)
            s.editorLines() = {"PRINT \"MINE\";"};
        s.save();
        write(other);
        EXPECT_EQ(s.reloadFetched(),
                  edited ? "The fetched settings file holds another text for rule set "
                           "'Strict'; the fetched text replaces the one you edited."
                         : "");
        EXPECT_EQ(s.editorLines(), Lines{"PRINT \"SERVER\";"});
    }
}

TEST_F(RuleSettingsTest, TwoInstancesKeepEachOthersChangesInEitherExitOrder)
{
    using Act = std::function<void(RuleSettings&)>;
    struct Case {
        const char* name;
        Act a, b;
        Lines listed;                                           // sorted
        std::vector<std::pair<std::string, std::string>> texts; // rule set, text
    };
    const auto add = [](std::string n, Lines text) {
        return [=](RuleSettings& s) { s.addRuleSet(n), s.editorLines() = text; };
    };
    // clang-format off
    const Case cases[] = {
        {"each adds a set", add("X", {"x"}), add("Y", {"y"}), {"Default", "Strict", "X", "Y"}, {{"X", "x"}, {"Y", "y"}}},
        {"both add one name", add("X", {"x"}), add("X", {}), {"Default", "Strict", "X"}, {}},
        {"each edits a set", edit({"s"}), [](RuleSettings& s) { s.select(0), s.editorLines() = {"d"}; },
         {"Default", "Strict"}, {{"Strict", "s"}, {"Default", "d"}}},
        {"one switches, the other edits", [](RuleSettings& s) { s.select(0); }, edit({"s"}), {"Default", "Strict"},
         {{"Strict", "s"}, {"Default", "PRINT \"D\";"}}},
        {"one removes, the other adds", [](RuleSettings& s) { s.removeSelected(); }, add("Y", {"y"}),
         {"Default", "Y"}, {{"Y", "y"}}},
    };
    // clang-format on
    for (const Case& c : cases) {
        for (const bool aFirst : {true, false}) {
            SCOPED_TRACE(std::string(c.name) + (aFirst ? ", A exits first" : ", B exits first"));
            write(kTwoSets);
            RuleSettings a(path_), b(path_);
            a.loadIfPresent();
            b.loadIfPresent();
            c.a(a);
            c.b(b);
            (aFirst ? a : b).save();
            (aFirst ? b : a).save();
            RuleSettings after(path_);
            after.loadIfPresent();
            Lines listed = after.ruleSets();
            std::sort(listed.begin(), listed.end());
            EXPECT_EQ(listed, c.listed);
            for (const auto& [set, text] : c.texts)
                EXPECT_EQ(RuleSettings::ruleTextOf(path_, set), text) << set;
        }
    }
}
