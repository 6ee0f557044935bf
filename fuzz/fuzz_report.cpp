// Feeds arbitrary bytes to the INI section store (opened on the bytes, read,
// written, rendered) and to the report loader and attached-file extraction
// (over the same bytes, from memory or through a file). The file is an
// anonymous memory file, so nothing is left on disk, however a run ends.
// Seed it with fuzz/seeds.sh and allow large inputs (-max_len=262144).
#include "core/report/attached.h"
#include "core/report/browse.h"
#include "core/report/loader.h"
#include "core/store/bigini.h"
#include "core/util/error.h"
#include "core/util/fileio.h"

#include <cstdint>
#include <cstdio>
#include <string>
#include <sys/mman.h>
#include <unistd.h>

namespace {

// Loads bytes through a real file read: an anonymous memory file, opened
// by its /proc path like any report.
void loadThroughFile(qmx::ReportDocument& doc, const std::string& bytes)
{
    const int fd = ::memfd_create("qmx-fuzz-report", MFD_CLOEXEC);
    if (fd < 0)
        __builtin_trap();
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n <= 0)
            __builtin_trap();
        done += static_cast<size_t>(n);
    }
    try {
        qmx::loadall(doc, "/proc/self/fd/" + std::to_string(fd));
    } catch (...) {
        ::close(fd);
        throw;
    }
    ::close(fd);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string bytes(reinterpret_cast<const char*>(data), size);

    {
        // An empty file name: write-back renders nothing to disk.
        qmx::TBigIniFile ini("", bytes);
        qmx::StringList sections;
        ini.ReadSections(sections);
        for (size_t i = 0; i < sections.size() && i < 8; ++i) {
            qmx::StringList keys;
            ini.ReadSection(sections[i], keys);
            for (size_t k = 0; k < keys.size() && k < 8; ++k) {
                (void)ini.ReadString(sections[i], keys[k], "");
                (void)ini.ReadInteger(sections[i], keys[k], -1);
                ini.WriteString(sections[i], keys[k], "v");
            }
            qmx::SectionBrowser b;
            b.chooseSection(ini, sections[i]);
            if (!keys.empty())
                b.chooseKey(ini, keys[0]);
        }
        ini.WriteInteger(sections.empty() ? "New" : sections.back(), "n", 7);
        if (!sections.empty())
            ini.EraseSection(sections.front());
        const std::string text = ini.contentText();
        qmx::TBigIniFile again("", text);
        if (again.contentText() != text)
            __builtin_trap(); // a rendered store must read back to itself
        ini.UpdateFile();
    }

    try {
        qmx::ReportDocument doc;
        // Every few inputs go through a real file; the rest load from memory.
        if (size % 16 == 0) {
            loadThroughFile(doc, bytes);
        } else {
            qmx::loadReportText(doc, "fuzz.txt", bytes);
        }
        for (size_t i = 0; i < doc.attached.size() && i < 4; ++i) {
            std::vector<std::string> out;
            try {
                qmx::extractAttached(doc.lines, doc.attached[i], out);
            } catch (const qmx::Error&) {
            }
        }
        for (const qmx::TextColour& c : doc.textColours)
            if (c.atLine > c.line
                || doc.lines[c.atLine].compare(c.column, c.length, doc.lines[c.line]) != 0)
                __builtin_trap();
    } catch (const qmx::Error&) {
    }
    return 0;
}
