// Timings of the server report parser on generated reports, beside the bare
// read-and-split of the same file as the baseline: the parse itself should
// cost little more than finding the lines.
#include "core/report/loader.h"
#include "core/server/serverreport.h"
#include "core/util/lines.h"

#include "core/util/fileio.h"
#include "servergen.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>
#include <unistd.h>

namespace {

using namespace qmx;

// The generated reports live in one scratch directory, removed at exit.
class ScratchFiles {
public:
    ScratchFiles()
    {
        std::string tmpl =
            (std::filesystem::temp_directory_path() / "qmx-bench-server-XXXXXX").string();
        if (::mkdtemp(tmpl.data()))
            dir_ = tmpl;
    }
    ~ScratchFiles()
    {
        std::error_code ec;
        std::filesystem::remove_all(dir_, ec);
    }
    const std::string& serverReport(size_t lines)
    {
        std::string& path = paths_[lines];
        if (path.empty()) {
            path = (dir_ / ("server-" + std::to_string(lines) + ".txt")).string();
            writeFileAtomic(path, bench::generateServerReport(lines));
        }
        return path;
    }

private:
    std::filesystem::path dir_;
    std::map<size_t, std::string> paths_;
};

const std::string& serverFile(size_t lines)
{
    static ScratchFiles files;
    return files.serverReport(lines);
}

// Baseline: read the file and split it into lines.
void BM_ReadAndSplit(benchmark::State& state)
{
    const std::string& path = serverFile(static_cast<size_t>(state.range(0)));
    for (auto _ : state) {
        const std::string text = readWholeFile(path);
        benchmark::DoNotOptimize(splitLineViews(text).size());
    }
}
BENCHMARK(BM_ReadAndSplit)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_LoadServerReport(benchmark::State& state)
{
    const std::string& path = serverFile(static_cast<size_t>(state.range(0)));
    for (auto _ : state) {
        const ServerReport r = loadServerReport(path);
        benchmark::DoNotOptimize(r.modules.size());
    }
}
BENCHMARK(BM_LoadServerReport)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

// Headings repeated with no separator after them: bounded by the block
// budget instead of growing with the square of the report.
void BM_RepeatedHeadings(benchmark::State& state)
{
    std::string text;
    for (int64_t k = 0; k < state.range(0); ++k)
        text += "Top of file. [C:\\CONFIG.SYS]\r\n";
    for (auto _ : state) {
        const ServerReport r = parseServerReport(text, static_cast<long long>(text.size()));
        benchmark::DoNotOptimize(r.configSys.size());
    }
}
BENCHMARK(BM_RepeatedHeadings)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
