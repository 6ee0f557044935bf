// The INI section store reads files with any line ends alike, and a CR LF
// file is written back exactly as before.
#include "core/rules/rulesettings.h"
#include "core/store/bigini.h"

#include "tempdir.h"

#include <gtest/gtest.h>

using namespace qmx;
using qmx::test::TempDir;

namespace {

struct LineEndCase {
    const char* name;
    std::string text;
};

// The same settings with every kind of line end: all must read as the
// two sections below.
const LineEndCase kLineEnds[] = {
    {"crlf", "[P]\r\nHost=h\r\nPort=21\r\n\r\n[R]\r\nCount=1\r\n0=a=b;c\r\n"},
    {"lf", "[P]\nHost=h\nPort=21\n\n[R]\nCount=1\n0=a=b;c\n"},
    {"cr", "[P]\rHost=h\rPort=21\r\r[R]\rCount=1\r0=a=b;c\r"},
    {"mixed", "[P]\nHost=h\r\nPort=21\r\n[R]\rCount=1\n0=a=b;c"},
    {"lf then cr", "[P]\n\rHost=h\n\rPort=21\n\r[R]\n\rCount=1\n\r0=a=b;c\n\r"},
    {"blank lines", "\n\r\n[P]\n\n\nHost=h\r\rPort=21\r\n\n[R]\nCount=1\n0=a=b;c\n\n"},
    {"no final end", "[P]\nHost=h\nPort=21\n[R]\nCount=1\n0=a=b;c"},
};

TEST(IniLineEnds, EveryKindEndsALine)
{
    for (const auto& c : kLineEnds) {
        SCOPED_TRACE(c.name);
        const TBigIniFile ini("", c.text);
        StringList sections, p, r;
        ini.ReadSections(sections);
        ini.ReadSectionValues("P", p);
        ini.ReadSectionValues("R", r);
        EXPECT_EQ(sections, (StringList{"P", "R"}));
        EXPECT_EQ(p, (StringList{"Host=h", "Port=21"}));
        EXPECT_EQ(r, (StringList{"Count=1", "0=a=b;c"}));
        // The written text is the same canonical CR LF text for all.
        EXPECT_EQ(ini.contentText(),
                  "[P]\r\nHost=h\r\nPort=21\r\n\r\n[R]\r\nCount=1\r\n0=a=b;c\r\n\r\n");
    }
}

TEST(IniLineEnds, HeaderNeedsItsBracketsBeforeTheLineEnd)
{
    // "[A]" then a lone CR, and "[B] " with a blank before LF: only the
    // first is a header; the other is an entry of A.
    const TBigIniFile ini("", "[A]\rk=1\n[B] \nm=2\r\n[C\n]\n");
    StringList sections, a;
    ini.ReadSections(sections);
    ini.ReadSectionValues("A", a);
    EXPECT_EQ(sections, (StringList{"A"}));
    EXPECT_EQ(a, (StringList{"k=1", "[B] ", "m=2", "[C", "]"}));
}

TEST(IniLineEnds, SampleSettingsRoundTripByteForByte)
{
    TempDir dir;
    const std::string path = dir.file("QMXRead.ini");
    const std::string original = test::readBytes(QMX_SAMPLES "/QMXRead.ini");
    ASSERT_FALSE(original.empty());
    test::writeBytes(path, original);
    {
        TBigIniFile ini(path);
        EXPECT_EQ(ini.contentText(), original);
        // A change and its undoing make the store write the file back.
        const std::string host = ini.ReadString("QMXREAD_PARAMETERS", "Host", "");
        ini.WriteString("QMXREAD_PARAMETERS", "Host", host + "x");
        ini.WriteString("QMXREAD_PARAMETERS", "Host", host);
        ASSERT_TRUE(ini.changed());
        ini.UpdateFile();
    }
    EXPECT_EQ(test::readBytes(path), original);
}

TEST(IniLineEnds, LfOnlySettingsSurviveBeingSaved)
{
    TempDir dir;
    const std::string path = dir.file("QMXRead.ini");
    test::writeBytes(path, "[QMXREAD_PARAMETERS]\nHost=files.example\nDefault_Rule_Set=Lab\n\n"
                           "[RULE_LIST_SETTINGS]\nCount=2\n0=DEFAULT\n1=Lab\n\n"
                           "[DEFAULT]\nCount=1\n0=PRINT \"D\";\n\n"
                           "[Lab]\nCount=2\n0=SET %A%=1;\n1=PRINT \"L=\"+%A%;\n");
    {
        RuleSettings s(path);
        s.loadIfPresent();
        EXPECT_EQ(s.ruleSets(), (std::vector<std::string>{"DEFAULT", "Lab"}));
        EXPECT_EQ(s.editorLines(), (std::vector<std::string>{"SET %A%=1;", "PRINT \"L=\"+%A%;"}));
        EXPECT_EQ(s.ftp().host, "files.example");
        EXPECT_TRUE(s.backupNotice().empty());
        s.ftp().port = "2121";
        s.save();
    }
    // Written back with CR LF and read again: nothing lost.
    const std::string written = test::readBytes(path);
    EXPECT_EQ(written.find("\n"), written.find("\r\n") + 1);
    RuleSettings again(path);
    again.loadIfPresent();
    EXPECT_EQ(again.ruleSets(), (std::vector<std::string>{"DEFAULT", "Lab"}));
    EXPECT_EQ(again.editorLines().size(), 2u);
    EXPECT_EQ(RuleSettings::ruleLinesOf(path, "DEFAULT", true),
              (std::vector<std::string>{"PRINT \"D\";"}));
    EXPECT_FALSE(dir.path().empty() || std::filesystem::exists(path + ".bak"));
}

} // namespace
