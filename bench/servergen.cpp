#include "servergen.h"

#include <string>
#include <vector>

namespace qmx::bench {

namespace {

const std::string kSep(69, '-');
const std::string kRule(69, '=');

class Writer {
public:
    explicit Writer(size_t limit) : limit_(limit) {}
    void line(const std::string& s)
    {
        if (count_ < limit_) {
            out_ += s;
            out_ += "\r\n";
            ++count_;
        }
    }
    size_t count() const { return count_; }
    bool full(size_t reserve = 0) const { return count_ + reserve >= limit_; }
    std::string take() { return std::move(out_); }

private:
    size_t limit_;
    size_t count_ = 0;
    std::string out_;
};

std::string field(const std::string& label, const std::string& value)
{
    std::string s = label;
    s.resize(26, '.');
    return s + ": " + value;
}

std::string num(size_t n)
{
    return std::to_string(n);
}

void header(Writer& w)
{
    w.line("Quillon File Server Configuration Report.  [CONFIG.ZLM v2.14]");
    w.line("Quillon File Server Configuration Report Created: 12/03/2026 08:15:42");
    w.line(kSep);
    w.line(field("Server name", "FS-BENCH"));
    w.line(field("OS Version", "Kestrix Server 4.11"));
    w.line(field("Total Server memory", "1024 MB (1,048,576 KB)"));
    w.line(field("Licensed Connections", "1000"));
    w.line(field("Engine Type", "Uniprocessor"));
    w.line(field("Internal Net. Addr", "0A1B2C3D"));
    w.line(kSep);
}

void block(Writer& w, const std::string& heading, size_t body, const std::string& stem)
{
    w.line(heading);
    w.line(kRule);
    for (size_t k = 0; k < body && !w.full(1); ++k)
        w.line(k % 17 == 16 ? std::string()
                            : stem + num(k) + "   version " + num(k % 7) + ".0 sample text");
    w.line(kSep);
}

void disks(Writer& w, size_t rows)
{
    w.line("******Disk Drive Configuration Information******");
    w.line(kRule);
    for (size_t k = 0; k < rows && !w.full(11); ++k) {
        for (const std::string& s :
             {"Device type.......: SCSI adapter " + num(k), std::string("Port..............: 330"),
              std::string("DMA...............: 5"), "Driver............: DISK" + num(k) + ".DSK",
              "    Int.........................: " + num(k % 16),
              std::string("Slot..............: 0"), std::string("Drive count.......: 2"),
              std::string("Capacity..........: 4,096 MB"),
              std::string("Mirror status.....: Mirrored"), std::string()})
            w.line(s);
    }
    w.line(kSep);
}

void lanBoards(Writer& w, size_t rows)
{
    w.line("Top of LAN Driver Configuration Listing");
    w.line(kRule);
    for (size_t k = 0; k < rows && !w.full(8); ++k) {
        for (const std::string& s :
             {"Board name........: Ethernet " + num(k), "Driver............: NE" + num(k) + ".LAN",
              std::string("Frame type........: ETHERNET_802.2"),
              std::string("Port..............: 300"), std::string("Memory............: D000"),
              "IRQ...........: " + num(k % 16), std::string()})
            w.line(s);
    }
    w.line(kSep);
}

void volumes(Writer& w, size_t count)
{
    for (size_t k = 0; k < count && !w.full(14); ++k) {
        w.line("*   Volume Statistics for VOL" + num(k) + "  (mounted)");
        w.line(kRule);
        const char* labels[] = {"Volume size",       "Block size",        "Total blocks",
                                "Free blocks",       "Purgable blocks",   "Not yet purgable",
                                "Total dir entries", "Available entries", "Name spaces",
                                "Compression",       "Purgable space"};
        for (const char* l : labels)
            w.line(std::string(l) + std::string(24 - std::string(l).size(), '.') + ": "
                   + num(k * 37 % 1000));
        w.line(kSep);
    }
}

} // namespace

std::string generateServerReport(size_t lines)
{
    Writer w(lines);
    header(w);
    block(w, std::string(22, ' ') + "Top of Patch List", lines / 20, "PATCH");
    block(w, "Top of Modules List  " + num(lines / 10) + " modules", lines / 10, "MOD");
    w.line("SMP.ZLM is listed only inside the module block");
    block(w, "Top of file. [C:STARTUP.ZCF]", lines / 10, "LOAD DRIVER");
    block(w, "Top of file. [SYS:SYSTEM\\AUTOEXEC.ZCF]", lines / 10, "LOAD MODULE");
    block(w, "Top of file. [C:\\CONFIG.SYS]", lines / 10, "DEVICE=C:\\DRV");
    block(w, "Top of file. [C:\\AUTOEXEC.BAT]", lines / 10, "CALL STEP");
    disks(w, lines * 15 / 100 / 10);
    lanBoards(w, lines / 10 / 7);
    volumes(w, lines / 5 / 14);
    for (size_t k = 0; !w.full(); ++k)
        w.line("Console log line " + num(k) + ": nothing the parser keys on");
    return w.take();
}

} // namespace qmx::bench
