// The comparison of 10 generated reports of 10,000 keys each: the grid
// model against the literal algorithm (a linear search of the key column
// for every key of every report) on the same stores, and the whole
// qmxread-cli compare process on the same reports written to files. The
// model should take under 0.3 s and the process under 1.5 s.
#include "comparegen.h"
#include "compareliteral.h"

#include "core/compare/comparison.h"
#include "core/util/fileio.h"

#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <memory>

extern char** environ;

namespace {

struct Site {
    std::vector<std::string> texts;
    std::vector<std::unique_ptr<qmx::TBigIniFile>> stores;
    std::vector<qmx::StringList> sections;
    std::vector<qmx::CompareColumn> columns;
    std::vector<std::string> paths;
    std::filesystem::path dir;
    ~Site()
    {
        std::error_code ec;
        std::filesystem::remove_all(dir, ec);
    }
};

const Site& site()
{
    static Site site;
    static const bool ready = [] {
        site.texts = qmx::bench::generateCompareSet({});
        site.dir = std::filesystem::temp_directory_path()
                   / ("qmx-bench-compare-" + std::to_string(::getpid()));
        std::filesystem::create_directories(site.dir);
        site.sections.resize(site.texts.size());
        for (size_t i = 0; i < site.texts.size(); ++i) {
            const std::string path = (site.dir / ("ws-" + std::to_string(i) + ".txt")).string();
            qmx::writeFileAtomic(path, site.texts[i]);
            site.paths.push_back(path);
            site.stores.push_back(std::make_unique<qmx::TBigIniFile>(std::string(), site.texts[i]));
            site.stores.back()->ReadSections(site.sections[i]);
            site.columns.push_back({path, {{site.stores.back().get(), &site.sections[i]}}});
        }
        return true;
    }();
    (void)ready;
    return site;
}

void BM_CompareModel(benchmark::State& state)
{
    const Site& s = site();
    size_t rows = 0;
    for (auto _ : state) {
        const qmx::ComparisonGrid grid = qmx::compareReports(s.columns);
        rows = grid.rowCount();
        benchmark::DoNotOptimize(rows);
    }
    state.counters["rows"] = static_cast<double>(rows);
}

void BM_CompareLiteral(benchmark::State& state)
{
    const Site& s = site();
    for (auto _ : state) {
        const auto grid = qmx::bench::literalCompare(s.columns);
        benchmark::DoNotOptimize(grid.cells.data());
    }
}

std::string cliPath()
{
    return (std::filesystem::read_symlink("/proc/self/exe").parent_path() / "qmxread-cli").string();
}

// The whole process, output to /dev/null, timed from spawn to exit.
void BM_CliCompare(benchmark::State& state)
{
    const Site& s = site();
    const std::string exe = cliPath();
    if (!std::filesystem::exists(exe)) {
        state.SkipWithError("qmxread-cli is not built");
        return;
    }
    std::vector<std::string> args{exe, "compare"};
    if (state.range(0))
        args.push_back("--csv");
    args.insert(args.end(), s.paths.begin(), s.paths.end());
    std::vector<char*> argv;
    for (auto& a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        posix_spawn_file_actions_t fa;
        posix_spawn_file_actions_init(&fa);
        posix_spawn_file_actions_addopen(&fa, 1, "/dev/null", O_WRONLY, 0);
        pid_t pid = 0;
        int status = 0;
        if (posix_spawn(&pid, exe.c_str(), &fa, nullptr, argv.data(), environ) != 0
            || ::waitpid(pid, &status, 0) < 0 || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
            state.SkipWithError("qmxread-cli compare failed");
        posix_spawn_file_actions_destroy(&fa);
        state.SetIterationTime(
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
}

} // namespace

BENCHMARK(BM_CompareModel)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CompareLiteral)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_CliCompare)
    ->Arg(0)
    ->Arg(1)
    ->ArgName("csv")
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5);

BENCHMARK_MAIN();
