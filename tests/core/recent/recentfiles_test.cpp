#include "core/recent/recentfiles.h"

#include "core/rules/rulesettings.h"
#include "core/store/bigini.h"

#include "tempdir.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

using namespace qmx;
using Lines = std::vector<std::string>;

namespace {

struct AddCase {
    const char* name;
    Lines before;
    std::string added;
    Lines after;
};

TEST(RecentFilesTest, AddPutsNewestFirstWithoutRepeatsAndKeepsEight)
{
    const Lines eight = {"/r/8", "/r/7", "/r/6", "/r/5", "/r/4", "/r/3", "/r/2", "/r/1"};
    const AddCase cases[] = {
        {"into empty", {}, "/a.txt", {"/a.txt"}},
        {"new in front", {"/a.txt"}, "/b.txt", {"/b.txt", "/a.txt"}},
        {"last moves to front", {"/a", "/b", "/c"}, "/c", {"/c", "/a", "/b"}},
        {"first stays single", {"/a", "/b"}, "/a", {"/a", "/b"}},
        {"case matters", {"/r/a.txt"}, "/r/A.txt", {"/r/A.txt", "/r/a.txt"}},
        {"look-alike numbers differ", {"/r/x_1.txt"}, "/r/x_01.txt", {"/r/x_01.txt", "/r/x_1.txt"}},
        {"ninth drops the oldest",
         eight,
         "/r/9",
         {"/r/9", "/r/8", "/r/7", "/r/6", "/r/5", "/r/4", "/r/3", "/r/2"}},
        {"repeat of the oldest when full",
         eight,
         "/r/1",
         {"/r/1", "/r/8", "/r/7", "/r/6", "/r/5", "/r/4", "/r/3", "/r/2"}},
        {"empty ignored", {"/a"}, "", {"/a"}},
        {"line feed ignored", {"/a"}, "/b\nc", {"/a"}},
        {"carriage return ignored", {"/a"}, "/b\r", {"/a"}},
        {"equals signs kept", {}, "/x=1/a=b.txt", {"/x=1/a=b.txt"}},
        {"edges with blanks kept", {}, " /a b ", {" /a b "}},
    };
    for (const AddCase& c : cases) {
        RecentFiles r;
        for (auto it = c.before.rbegin(); it != c.before.rend(); ++it)
            r.add(RecentKind::Report, *it);
        ASSERT_EQ(r.list(RecentKind::Report), c.before) << c.name;
        r.add(RecentKind::Report, c.added);
        EXPECT_EQ(r.list(RecentKind::Report), c.after) << c.name;
        EXPECT_TRUE(r.list(RecentKind::ScannerInput).empty()) << c.name;
        EXPECT_TRUE(r.list(RecentKind::ServerReport).empty()) << c.name;
    }
}

TEST(RecentFilesTest, KindsAreSeparateAndRemoveTakesOnlyItsKind)
{
    RecentFiles r;
    r.add(RecentKind::Report, "/same");
    r.add(RecentKind::ScannerInput, "/same");
    r.add(RecentKind::ServerReport, "/same");
    r.add(RecentKind::ServerReport, "/other");
    r.remove(RecentKind::ScannerInput, "/same");
    r.remove(RecentKind::Report, "/missing");
    EXPECT_EQ(r.list(RecentKind::Report), Lines{"/same"});
    EXPECT_TRUE(r.list(RecentKind::ScannerInput).empty());
    EXPECT_EQ(r.list(RecentKind::ServerReport), (Lines{"/other", "/same"}));
}

struct ReadCase {
    const char* name;
    std::string section;
    Lines reports, inputs, servers;
};

TEST(RecentFilesTest, ReadTakesNumberedKeysOnly)
{
    const ReadCase cases[] = {
        {"no section", "", {}, {}, {}},
        {"one of each",
         "[RECENT_FILES]\r\nReport1=/r.txt\r\nInput1=/q.ini\r\nServer1=/s.txt\r\n",
         {"/r.txt"},
         {"/q.ini"},
         {"/s.txt"}},
        {"section and keys case-blind", "[recent_files]\r\nREPORT1=/r.txt\r\n", {"/r.txt"}, {}, {}},
        {"zero-padded and zero keys are not entries",
         "[RECENT_FILES]\r\nReport01=/pad\r\nReport0=/zero\r\nReport2=/two\r\n",
         {"/two"},
         {},
         {}},
        {"ninth key ignored",
         "[RECENT_FILES]\r\nReport8=/eight\r\nReport9=/nine\r\n",
         {"/eight"},
         {},
         {}},
        {"empty and repeated values dropped",
         "[RECENT_FILES]\r\nInput1=/a.ini\r\nInput2=\r\nInput3=/a.ini\r\nInput4=/b.ini\r\n",
         {},
         {"/a.ini", "/b.ini"},
         {}},
        {"value holding the separator", "[RECENT_FILES]\r\nServer1==/a=b=\r\n", {}, {}, {"=/a=b="}},
    };
    for (const ReadCase& c : cases) {
        const TBigIniFile ini("unused.ini", "[OTHER]\r\nReport1=/not\r\n\r\n" + c.section);
        RecentFiles r;
        r.add(RecentKind::Report, "/stale");
        r.read(ini);
        EXPECT_EQ(r.list(RecentKind::Report), c.reports) << c.name;
        EXPECT_EQ(r.list(RecentKind::ScannerInput), c.inputs) << c.name;
        EXPECT_EQ(r.list(RecentKind::ServerReport), c.servers) << c.name;
    }
}

TEST(RecentFilesTest, WriteReplacesTheSectionAndReadsBackEqual)
{
    // The store writes itself back when it goes: keep that in a scratch
    // directory.
    test::TempDir tmp;
    TBigIniFile ini(tmp.file("QMXRead.ini"),
                    std::string("[OTHER]\r\nReport1=/not\r\n\r\n[RECENT_FILES]\r\nReport1=/r1\r\n"
                                "Report2=/r2\r\nReport3=/r3\r\nReport9=/junk\r\n\r\n"));
    RecentFiles r;
    r.add(RecentKind::Report, "/x=y");
    r.add(RecentKind::ServerReport, "/s");
    r.write(ini);
    EXPECT_EQ(ini.contentText(), "[OTHER]\r\nReport1=/not\r\n\r\n"
                                 "[RECENT_FILES]\r\nReport1=/x=y\r\nServer1=/s\r\n\r\n");
    RecentFiles back;
    back.read(ini);
    EXPECT_EQ(back.list(RecentKind::Report), Lines{"/x=y"});
    EXPECT_EQ(back.list(RecentKind::ServerReport), Lines{"/s"});

    RecentFiles none;
    none.write(ini);
    EXPECT_EQ(ini.contentText(), "[OTHER]\r\nReport1=/not\r\n\r\n");
}

TEST(RecentFilesTest, SettingsKeepTheListsAcrossASaveAndRestart)
{
    test::TempDir tmp;
    const std::string path = tmp.file("QMXRead.ini");
    test::writeBytes(path, "[QMXREAD_PARAMETERS]\r\nDefault_Rule_Set=Default\r\n\r\n"
                           "[RECENT_FILES]\r\nInput1=/old.ini\r\n\r\n");
    {
        RuleSettings s(path);
        s.loadIfPresent();
        EXPECT_EQ(s.recentFiles().list(RecentKind::ScannerInput), Lines{"/old.ini"});
        s.recentFiles().add(RecentKind::Report, "/new.txt");
        // A fetched file read again does not replace the lists held.
        s.load();
        EXPECT_EQ(s.recentFiles().list(RecentKind::Report), Lines{"/new.txt"});
        s.save();
    }
    RuleSettings again(path);
    again.loadIfPresent();
    EXPECT_EQ(again.recentFiles().list(RecentKind::Report), Lines{"/new.txt"});
    EXPECT_EQ(again.recentFiles().list(RecentKind::ScannerInput), Lines{"/old.ini"});
}

} // namespace
