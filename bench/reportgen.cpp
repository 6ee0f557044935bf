#include "reportgen.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

namespace qmx::bench {

namespace {

class Rng {
public:
    explicit Rng(uint64_t seed) : s_(seed * 0x9E3779B97F4A7C15ull + 0x1234567) {}
    uint64_t next()
    {
        uint64_t z = (s_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    size_t below(size_t n) { return n ? static_cast<size_t>(next() % n) : 0; }
    bool chance(unsigned percent) { return below(100) < percent; }
    template <class T, size_t N> const T& pick(const T (&a)[N]) { return a[below(N)]; }

private:
    uint64_t s_;
};

const char* const kWords[] = {"WINDOWS", "SYSTEM",   "Network", "Client",  "Shell",    "Explorer",
                              "Drivers", "Services", "Control", "Session", "Manager",  "Setup",
                              "Current", "Version",  "Run",     "Fonts",   "Printers", "Display"};
const char* const kRegVerdicts[] = {"DEFAULT", "NON-DEFAULT", "ASSUMED DEFAULT",
                                    "",        "MISSING",     "default"};
const char* const kFileVerdicts[] = {"NEWER", "OLDER", "SAME", "NEWER", "OLDER", ""};
const char* const kMakers[] = {"Contoso Ltd", "Fabrikam", "Northwind Systems", "Tailspin Inc"};

// A chunk is one section of the report: its header and lines of one kind.
struct Chunk {
    std::vector<std::string> lines;
};

class Generator {
public:
    explicit Generator(const ReportShape& shape) : shape_(shape), rng_(shape.seed) {}

    std::string run()
    {
        const size_t n = shape_.lines;
        std::vector<Chunk> chunks;
        chunks.push_back(headChunk());

        // Attached files: a third of the lines.
        size_t attachedBudget = n / 3;
        if (shape_.bigAttached > 0 && attachedBudget >= shape_.bigAttached + 1) {
            chunks.push_back(attachedChunk(kBigAttachedName, shape_.bigAttached));
            attachedBudget -= shape_.bigAttached + 1;
        }
        chunks.push_back({{"[" + std::string(kMissingAttachedName) + "]",
                           std::string(kMissingAttachedName) + "_0=GETFILE;FILE NOT FOUND"}});
        attachedBudget = attachedBudget > 2 ? attachedBudget - 2 : 0;
        while (attachedBudget > 4) {
            const size_t len = std::min(attachedBudget - 1, 20 + rng_.below(400));
            chunks.push_back(attachedChunk("ATT" + std::to_string(fileNo_++), len));
            attachedBudget -= len + 1;
        }

        // Entry sections for the rest: about 15% multi-value lines.
        size_t used = 0;
        for (const Chunk& c : chunks)
            used += c.lines.size();
        const size_t rest = n > used ? n - used : 0;
        size_t multi = n * 15 / 100;
        multi = std::min(multi, rest);
        size_t others = rest - multi;
        while (multi > 0) {
            Chunk c = multiChunk(std::min(multi, size_t(60) + rng_.below(200)));
            multi -= std::min(multi, c.lines.size());
            chunks.push_back(std::move(c));
        }
        while (others > 0) {
            Chunk c;
            const size_t want = std::min(others, size_t(40) + rng_.below(200));
            const size_t kind = rng_.below(10);
            if (kind < 5)
                c = registryChunk(want);
            else if (kind < 9)
                c = fileChunk(want);
            else
                c = miscChunk(want);
            others -= std::min(others, c.lines.size());
            chunks.push_back(std::move(c));
        }
        if (shape_.adversarial)
            addAdversarial(chunks);

        // Shuffle every chunk but the head, then emit exactly n lines.
        for (size_t i = chunks.size() - 1; i > 1; --i)
            std::swap(chunks[i], chunks[1 + rng_.below(i)]);
        std::string out;
        out.reserve(n * 64);
        size_t written = 0;
        for (const Chunk& c : chunks)
            for (const std::string& l : c.lines) {
                if (written == n)
                    break;
                out += l;
                out += "\r\n";
                ++written;
            }
        while (written < n) {
            out += "Pad" + std::to_string(written) + "=OTHER;padding\r\n";
            ++written;
        }
        return out;
    }

private:
    std::string word() { return rng_.pick(kWords); }

    std::string path()
    {
        std::string p = "C:\\";
        const size_t depth = 1 + rng_.below(3);
        for (size_t i = 0; i < depth; ++i)
            p += word() + "\\";
        return p + word() + std::to_string(rng_.below(1000)) + ".DLL";
    }

    Chunk headChunk()
    {
        Chunk c;
        c.lines = {
            "[General]",
            "Date=CURRENTDATE;08/12/2026",
            "Time=CURRENTTIME;06:46:05",
            "Name=COMPUTERNAME;WS-" + std::to_string(shape_.seed),
            "OS=OSVERSION;Windows 98;4.10.1998",
            "Mem=TOTALMEMORY;65536 KB",
            "Cpu=CPU;Pentium II 400",
            "User=USERNAME;operator",
            "Up=UPTIME;2 days 3 hours",
            "Swap=SWAPFILESIZE;131072 KB",
            "SwapSet=SWAPFILESETTING;Windows managed",
            "Owner=OWNER;Accounts",
            "Org=ORGANIZATION;Example Works",
            "Avail=AVAILABLEMEMORY;12000 KB",
            "Bios=BIOSINFO;Award 4.51",
            "Video=VIDEOCARD;S3 Trio64",
            "Client=CLIENTVERSION;3.2",
            "Ipx=IPXADDRESS;00000001:0000C0ABCDEF",
            "BiosVideo=BIOSVIDEOINFO;VGA BIOS 1.0",
            "Boot=LASTBOOT;07/12/2026 22:10",
            "Monitor=MONITORDRIVERDESCRIPTION;Plug and Play Monitor",
            "[Network]",
            "Nic0=NIC;Intel EtherExpress PRO/100",
            "Nic1=NIC;3Com EtherLink III",
        };
        return c;
    }

    Chunk attachedChunk(const std::string& name, size_t len)
    {
        Chunk c;
        c.lines.push_back("[" + name + "]");
        const std::string last = std::to_string(len - 1);
        for (size_t k = 0; k < len; ++k) {
            std::string text;
            switch (rng_.below(4)) {
            case 0: text = "DEVICE=C:\\" + word() + "\\HIMEM.SYS"; break;
            case 1: text = "REM " + word() + " " + std::to_string(k); break;
            case 2: text = word() + "=" + word() + ";" + std::to_string(rng_.below(100)); break;
            default: text = ""; break;
            }
            c.lines.push_back(name + "_" + std::to_string(k) + "=GETFILE;" + last + ";" + text);
        }
        return c;
    }

    Chunk registryChunk(size_t want)
    {
        Chunk c;
        c.lines.push_back("[Registry " + std::to_string(sectionNo_++) + "]");
        while (c.lines.size() < want) {
            std::string value = rng_.chance(10) ? "Registry Key/Value not found"
                                                : word() + (rng_.chance(20) ? ";" + word() : "");
            c.lines.push_back("Reg" + std::to_string(itemNo_++) + "=REGISTRY;" + value + ";"
                              + rng_.pick(kRegVerdicts));
        }
        return c;
    }

    std::string fileLine()
    {
        const std::string key = "File" + std::to_string(itemNo_++);
        if (rng_.chance(10))
            return key + "=FILE;" + path() + ";File Not Found!";
        return key + "=FILE;" + path() + ";" + std::to_string(1000 + rng_.below(900000)) + ";0"
               + std::to_string(1 + rng_.below(9)) + "/1" + std::to_string(rng_.below(3))
               + "/1999;1" + std::to_string(rng_.below(10)) + ":00;" + rng_.pick(kMakers) + ";4.0."
               + std::to_string(rng_.below(2000)) + ";" + word() + ";4.0;"
               + rng_.pick(kFileVerdicts);
    }

    Chunk fileChunk(size_t want)
    {
        Chunk c;
        c.lines.push_back("[Files " + std::to_string(sectionNo_++) + "]");
        while (c.lines.size() < want)
            c.lines.push_back(fileLine());
        return c;
    }

    Chunk multiChunk(size_t want)
    {
        Chunk c;
        c.lines.push_back("[Multi " + std::to_string(sectionNo_++) + "]");
        while (c.lines.size() < want) {
            const std::string base = "Proto" + std::to_string(itemNo_++);
            const size_t values = 2 + rng_.below(8);
            for (size_t v = 0; v < values && c.lines.size() < want; ++v)
                c.lines.push_back(base + "_" + std::to_string(v) + "=REGISTRY_MULTIVALUE;" + word()
                                  + std::to_string(v) + "=" + word());
        }
        return c;
    }

    Chunk miscChunk(size_t want)
    {
        Chunk c;
        c.lines.push_back("[Misc " + std::to_string(sectionNo_++) + "]");
        while (c.lines.size() < want) {
            switch (rng_.below(3)) {
            case 0:
                c.lines.push_back("Item" + std::to_string(itemNo_++) + "=OTHER;" + word());
                break;
            case 1: c.lines.push_back("; comment " + word()); break;
            default:
                c.lines.push_back("Zone" + std::to_string(itemNo_++) + "=TIMEZONE;GMT+1");
                break;
            }
        }
        return c;
    }

    void addAdversarial(std::vector<Chunk>& chunks)
    {
        // Lines that occur inside earlier lines, and exact duplicates.
        Chunk a;
        a.lines.push_back("[Tricky]");
        a.lines.push_back("x=REGISTRY;[A];DEFAULT");
        a.lines.push_back("[A]");
        a.lines.push_back("[AB]");
        a.lines.push_back("[A]");
        a.lines.push_back("[");
        a.lines.push_back(
            "q=FILE;C:\\A.DLL;1;2;3;M;1;A;1;NEWERq=FILE;C:\\A.DLL;1;2;3;M;1;A;1;NEWER");
        a.lines.push_back("q=FILE;C:\\A.DLL;1;2;3;M;1;A;1;NEWER");
        a.lines.push_back("=FILE;");
        a.lines.push_back("a=FILE;");
        a.lines.push_back("Z=REGISTRY;a");
        for (size_t i = 1; i < chunks.size(); ++i) {
            for (const std::string& l : chunks[i].lines) {
                const bool tagged = l.find("=REGISTRY;") != std::string::npos
                                    || l.find("=FILE;") != std::string::npos
                                    || l.find("=REGISTRY_MULTIVALUE;") != std::string::npos;
                if (!tagged || !rng_.chance(3))
                    continue;
                switch (rng_.below(4)) {
                case 0: a.lines.push_back(l); break;
                case 1: a.lines.push_back(l.substr(1)); break;
                case 2: a.lines.push_back(l.substr(0, l.size() - 1)); break;
                default: a.lines.push_back("X" + l + "X"); break;
                }
            }
        }
        chunks.push_back(std::move(a));

        // Attached-file names that contain one another, a file attached twice,
        // and first lines of a file inside another file.
        Chunk f;
        f.lines.push_back("[Attached tricky]");
        for (int k = 0; k <= 11; ++k)
            f.lines.push_back("F_" + std::to_string(k) + "=GETFILE;11;line " + std::to_string(k));
        for (int k = 0; k <= 3; ++k)
            f.lines.push_back("XF_" + std::to_string(k) + "=GETFILE;3;x" + std::to_string(k));
        f.lines.push_back("F_01=GETFILE;11;leading zero");
        for (int k = 0; k <= 2; ++k)
            f.lines.push_back("TWICE_" + std::to_string(k) + "=GETFILE;2;first "
                              + std::to_string(k));
        for (int k = 0; k <= 4; ++k)
            f.lines.push_back("TWICE_" + std::to_string(k) + "=GETFILE;4;second "
                              + std::to_string(k));
        f.lines.push_back("HOST_0=GETFILE;3;a");
        f.lines.push_back("HOST_1=GETFILE;3;INNER_0=GETFILE;1;inside");
        f.lines.push_back("HOST_2=GETFILE;3;b INNER_1=GETFILE;1;also");
        f.lines.push_back("HOST_3=GETFILE;3;HOST_0=GETFILE;2;nested count");
        f.lines.push_back("INNER_1=GETFILE;1;outside");
        f.lines.push_back("Attached_1=GETFILE;0;=REGISTRY;not a first line");
        chunks.push_back(std::move(f));
    }

    const ReportShape& shape_;
    Rng rng_;
    size_t fileNo_ = 0;
    size_t sectionNo_ = 0;
    size_t itemNo_ = 0;
};

} // namespace

std::string generateReport(const ReportShape& shape)
{
    return Generator(shape).run();
}

} // namespace qmx::bench
