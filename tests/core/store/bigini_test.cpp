#include "core/store/bigini.h"

#include "core/util/error.h"
#include "core/util/lines.h"
#include "tempdir.h"

#include <gtest/gtest.h>

#include <memory>

using namespace qmx;
using qmx::test::TempDir;

namespace {

StringList sections(const TBigIniFile& ini)
{
    StringList s;
    ini.ReadSections(s);
    return s;
}

StringList values(const TBigIniFile& ini, const std::string& section)
{
    StringList v;
    ini.ReadSectionValues(section, v);
    return v;
}

} // namespace

TEST(BigIniLoad, LineEndsCtrlZAndStrayLines)
{
    // CR, CR LF and a lone LF each end a line; an empty line; lines before
    // the first header dropped; nothing after Ctrl-Z.
    const TBigIniFile ini("", "before=1\r\n[S]\ra=1\r\nb=x\ny\r\r\n\r\nc=3\x1a[T]\r\nd=4\r\n");
    EXPECT_EQ(sections(ini), (StringList{"S"}));
    EXPECT_EQ(values(ini, "S"), (StringList{"a=1", "b=x", "y", "c=3"}));
    EXPECT_EQ(ini.ReadString("S", "b", "?"), "x");
    EXPECT_FALSE(ini.changed());
}

// A report's store views the loader's text and lines instead of copying and
// splitting them again; it must hold what a store read from the same text
// holds, wherever a Ctrl-Z falls (mid-line, right after CR, at a line's
// start), with duplicate sections and lines before the first header. A
// write afterwards keeps working on top of the shared text.
TEST(BigIniLoad, StoreOverSharedLinesMatchesStoreOverText)
{
    const char* const texts[] = {
        "before=1\r\n[S]\ra=1\r\nb=x\ny\r\r\n\r\nc=3\x1a[T]\r\nd=4\r\n",
        "[S]\r\na=1\r\x1a\nb=2\r\n",
        "[S]\r\na=1\r\n\x1a[T]\r\nb=2",
        "[B]\r\nk=b\r\n[A]\r\nk=1\r\n[b]\r\nk=dup\r\n[a]\r\nk=2",
        "[]\r\ne=1\r\n[a]b]\r\nf=2\r\n[A] \r\n[\r\n]\r\n",
        "\x1a[S]\r\na=1\r\n",
        "",
    };
    for (const char* text : texts) {
        SCOPED_TRACE(::testing::PrintToString(std::string(text)));
        const auto shared = std::make_shared<const std::string>(text);
        const std::vector<std::string_view> lines = splitLineViews(*shared);
        TBigIniFile viewed(readOnly, "", shared, lines);
        TBigIniFile copied(readOnly, "", std::string(text));
        EXPECT_EQ(viewed.contentText(), copied.contentText());
        EXPECT_EQ(sections(viewed), sections(copied));
        viewed.WriteString("S", "a", "new");
        copied.WriteString("S", "a", "new");
        EXPECT_EQ(viewed.contentText(), copied.contentText());
    }
}

TEST(BigIniLoad, HeaderLines)
{
    const TBigIniFile ini("", "[]\r\ne=1\r\n[a]b]\r\nf=2\r\n[A] \r\n[\r\n]\r\n[x]\r\n");
    EXPECT_EQ(sections(ini), (StringList{"", "a]b", "x"}));
    // A bracketed name followed by a blank is an entry of the section before.
    EXPECT_EQ(values(ini, "a]b"), (StringList{"f=2", "[A] ", "[", "]"}));
    EXPECT_EQ(ini.ReadString("", "e", ""), "1");
}

TEST(BigIniLoad, DuplicateSectionsKeepTheFirst)
{
    const TBigIniFile ini("", "[B]\r\nk=b\r\n[A]\r\nk=1\r\n[b]\r\nk=dup\r\nz=9\r\n[a]\r\nk=2\r\n["
                              "\xe9]\r\nk=e\r\n[\xc9]\r\nk=E\r\n");
    EXPECT_EQ(sections(ini), (StringList{"B", "A", "\xe9"}));
    EXPECT_EQ(ini.ReadString("a", "k", ""), "1");
    EXPECT_EQ(ini.ReadString("b", "z", "none"), "none");
    EXPECT_EQ(ini.ReadString("\xc9", "K", ""), "e");
    EXPECT_FALSE(ini.changed());
}

TEST(BigIniRead, KeysCompareWholeAndCaseBlind)
{
    const TBigIniFile ini("", "[S]\r\nname = x\r\ndup=1\r\nDUP=2\r\n;note\r\n;a=b\r\nv==x;y\r\n");
    EXPECT_EQ(ini.ReadString("S", "name", "def"), "def");
    EXPECT_EQ(ini.ReadString("S", "name ", "def"), " x");
    EXPECT_EQ(ini.ReadString("s", "Dup", ""), "1");
    EXPECT_EQ(ini.ReadString("S", ";a", ""), "b");
    EXPECT_EQ(ini.ReadString("S", "v", ""), "=x;y");
    EXPECT_EQ(ini.ReadString("Missing", "v", "d"), "d");
    StringList keys;
    ini.ReadSection("S", keys);
    EXPECT_EQ(keys, (StringList{"name ", "dup", "DUP", "", ";a", "v"}));
    // Targets are appended to, and an absent section leaves them alone.
    ini.ReadSection("none", keys);
    EXPECT_EQ(keys.size(), 6u);
}

TEST(BigIniRead, Integers)
{
    const TBigIniFile ini("",
                          "[S]\r\nh=0x1F\r\nH=0X1f\r\nd=$1f\r\nbad=12abc\r\nsp=  42\r\nneg=-7\r\n"
                          "all=$FFFFFFFF\r\nnegx=-0x1F\r\nbig=2147483648\r\nx=x1F\r\nempty=\r\n"
                          "t=1\r\nf=0\r\n");
    EXPECT_EQ(ini.ReadInteger("S", "h", -1), 31);
    EXPECT_EQ(ini.ReadInteger("S", "d", -1), 31);
    EXPECT_EQ(ini.ReadInteger("S", "bad", -1), -1);
    EXPECT_EQ(ini.ReadInteger("S", "absent", 5), 5);
    EXPECT_EQ(ini.ReadInteger("S", "sp", -1), 42);
    EXPECT_EQ(ini.ReadInteger("S", "neg", 0), -7);
    EXPECT_EQ(ini.ReadInteger("S", "all", 0), -1);
    EXPECT_EQ(ini.ReadInteger("S", "negx", 3), 3);
    EXPECT_EQ(ini.ReadInteger("S", "big", 3), 3);
    EXPECT_EQ(ini.ReadInteger("S", "x", 3), 3);
    EXPECT_EQ(ini.ReadInteger("S", "empty", 3), 3);
    EXPECT_TRUE(ini.ReadBool("S", "t", false));
    EXPECT_FALSE(ini.ReadBool("S", "f", true));
    EXPECT_TRUE(ini.ReadBool("S", "absent", true));
}

TEST(BigIniWrite, ChangesOnlyWhenContentDiffers)
{
    TBigIniFile ini("", "[S]\r\nk=v\r\nK=w\r\n");
    ini.WriteString("S", "k", "v");
    EXPECT_FALSE(ini.changed());
    ini.WriteString("s", "K", "new");
    EXPECT_TRUE(ini.changed());
    EXPECT_EQ(values(ini, "S"), (StringList{"K=new", "K=w"}));
    ini.WriteString("S", "k", "third");
    EXPECT_EQ(values(ini, "S"), (StringList{"k=third", "K=w"}));
    EXPECT_EQ(ini.ReadString("S", "K", ""), "third");
    ini.WriteInteger("T", "n", -12);
    ini.WriteBool("T", "b", true);
    EXPECT_EQ(values(ini, "T"), (StringList{"n=-12", "b=1"}));
    EXPECT_EQ(sections(ini), (StringList{"S", "T"}));
}

TEST(BigIniWrite, EraseAndRecreateMovesSectionToTheEnd)
{
    TBigIniFile ini("", "[A]\r\na=1\r\n[B]\r\nb=1\r\n[C]\r\nc=1\r\n");
    ini.EraseSection("none");
    EXPECT_FALSE(ini.changed());
    // Put the lookup position on the last section, then erase it.
    EXPECT_EQ(ini.ReadString("C", "c", ""), "1");
    ini.EraseSection("c");
    EXPECT_TRUE(ini.changed());
    EXPECT_EQ(ini.ReadString("A", "a", ""), "1");
    ini.EraseSection("A");
    ini.WriteString("a", "x", "2");
    EXPECT_EQ(sections(ini), (StringList{"B", "a"}));
    EXPECT_EQ(ini.contentText(), "[B]\r\nb=1\r\n\r\n[a]\r\nx=2\r\n\r\n");
}

TEST(BigIniFileIo, RoundTripThroughRelease)
{
    TempDir dir;
    const std::string path = dir.file("settings.ini");
    {
        TBigIniFile ini(path); // missing file: empty store
        EXPECT_TRUE(sections(ini).empty());
        ini.WriteString("Main", "Host", "ftp.example");
        ini.WriteInteger("Main", "Port", 21);
        ini.WriteString("Empty", "x", "1");
        ini.EraseSection("Empty");
        ini.WriteString("Rules", "Line1", "SET %A%=1");
    }
    EXPECT_EQ(test::readBytes(path),
              "[Main]\r\nHost=ftp.example\r\nPort=21\r\n\r\n[Rules]\r\nLine1=SET %A%=1\r\n\r\n");
    TBigIniFile again(path);
    EXPECT_EQ(again.ReadInteger("main", "port", 0), 21);
    EXPECT_EQ(again.ReadString("RULES", "line1", ""), "SET %A%=1");
}

TEST(BigIniFileIo, UnchangedStoreNeverTouchesTheFile)
{
    TempDir dir;
    const std::string path = dir.file("odd.ini");
    const std::string odd = "junk\r\n[A]\r\n\r\nx=1\r\n[a]\r\ny=2\x1atail";
    test::writeBytes(path, odd);
    {
        TBigIniFile ini(path);
        ini.WriteString("A", "x", "1");
        EXPECT_EQ(ini.ReadString("A", "y", "none"), "none");
    }
    EXPECT_EQ(test::readBytes(path), odd);

    // Once changed, the rewrite has none of the oddities.
    {
        TBigIniFile ini(path);
        ini.WriteString("A", "z", "3");
        ini.UpdateFile();
        EXPECT_FALSE(ini.changed());
    }
    EXPECT_EQ(test::readBytes(path), "[A]\r\nx=1\r\nz=3\r\n\r\n");
}

TEST(BigIniFileIo, FailedWriteThrowsAndLeavesTargetAlone)
{
    TempDir dir;
    // The target is a directory: the temporary file cannot replace it.
    const std::string path = dir.file("target.ini");
    std::filesystem::create_directory(path);
    {
        TBigIniFile ini(path);
        ini.WriteString("S", "k", "v");
        EXPECT_THROW(ini.UpdateFile(), Error);
        EXPECT_TRUE(ini.changed());
        EXPECT_TRUE(std::filesystem::is_directory(path));
        // No temporary file is left behind.
        size_t entries = 0;
        for (const auto& e : std::filesystem::directory_iterator(dir.path())) {
            (void)e;
            ++entries;
        }
        EXPECT_EQ(entries, 1u);
        // Once the obstacle is gone the same store writes fine.
        std::filesystem::remove(path);
        ini.UpdateFile();
        EXPECT_FALSE(ini.changed());
    }
    EXPECT_EQ(test::readBytes(path), "[S]\r\nk=v\r\n\r\n");

    // A directory that does not exist: the error surfaces, and the implicit
    // write-back at release is swallowed.
    {
        TBigIniFile ini(dir.file("no/such/dir.ini"));
        ini.WriteString("S", "k", "v");
        try {
            ini.UpdateFile();
            FAIL() << "expected an error";
        } catch (const Error& e) {
            EXPECT_NE(std::string(e.what()).find("dir.ini"), std::string::npos);
        }
    }
}

TEST(BigIniFileIo, ExistingFileIsReplacedWhole)
{
    TempDir dir;
    const std::string path = dir.file("a.ini");
    test::writeBytes(path, "[S]\r\nk=old value that is rather long\r\nother=1\r\n");
    {
        TBigIniFile ini(path);
        ini.WriteString("S", "k", "new");
    }
    EXPECT_EQ(test::readBytes(path), "[S]\r\nk=new\r\nother=1\r\n\r\n");
}

// A read-only store answers like any other but never writes its file, by
// release or by request, whatever changed in memory.
TEST(BigIniFileIo, ReadOnlyStoresNeverWrite)
{
    TempDir dir;
    const std::string path = dir.file("report.txt");
    const std::string text = "[General]\r\nName=WS1\r\n";
    test::writeBytes(path, text);
    struct Case {
        const char* name;
        bool fromMemory;
    };
    for (const Case c : {Case{"from the file", false}, Case{"from memory", true}}) {
        SCOPED_TRACE(c.name);
        {
            auto ini = c.fromMemory
                           ? std::make_unique<TBigIniFile>(readOnly, path, std::string(text))
                           : std::make_unique<TBigIniFile>(readOnly, path);
            EXPECT_TRUE(ini->isReadOnly());
            EXPECT_EQ(ini->ReadString("general", "name", ""), "WS1");
            ini->WriteString("General", "Name", "WS2");
            ini->EraseSection("General");
            ini->WriteString("Added", "x", "1");
            EXPECT_TRUE(ini->changed());
            EXPECT_EQ(ini->ReadString("Added", "x", ""), "1");
            try {
                ini->UpdateFile();
                ADD_FAILURE() << "no error";
            } catch (const Error& e) {
                EXPECT_EQ(std::string(e.what()),
                          "\"" + path + "\" is open for reading only and cannot be written.");
            }
            EXPECT_TRUE(ini->changed());
        }
        EXPECT_EQ(test::readBytes(path), text);
    }
    // Unchanged, UpdateFile has nothing to refuse.
    TBigIniFile unchanged(readOnly, path);
    EXPECT_NO_THROW(unchanged.UpdateFile());
    // Read-only needs the file: a missing one is an error, not an empty store.
    EXPECT_THROW(TBigIniFile(readOnly, dir.file("missing.ini")), Error);
}

TEST(BigIniFileIo, WritesOnlyWhatReadsBack)
{
    struct Case {
        const char* name;
        std::string section, value;
        std::string after; // read back from the file; the value itself when written
    };
    const Case cases[] = {
        {"Ctrl-Z ending a value", "S", "PRINT;\x1a", "old"},
        {"CR starting a value", "S", "\rx", "old"},
        {"LF inside a value", "S", "a\nb", "old"},
        {"LF in a section name", "S\nT", "v", ""},
        {"tab and other control characters", "S", "\ta\x01\x1b", "\ta\x01\x1b"},
    };
    TempDir dir;
    const std::string path = dir.file("QMXRead.ini");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        test::writeBytes(path, "[S]\r\nk=old\r\n");
        {
            TBigIniFile ini(path);
            ini.WriteString(c.section, "k", c.value);
            if (c.after != c.value) {
                EXPECT_THROW(ini.UpdateFile(), Error);
            }
        }
        EXPECT_EQ(TBigIniFile(readOnly, path).ReadString(c.section, "k", ""), c.after);
    }
}
