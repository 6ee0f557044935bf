#include "core/server/serverreport.h"

#include "core/util/error.h"
#include "core/util/fileio.h"
#include "core/util/lines.h"
#include "core/util/text.h"

#include <sys/stat.h>

namespace qmx {

namespace {

constexpr std::string_view kSeparator =
    "---------------------------------------------------------------------";
static_assert(kSeparator.size() == 69);

constexpr std::string_view kDiskInt = "    Int.........................:";
constexpr std::string_view kLanIrq = "IRQ...........:";
constexpr std::string_view kSmp = "SMP.ZLM";
constexpr size_t kModuleWidth = 34;

constexpr unsigned kPumpEvery = 1024;

// Text before the first blank of the trimmed rest of a line after `skip`
// characters.
std::string_view firstWord(std::string_view line, size_t skip)
{
    const std::string_view rest = trimView(line.substr(std::min(skip, line.size())));
    return rest.substr(0, rest.find(' '));
}

class Parser {
public:
    Parser(ServerReport& r, const Pump& pump) : r_(r), lines_(r.lines), pump_(pump)
    {
        // blockEnd_[k]: the first separator or block heading at or after k
        // (n for none), so every block's end is known without reading ahead.
        // A line then lies in the blocks of at most the two headings before
        // it, and the lines read in blocks stay within twice the report.
        const size_t n = lines_.size();
        blockEnd_.assign(n + 1, n);
        for (size_t k = n; k-- > 0;)
            blockEnd_[k] = lines_[k] == kSeparator || opensBlock(lines_[k]) ? k : blockEnd_[k + 1];
    }

    void walk();

private:
    struct Trigger {
        std::string_view text;
        bool wholeLine;
        bool block; // the heading of a block
        void (Parser::*act)(size_t i);
        bool matches(std::string_view line) const
        {
            return wholeLine ? line == text : line.starts_with(text);
        }
    };

    static bool opensBlock(std::string_view line);

    std::string_view at(size_t i, long offset) const
    {
        const long k = static_cast<long>(i) + offset;
        return k >= 0 && static_cast<size_t>(k) < lines_.size() ? lines_[static_cast<size_t>(k)]
                                                                : std::string_view();
    }

    // Calls f(j) for each line j of the block of the heading at line i.
    template <class F> void forBlock(size_t i, F&& f)
    {
        const size_t from = i + 2;
        if (from >= lines_.size())
            return;
        const size_t end = blockEnd_[from];
        for (size_t j = from; j < end; ++j) {
            f(j);
            tick();
        }
    }

    void tick()
    {
        if (pump_ && ++sincePump_ >= kPumpEvery) {
            sincePump_ = 0;
            pump_();
        }
    }

    void serverName(size_t i) { r_.serverName = fieldValue(lines_[i]); }
    void osVersion(size_t i) { r_.osVersion = fieldValue(lines_[i]); }
    void license(size_t i) { r_.license = fieldValue(lines_[i]); }
    void engineType(size_t i) { r_.engineType = fieldValue(lines_[i]); }
    void internalNet(size_t i) { r_.internalNet = fieldValue(lines_[i]); }
    void totalMemory(size_t i)
    {
        std::string_view v = fieldValue(lines_[i]);
        const size_t mb = v.find("MB ");
        if (mb != std::string_view::npos)
            v = v.substr(0, mb + 2);
        r_.totalMemory = v;
    }
    void created(size_t i)
    {
        r_.label9 = std::string("- Config Created").append(fieldValue(lines_[i]));
    }
    void title(size_t i)
    {
        std::string_view v = fieldValue(lines_[i]);
        const size_t open = v.find('[');
        if (open != std::string_view::npos)
            v.remove_prefix(open + 1);
        v = v.substr(0, v.find(']'));
        r_.label10 = std::string("- ").append(v);
    }
    void patches(size_t i)
    {
        forBlock(i, [&](size_t j) {
            if (!lines_[j].empty())
                r_.patches.push_back(lines_[j]);
        });
    }
    void modules(size_t i)
    {
        r_.label2 = std::string("Other ZLMs: ").append(firstWord(lines_[i], 20));
        forBlock(i, [&](size_t j) {
            const std::string_view m = lines_[j].substr(0, kModuleWidth);
            if (m.starts_with(kSmp))
                r_.engineType = "SMP";
            if (!m.empty() && m[0] != ' ')
                r_.modules.push_back(m);
        });
    }
    void fileText(size_t i, TextLines& out)
    {
        forBlock(i, [&](size_t j) { out.push_back(lines_[j]); });
    }
    void startupZcf(size_t i) { fileText(i, r_.startupZcf); }
    void autoexecZcf(size_t i) { fileText(i, r_.autoexecZcf); }
    void configSys(size_t i) { fileText(i, r_.configSys); }
    void autoexecBat(size_t i) { fileText(i, r_.autoexecBat); }
    void disks(size_t i)
    {
        forBlock(i, [&](size_t j) {
            if (lines_[j].starts_with(kDiskInt))
                r_.interrupts.push_back({trimmedValue(lines_[j]), trimmedValue(at(j, -4)),
                                         trimmedValue(at(j, -1)), trimmedValue(at(j, 4))});
        });
    }
    void lanDrivers(size_t i)
    {
        forBlock(i, [&](size_t j) {
            if (lines_[j].starts_with(kLanIrq))
                r_.interrupts.push_back({trimmedValue(lines_[j]), trimmedValue(at(j, -5)), {}, {}});
        });
    }
    void volume(size_t i)
    {
        r_.volumes.push_back({firstWord(lines_[i], 25), trimmedValue(at(i, 2)),
                              trimmedValue(at(i, 5)), trimmedValue(at(i, 6)),
                              trimmedValue(at(i, 12))});
    }

    static const Trigger kTriggers[];

    ServerReport& r_;
    const std::vector<std::string_view>& lines_;
    const Pump& pump_;
    std::vector<size_t> blockEnd_;
    unsigned sincePump_ = 0;
};

// Tested in this order on every line, each independently.
const Parser::Trigger Parser::kTriggers[] = {
    {"Server name...............:", false, false, &Parser::serverName},
    {"OS Version................:", false, false, &Parser::osVersion},
    {"Total Server memory.......:", false, false, &Parser::totalMemory},
    {"Licensed Connections......:", false, false, &Parser::license},
    {"Engine Type...............:", false, false, &Parser::engineType},
    {"Internal Net. Addr........:", false, false, &Parser::internalNet},
    {"Quillon File Server Configuration Report Created:", false, false, &Parser::created},
    {"Quillon File Server Configuration Report.", false, false, &Parser::title},
    {"                      Top of Patch List", true, true, &Parser::patches},
    {"Top of Modules List", false, true, &Parser::modules},
    {"Top of file. [C:STARTUP.ZCF]", false, true, &Parser::startupZcf},
    {"Top of file. [SYS:SYSTEM\\AUTOEXEC.ZCF]", false, true, &Parser::autoexecZcf},
    {"Top of file. [C:\\CONFIG.SYS]", false, true, &Parser::configSys},
    {"Top of file. [C:\\AUTOEXEC.BAT]", false, true, &Parser::autoexecBat},
    {"******Disk Drive Configuration Information******", false, true, &Parser::disks},
    {"Top of LAN Driver Configuration Listing", false, true, &Parser::lanDrivers},
    {"*   Volume Statistics for", false, false, &Parser::volume},
};

bool Parser::opensBlock(std::string_view line)
{
    for (const Trigger& t : kTriggers)
        if (t.block && t.matches(line))
            return true;
    return false;
}

void Parser::walk()
{
    for (size_t i = 0; i < lines_.size(); ++i) {
        const std::string_view line = lines_[i];
        for (const Trigger& t : kTriggers)
            if (t.matches(line))
                (this->*t.act)(i);
        tick();
    }
}

} // namespace

std::string_view fieldValue(std::string_view line)
{
    const size_t colon = line.find(':');
    const size_t from = colon == std::string_view::npos ? 1 : colon + 2;
    return from < line.size() ? line.substr(from) : std::string_view();
}

std::string_view trimmedValue(std::string_view line)
{
    const size_t colon = line.find(':');
    return trimView(colon == std::string_view::npos ? line : line.substr(colon + 1));
}

ServerReport parseServerReport(std::string text, long long fileSize, const Pump& pump)
{
    ServerReport r;
    auto owned = std::make_shared<std::string>(std::move(text));
    r.lines = splitLineViews(*owned);
    r.text = std::move(owned);
    // Each preparatory step over a large report takes a while: let window
    // events run between them.
    if (pump)
        pump();
    Parser parser(r, pump);
    if (pump)
        pump();
    parser.walk();
    r.status[1] = toDecimal(static_cast<long long>(r.lines.size())) + " lines";
    r.status[2] = toDecimal(fileSize > 0 ? fileSize / 1024 : 0) + " kb";
    r.status[3] = "1 module listing found.";
    r.status[4] = "1 config header found.";
    return r;
}

ServerReport loadServerReport(const std::string& path, const Pump& pump)
{
    std::string text;
    try {
        text = readWholeFile(path);
    } catch (const Error&) {
        throw Error("Cannot open file " + path);
    }
    if (pump)
        pump();
    struct stat st {};
    const long long size = ::stat(path.c_str(), &st) == 0 ? static_cast<long long>(st.st_size) : -1;
    return parseServerReport(std::move(text), size, pump);
}

} // namespace qmx
