// The fleet summary over many generated reports, as the whole command-line
// process: `analyze --summary` with the sample settings' DEFAULT rule set,
// with one job and with two. QMX_FLEET_REPORTS and QMX_FLEET_LINES change the
// fleet's size (default 1,000 reports of 5,000 lines).
#include "reportgen.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

size_t envSize(const char* name, size_t fallback)
{
    const char* v = std::getenv(name);
    return v && *v ? std::strtoul(v, nullptr, 10) : fallback;
}

// The generated fleet, written once per run and removed at exit.
struct Fleet {
    std::filesystem::path dir;
    size_t reports = envSize("QMX_FLEET_REPORTS", 1000);
    Fleet()
    {
        std::string tmpl = (std::filesystem::temp_directory_path() / "qmxfleet-XXXXXX").string();
        dir = ::mkdtemp(tmpl.data());
        const size_t lines = envSize("QMX_FLEET_LINES", 5000);
        for (size_t i = 0; i < reports; ++i) {
            qmx::bench::ReportShape shape;
            shape.lines = lines;
            shape.seed = unsigned(i + 1);
            std::ofstream(dir / ("ws-" + std::to_string(100000 + i) + ".txt"), std::ios::binary)
                << qmx::bench::generateReport(shape);
        }
    }
    ~Fleet()
    {
        std::error_code ec;
        std::filesystem::remove_all(dir, ec);
    }
};

Fleet& fleet()
{
    static Fleet f;
    return f;
}

void BM_AnalyzeSummary(benchmark::State& state)
{
    Fleet& f = fleet();
    const std::string cmd = std::string(QMX_CLI_PATH) + " analyze --summary --settings "
                            + QMX_SAMPLES + "/QMXRead.ini --jobs " + std::to_string(state.range(0))
                            + " " + f.dir.string() + " > /dev/null";
    for (auto _ : state) {
        const auto t0 = std::chrono::steady_clock::now();
        if (std::system(cmd.c_str()) != 0) {
            state.SkipWithError("analyze --summary failed");
            break;
        }
        state.SetIterationTime(
            std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count());
    }
    state.counters["reports"] = double(f.reports);
}

} // namespace

BENCHMARK(BM_AnalyzeSummary)
    ->ArgName("jobs")
    ->Arg(1)
    ->Arg(2)
    ->UseManualTime()
    ->Unit(benchmark::kSecond)
    ->Iterations(3);
BENCHMARK_MAIN();
