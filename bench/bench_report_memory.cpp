// Peak memory of loading one report: qmx-bench-report-memory REPORT prints
// the report's size, the process's peak resident size after loadall, and
// their ratio.
#include "core/report/loader.h"

#include "core/util/error.h"

#include <cstdio>
#include <sys/resource.h>
#include <sys/stat.h>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: bench_report_memory REPORT\n");
        return 2;
    }
    struct stat st {};
    if (::stat(argv[1], &st) != 0) {
        std::perror(argv[1]);
        return 1;
    }
    try {
        qmx::ReportDocument doc;
        qmx::loadall(doc, argv[1]);
        struct rusage ru {};
        ::getrusage(RUSAGE_SELF, &ru);
        const double sizeMb = static_cast<double>(st.st_size) / (1024.0 * 1024.0);
        const double peakMb = static_cast<double>(ru.ru_maxrss) / 1024.0;
        std::printf("report %.1f MiB, %zu lines, %zu variables; peak RSS %.1f MiB (%.1fx)\n",
                    sizeMb, doc.lines.size(), doc.variables.size(), peakMb, peakMb / sizeMb);
    } catch (const qmx::Error& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    return 0;
}
