// Scanner input text: palette order, command lines, the entry dialogs'
// result lines, insertion at the caret and the saved bytes.
#include "core/scanedit/scaninput.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <ostream>

#include <string>
#include <vector>

using namespace qmx;

namespace {

TEST(ScanInput, NewFileHasTheSevenLinesWithTheEmptyFourth)
{
    const auto& lines = newScanInputLines();
    ASSERT_EQ(lines.size(), 7u);
    EXPECT_EQ(lines.front(), "[QMXSCAN_PARAMETERS]");
    EXPECT_EQ(lines[1], "Output_File=%Application_Path\\ipx.txt");
    EXPECT_EQ(lines[3], "");
    EXPECT_EQ(lines[4], "[Report]");
    EXPECT_EQ(lines.back(), "Time=CURRENTTime");
}

TEST(ScanInput, PaletteIsSortedWithoutRegardToCase)
{
    const auto commands = paletteCommands();
    ASSERT_EQ(commands.size(), 33u);
    EXPECT_EQ(commands.front(), "AvailableMemory");
    EXPECT_EQ(commands.back(), "VideoCard");
    // A case-sensitive sort would put the capitals first.
    const std::vector<std::pair<std::string, std::string>> before = {
        {"Beep", "BIOSInfo"},    {"BIOSInfo", "BiosVideoInfo"}, {"Organization", "OSVersion"},
        {"OSVersion", "Owner"},  {"IPAddress", "IPXAddress"},   {"SwapFileSetting", "SwapFileSize"},
        {"NIC", "Organization"}, {"CPU", "CurrentDate"}};
    for (const auto& [a, b] : before) {
        const auto ia = std::find(commands.begin(), commands.end(), a);
        const auto ib = std::find(commands.begin(), commands.end(), b);
        ASSERT_NE(ia, commands.end()) << a;
        ASSERT_NE(ib, commands.end()) << b;
        EXPECT_LT(ia, ib) << a << " before " << b;
    }
}

struct CommandCase {
    const char* command;
    const char* result;
    CommandDialog dialog;
    const char* line;
    // Printed by their command, so test names stay the same from run to run.
    friend void PrintTo(const CommandCase& c, std::ostream* os) { *os << c.command; }
};

class CommandLines : public testing::TestWithParam<CommandCase> {};

TEST_P(CommandLines, BuildsTheLine)
{
    const CommandCase& c = GetParam();
    EXPECT_EQ(dialogForCommand(c.command), c.dialog);
    EXPECT_EQ(commandLine(c.command, c.result), c.line);
}

INSTANTIATE_TEST_SUITE_P(
    ScanInput, CommandLines,
    testing::Values(CommandCase{"CPU", "", CommandDialog::None, "CPU=CPU"},
                    CommandCase{"Beep", "ignored", CommandDialog::None, "Beep=Beep"},
                    CommandCase{"Registry", ";;ALLKEYS;K;", CommandDialog::Registry,
                                "Registry=Registry;;;ALLKEYS;K;"},
                    CommandCase{"Registry", "", CommandDialog::Registry, "Registry=Registry;"},
                    CommandCase{"File", "WINNT;4;C:\\a.txt", CommandDialog::File,
                                "File=File;WINNT;4;C:\\a.txt"},
                    CommandCase{"GetFile", ";;", CommandDialog::File, "GetFile=GetFile;;;"},
                    // Names are matched with case: these are plain commands.
                    CommandCase{"registry", "x", CommandDialog::None, "registry=registry"},
                    CommandCase{"GETFILE", "x", CommandDialog::None, "GETFILE=GETFILE"},
                    CommandCase{"File ", "x", CommandDialog::None, "File =File "}));

struct ScopeCase {
    ReadOn readOn;
    bool checked;
    const char* version;
    const char* registry; // with type String, key K, default D
    const char* file;     // with file name F
    friend void PrintTo(const ScopeCase&, std::ostream* os) { *os << "scope"; }
};

class ScopeLines : public testing::TestWithParam<ScopeCase> {};

TEST_P(ScopeLines, BothDialogsShareThePlatformAndVersionFields)
{
    const ScopeCase& c = GetParam();
    const EntryScope scope{c.readOn, c.checked, c.version};
    EXPECT_EQ(registryLine({scope, RegistryType::String, "K", "D"}), c.registry);
    EXPECT_EQ(fileLine({scope, "F"}), c.file);
}

INSTANTIATE_TEST_SUITE_P(
    ScanInput, ScopeLines,
    testing::Values(ScopeCase{ReadOn::All, false, "V", ";;STRING;K;D", ";;F"},
                    ScopeCase{ReadOn::All, true, "V", ";V;STRING;K;D", ";V;F"},
                    ScopeCase{ReadOn::WindowsNT, false, "V", "WINNT;;STRING;K;D", "WINNT;;F"},
                    ScopeCase{ReadOn::WindowsNT, true, "V", "WINNT;V;STRING;K;D", "WINNT;V;F"},
                    ScopeCase{ReadOn::Windows9x, false, "V", "WIN9X;;STRING;K;D", "WIN9X;;F"},
                    ScopeCase{ReadOn::Windows9x, true, "V", "WIN9X;V;STRING;K;D", "WIN9X;V;F"},
                    // Checked with an empty version reads as unchecked.
                    ScopeCase{ReadOn::All, true, "", ";;STRING;K;D", ";;F"},
                    // Typed text is never trimmed; a ";" shifts the fields.
                    ScopeCase{ReadOn::All, true, " 4.1 ", "; 4.1 ;STRING;K;D", "; 4.1 ;F"},
                    ScopeCase{ReadOn::Windows9x, true, ";v;", "WIN9X;;v;;STRING;K;D",
                              "WIN9X;;v;;F"}));

TEST(ScanInput, InsertionAtTheCaret)
{
    struct Case {
        const char* text;
        size_t caret;
        const char* line;
        const char* expected;
    };
    const Case cases[] = {
        {"[Report]\nDate=CURRENTDate", 0, "Beep=Beep", "Beep=Beep[Report]\nDate=CURRENTDate"},
        {"[Report]\n\nX", 9, "CPU=CPU", "[Report]\nCPU=CPU\nX"},
        {"[Report]\n", 9, "CPU=CPU", "[Report]\nCPU=CPU"},
        {"ab", 1, "NIC=NIC", "aNIC=NICb"},
        {"ab", 2, "NIC=NIC", "abNIC=NIC"},
        {"ab", 99, "NIC=NIC", "abNIC=NIC"},
        {"", 0, "File=File;;;F", "File=File;;;F"},
        {"ab", 1, "", "ab"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(insertAtCaret(c.text, c.caret, c.line), c.expected) << c.text << "@" << c.caret;
}

TEST(ScanInput, SavedBytesEndWithOneExtraLineEnd)
{
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"", "\r\n"},
        {"A", "A\r\n\r\n"},
        {"A\n", "A\r\n\r\n"},
        {"A\nB", "A\r\nB\r\n\r\n"},
        {"\n", "\r\n\r\n"},
        {"A\n\nB\n\n", "A\r\n\r\nB\r\n\r\n\r\n"},
        {"x=\xE9\x80", "x=\xE9\x80\r\n\r\n"},
    };
    for (const auto& [text, bytes] : cases)
        EXPECT_EQ(scanInputFileBytes(text), bytes) << text;
}

TEST(ScanInput, NewFileSavesAsEightLineEnds)
{
    std::string text;
    for (const std::string& l : newScanInputLines())
        text += l + "\n";
    const std::string bytes = scanInputFileBytes(text);
    EXPECT_EQ(bytes.substr(0, 22), "[QMXSCAN_PARAMETERS]\r\n");
    EXPECT_EQ(bytes.substr(bytes.size() - 20), "Time=CURRENTTime\r\n\r\n");
    EXPECT_EQ(std::count(bytes.begin(), bytes.end(), '\n'), 8);
}

} // namespace
