// The server report parser: line values, every trigger with its look-alikes,
// blocks and their ends, neighbour lines by position, status texts, and
// hostile input.
#include "core/server/serverreport.h"

#include "core/util/error.h"
#include "tempdir.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

using namespace qmx;

namespace {

const std::string kSep(69, '-');
const std::string kPatchHeading = std::string(22, ' ') + "Top of Patch List";
const std::string kDiskInt = "    Int.........................: ";
const std::string kIrq = "IRQ...........: ";

std::string join(const std::vector<std::string>& lines, const std::string& eol = "\r\n")
{
    std::string s;
    for (const auto& l : lines)
        s += l + eol;
    return s;
}

ServerReport parse(const std::vector<std::string>& lines, long long size = 0)
{
    return parseServerReport(join(lines), size);
}

using Strings = std::vector<std::string>;

Strings strings(const TextLines& views)
{
    return Strings(views.begin(), views.end());
}

TEST(ServerValues, FieldAndTrimmedValue)
{
    struct Case {
        std::string line, field, trimmed;
    } cases[] = {
        {"Key: value", "value", "value"},
        {"Key:value", "alue", "value"},
        {"Key:", "", ""},
        {"Key: ", "", ""},
        {"Key:  two  ", " two  ", "two"},
        {"a:b:c", ":c", "b:c"}, // only the first colon counts
        {"no colon here", "o colon here", "no colon here"},
        {"x", "", "x"},
        {"", "", ""},
        {":\t tab\t", " tab\t", "tab"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(fieldValue(c.line), c.field) << c.line;
        EXPECT_EQ(trimmedValue(c.line), c.trimmed) << c.line;
    }
}

TEST(ServerFields, EachHeaderLine)
{
    struct Case {
        std::string line;
        std::string ServerReport::*field;
        std::string expected;
    } cases[] = {
        {"Server name...............: FS1", &ServerReport::serverName, "FS1"},
        {"Server name...............:FS1", &ServerReport::serverName, "S1"},
        {"Server name...............:", &ServerReport::serverName, ""},
        {"Server name..............: FS1", &ServerReport::serverName, ""},  // one dot short
        {"server name...............: FS1", &ServerReport::serverName, ""}, // case counts
        {"OS Version................: 4.11 ", &ServerReport::osVersion, "4.11 "},
        {"Total Server memory.......: 64 MB (all)", &ServerReport::totalMemory, "64 MB"},
        {"Total Server memory.......: 64 MB", &ServerReport::totalMemory, "64 MB"},
        {"Total Server memory.......: 64MB (all)", &ServerReport::totalMemory, "64MB"},
        {"Total Server memory.......: 64 MB\t(all)", &ServerReport::totalMemory, "64 MB\t(all)"},
        {"Total Server memory.......: 1 MB 2 MB ", &ServerReport::totalMemory, "1 MB"},
        {"Total Server memory.......: mb 64 ", &ServerReport::totalMemory, "mb 64 "},
        {"Licensed Connections......: 250", &ServerReport::license, "250"},
        {"Engine Type...............: Uniprocessor", &ServerReport::engineType, "Uniprocessor"},
        {"Internal Net. Addr........: 0A1B", &ServerReport::internalNet, "0A1B"},
        {"Quillon File Server Configuration Report Created: 1/2/26", &ServerReport::label9,
         "- Config Created1/2/26"},
        {"Quillon File Server Configuration Report Created:", &ServerReport::label9,
         "- Config Created"},
        // Without a colon the field value is the line less its first character.
        {"Quillon File Server Configuration Report. [CONFIG v2]", &ServerReport::label10,
         "- CONFIG v2"},
        {"Quillon File Server Configuration Report. plain", &ServerReport::label10,
         "- uillon File Server Configuration Report. plain"},
        {"Quillon File Server Configuration Report. [open", &ServerReport::label10, "- open"},
        {"Quillon File Server Configuration Report. close] tail", &ServerReport::label10,
         "- uillon File Server Configuration Report. close"},
        {"Quillon File Server Configuration Report. [a]b]", &ServerReport::label10, "- a"},
        {"Quillon File Server Configuration Report. ]x[y", &ServerReport::label10, "- y"},
        {"Quillon File Server Configuration Report. [[z]]", &ServerReport::label10, "- [z"},
        // The character after the colon goes first, here the "[".
        {"Quillon File Server Configuration Report. a:[b] c", &ServerReport::label10, "- b"},
        {"Quillon File Server Configuration Report", &ServerReport::label10,
         "- Produced by CONFIG.ZLM "},
    };
    for (const auto& c : cases)
        EXPECT_EQ(parse({c.line}).*c.field, c.expected) << c.line;
}

TEST(ServerFields, DesignTextsAndLastLineWins)
{
    const ServerReport empty = parse({});
    EXPECT_EQ(empty.label2, "Other ZLMs:");
    EXPECT_EQ(empty.label9, "- Config created");
    EXPECT_EQ(empty.label10, "- Produced by CONFIG.ZLM ");

    const ServerReport r =
        parse({"Server name...............: ONE", "OS Version................: A",
               "Server name...............: TWO"});
    EXPECT_EQ(r.serverName, "TWO");
    EXPECT_EQ(r.osVersion, "A");
}

TEST(ServerPatches, HeadingMustMatchWholeLine)
{
    struct Case {
        std::string heading;
        Strings expected;
    } cases[] = {
        {kPatchHeading, {"P1", "  P2 "}},
        {std::string(21, ' ') + "Top of Patch List", {}},
        {std::string(23, ' ') + "Top of Patch List", {}},
        {kPatchHeading + " ", {}},
        {kPatchHeading + "\t", {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(
            strings(parse({c.heading, "P0 never read", "P1", "", "  P2 ", kSep, "after"}).patches),
            c.expected)
            << '"' << c.heading << '"';
}

TEST(ServerPatches, BlockEnds)
{
    struct Case {
        Strings lines;
        Strings expected;
    } cases[] = {
        // Missing separator: the block runs to the end.
        {{kPatchHeading, "=", "A", "B"}, {"A", "B"}},
        // 68 and 70 hyphens are ordinary lines; a separator with a blank after it too.
        {{kPatchHeading, "=", std::string(68, '-'), std::string(70, '-'), kSep + " ", "A", kSep,
          "B"},
         {std::string(68, '-'), std::string(70, '-'), kSep + " ", "A"}},
        // A separator as line i + 1 is skipped over.
        {{kPatchHeading, kSep, "A", kSep}, {"A"}},
        // A separator at once: an empty block.
        {{kPatchHeading, "=", kSep, "A"}, {}},
        // Heading on the last line, or one before it.
        {{"x", kPatchHeading}, {}},
        {{kPatchHeading, "="}, {}},
        // Two headings give two reads.
        {{kPatchHeading, "=", "A", kSep, kPatchHeading, "=", "B", kSep}, {"A", "B"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(strings(parse(c.lines).patches), c.expected) << join(c.lines, "|");
}

TEST(ServerModules, ListLabelAndEngine)
{
    const std::string longName = "ABCDEFGHIJKLMNOPQRSTUVWXYZ012345678"; // 35 characters
    const ServerReport r =
        parse({"Top of Modules List  12 loaded", "=", "CLIB.ZLM", " INDENTED.ZLM", "\tTAB.ZLM",
               longName, "", "SMP.ZLMX", kSep, "OUT.ZLM"});
    EXPECT_EQ(r.label2, "Other ZLMs: 12");
    EXPECT_EQ(strings(r.modules),
              (Strings{"CLIB.ZLM", "\tTAB.ZLM", longName.substr(0, 34), "SMP.ZLMX"}));
    EXPECT_EQ(r.engineType, "SMP");

    struct Case {
        std::string heading, label;
    } labels[] = {
        {"Top of Modules List", "Other ZLMs: "},
        {"Top of Modules List:", "Other ZLMs: "},
        {"Top of Modules List:7", "Other ZLMs: 7"},
        {"Top of Modules List   a b", "Other ZLMs: a"},
        {"Top of Modules List x  y", "Other ZLMs: x"},
    };
    for (const auto& c : labels)
        EXPECT_EQ(parse({c.heading}).label2, c.label) << c.heading;
}

TEST(ServerModules, EngineTypeFollowsTheLaterLine)
{
    const Strings modules = {"Top of Modules List 1", "=", "SMP.ZLM   4.11", kSep};
    const std::string engine = "Engine Type...............: Uni";
    Strings before = modules, after = modules;
    before.push_back(engine);
    after.insert(after.begin(), engine);
    EXPECT_EQ(parse(before).engineType, "Uni");
    EXPECT_EQ(parse(after).engineType, "SMP");
    // Past the 34th character "SMP.ZLM" is cut away, and a blank in front hides it.
    EXPECT_EQ(
        parse({engine, "Top of Modules List", "=", std::string(34, 'x') + "SMP.ZLM"}).engineType,
        "Uni");
    EXPECT_EQ(parse({engine, "Top of Modules List", "=", " SMP.ZLM"}).engineType, "Uni");
}

TEST(ServerFiles, FourTextsKeepEmptyLines)
{
    // clang-format off
    const ServerReport r = parse({"Top of file. [C:STARTUP.ZCF]", "=", "A", "", "  B  ", kSep,
                                  "Top of file. [SYS:SYSTEM\\AUTOEXEC.ZCF] copy", "=", "C", kSep,
                                  "Top of file. [C:\\CONFIG.SYS]", "=", "", kSep,
                                  "Top of file. [C:\\AUTOEXEC.BAT]", "=", "D", "E",
                                  "Top of file. [C:STARTUP.ZCF", "=", "F"});
    // clang-format on
    EXPECT_EQ(strings(r.startupZcf), (Strings{"A", "", "  B  "}));
    EXPECT_EQ(strings(r.autoexecZcf), Strings{"C"});
    EXPECT_EQ(strings(r.configSys), Strings{""});
    // No separator: AUTOEXEC.BAT runs to the end, over the broken heading.
    EXPECT_EQ(strings(r.autoexecBat), (Strings{"D", "E", "Top of file. [C:STARTUP.ZCF", "=", "F"}));
}

TEST(ServerInterrupts, DiskAndLanRowsByPosition)
{
    // clang-format off
    const ServerReport r = parse({
        "******Disk Drive Configuration Information******", // 0
        "=",                                                 // 1
        kDiskInt + "5",                                      // 2: j-4 and j-1 around it
        "Device: SCSI", "x", "y", "Driver: AHA.DSK",         // 3..6
        kDiskInt + " 11 ",                                   // 7
        "a", "b", "c", "Mirror: On",                         // 8..11
        kSep,                                                // 12
        "Top of LAN Driver Configuration Listing",           // 13
        "=",                                                 // 14
        "Board: NE2000", "d", "e", "f", "g",                 // 15..19
        kIrq + "3",                                          // 20
        "    Int........................: 9",               // 21: one dot short
        kIrq + "10",                                         // 22: j-5 is line 17
    });
    // clang-format on
    const std::vector<InterruptRow> expected = {
        {"5", "", "=", "AHA.DSK"},
        {"11", "SCSI", "AHA.DSK", "On"},
        {"3", "NE2000", "", ""},
        {"10", "e", "", ""},
    };
    EXPECT_EQ(r.interrupts, expected);
    // Past the last line the neighbours are empty.
    const ServerReport end = parse({"******Disk Drive Configuration Information******", "=",
                                    "Dev: A", "b", "c", "Drv: D", kDiskInt + "7", "m"});
    EXPECT_EQ(end.interrupts, (std::vector<InterruptRow>{{"7", "A", "D", ""}}));
}

TEST(ServerVolumes, RowsInFileOrderWithNeighboursByPosition)
{
    Strings lines;
    for (const char* name : {"SYS", "DATA"}) {
        std::string heading = "*   Volume Statistics for  ";
        heading.append(name).append(" (mounted)");
        lines.push_back(heading);
        for (int k = 1; k <= 12; ++k) {
            std::string line = "L";
            line.append(std::to_string(k)).append(": ").append(name).append(std::to_string(k));
            lines.push_back(line);
        }
    }
    lines.push_back("*   Volume Statistics for"); // nothing after it
    lines.push_back("*   Volume Statistics forVOL2");
    const ServerReport r = parse(lines);
    const std::vector<VolumeRow> expected = {
        {"SYS", "SYS2", "SYS5", "SYS6", "SYS12"},
        {"DATA", "DATA2", "DATA5", "DATA6", "DATA12"},
        {"", "", "", "", ""},
        {"VOL2", "", "", "", ""},
    };
    EXPECT_EQ(r.volumes, expected);
}

TEST(ServerStatus, LinesAndKilobytes)
{
    struct Case {
        std::string text;
        long long size;
        std::string lines, kb;
    } cases[] = {
        {"", 0, "0 lines", "0 kb"},
        {"", -1, "0 lines", "0 kb"},
        {"a", 1500, "1 lines", "1 kb"},
        {"a\r\nb", 1023, "2 lines", "0 kb"},
        {"a\rb\rc\r", 1024, "3 lines", "1 kb"},
        {"a\n\nb\n", 2047, "3 lines", "1 kb"},
        {"a\r\n\r\n", 2048, "2 lines", "2 kb"},
    };
    for (const auto& c : cases) {
        const ServerReport r = parseServerReport(c.text, c.size);
        EXPECT_EQ(r.status,
                  (std::array<std::string, 5>{"", c.lines, c.kb, "1 module listing found.",
                                              "1 config header found."}))
            << c.text;
    }
}

TEST(ServerHostile, OddInputStaysBounded)
{
    // CR-only line ends, NUL bytes inside a field, a 1 MB line.
    const std::string nul("Server name...............: A\0B", 31);
    const ServerReport r = parseServerReport(
        nul + "\rOS Version................: X\r" + std::string(1 << 20, 'M') + "\r", -1);
    EXPECT_EQ(r.serverName, std::string("A\0B", 3));
    EXPECT_EQ(r.osVersion, "X");
    EXPECT_EQ(r.lines.size(), 3u);
}

// A block ends at a separator or at the next heading that opens a block,
// whatever kind; lines are read by at most the two headings before them.
TEST(ServerHostile, BlocksEndAtTheNextHeading)
{
    const std::string zcf = "Top of file. [C:STARTUP.ZCF]",
                      disk = "******Disk Drive Configuration Information******";
    auto patches = [](const ServerReport& r) { return strings(r.patches); };
    auto startup = [](const ServerReport& r) { return strings(r.startupZcf); };
    auto modulesAndEngine = [](const ServerReport& r) {
        Strings out = strings(r.modules);
        out.push_back("engine " + r.engineType);
        return out;
    };
    auto interrupts = [](const ServerReport& r) {
        Strings out;
        for (const InterruptRow& row : r.interrupts)
            out.push_back(std::string(row[0]) + "|" + std::string(row[1]) + "|"
                          + std::string(row[2]) + "|" + std::string(row[3]));
        return out;
    };
    Strings overlapping(9, zcf);
    overlapping.insert(overlapping.end(),
                       {"=", "Z", "Top of Modules List 2", "=", "CLIB.ZLM", "SMP.ZLM", kSep});
    Strings alternating;
    for (int i = 0; i < 40; ++i)
        alternating.push_back(i % 2 ? kDiskInt + std::to_string(i) : disk);
    struct Case {
        const char* name;
        Strings lines;
        std::function<Strings(const ServerReport&)> get;
        Strings expected;
    } cases[] = {
        // clang-format off
        {"nine file headings before a module list", overlapping, modulesAndEngine, {"CLIB.ZLM", "SMP.ZLM", "engine SMP"}},
        {"... and the last two file headings' blocks", overlapping, startup, {"=", "Z", "Z"}},
        {"patch headings on every line", Strings(2000, kPatchHeading), patches, {}},
        {"two adjacent headings share their lines", {kPatchHeading, kPatchHeading, "A", "B", kSep}, patches, {"A", "B", "B"}},
        {"a heading of another kind ends the block", {"Top of file. [C:\\CONFIG.SYS]", "=", "C", disk, "=", "x", kSep},
         [](const ServerReport& r) { return strings(r.configSys); }, {"C"}},
        {"a volume heading opens no block",
         {"Top of LAN Driver Configuration Listing", "=", "*   Volume Statistics for V", kIrq + "5", kSep}, interrupts, {"5|||"}},
        {"disk headings alternating with interrupt lines", alternating, interrupts, {}},
        {"neighbours are still taken across a heading",
         {"Dev: A", disk, "=", "Drv: D", kDiskInt + "7", disk, "x", "y", "Mirror: M"}, interrupts, {"7|A|D|M"}},
        // clang-format on
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.get(parse(c.lines)), c.expected);
    }
}

TEST(ServerLoad, FileErrorsAndSize)
{
    qmx::test::TempDir dir;
    const std::string missing = dir.file("no such.txt");
    try {
        loadServerReport(missing);
        FAIL() << "no error";
    } catch (const Error& e) {
        EXPECT_EQ(std::string(e.what()), "Cannot open file " + missing);
    }
    EXPECT_THROW(loadServerReport(dir.path().string()), Error);

    const std::string path = dir.file("srv.txt");
    qmx::test::writeBytes(path, "Server name...............: FS\r\n" + std::string(3000, 'x'));
    const ServerReport r = loadServerReport(path);
    EXPECT_EQ(r.serverName, "FS");
    EXPECT_EQ(r.status[1], "2 lines");
    EXPECT_EQ(r.status[2], "2 kb");
}

} // namespace
