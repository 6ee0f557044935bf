// Timings of the report core on generated reports: the whole loader, the
// colouring search, the multi-value variables and the attached-file
// extraction, each beside the literal algorithm it replaces (at sizes where
// the literal one finishes in reasonable time).
#include "core/report/attached.h"
#include "core/report/loader.h"
#include "core/report/occurrence.h"
#include "core/store/variables.h"

#include "core/util/fileio.h"
#include "core/util/lines.h"
#include "reportgen.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <map>
#include <string>
#include <unistd.h>

namespace {

using namespace qmx;

// One generated report file per size, written once and removed at exit.
const std::string& reportFile(size_t lines)
{
    static std::map<size_t, std::string> files;
    static struct Cleanup {
        ~Cleanup()
        {
            for (auto& [n, p] : files)
                std::remove(p.c_str());
        }
    } cleanup;
    auto it = files.find(lines);
    if (it == files.end()) {
        bench::ReportShape shape;
        shape.lines = lines;
        const std::string path =
            "/tmp/qmx-bench-" + std::to_string(::getpid()) + "-" + std::to_string(lines) + ".txt";
        writeFileAtomic(path, bench::generateReport(shape));
        it = files.emplace(lines, path).first;
    }
    return it->second;
}

const std::vector<std::string>& reportLines(size_t lines)
{
    static std::map<size_t, std::vector<std::string>> cache;
    auto it = cache.find(lines);
    if (it == cache.end())
        it = cache.emplace(lines, splitLines(readWholeFile(reportFile(lines)))).first;
    return it->second;
}

std::vector<size_t> colouredLines(const std::vector<std::string>& lines)
{
    std::vector<size_t> q;
    for (size_t i = 0; i < lines.size(); ++i) {
        const std::string& l = lines[i];
        if ((!l.empty() && l[0] == '[')
            || (l.find("_0=GETFILE;") == std::string::npos && l.find("=NIC;") == std::string::npos
                && (l.find("=FILE;") != std::string::npos
                    || l.find("=REGISTRY_MULTIVALUE;") != std::string::npos
                    || l.find("=REGISTRY;") != std::string::npos)))
            q.push_back(i);
    }
    return q;
}

void BM_LoadAll(benchmark::State& state)
{
    const std::string& path = reportFile(static_cast<size_t>(state.range(0)));
    for (auto _ : state) {
        ReportDocument doc;
        loadall(doc, path);
        benchmark::DoNotOptimize(doc.textColours.data());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_LoadAll)->Arg(100000)->Arg(400000)->Unit(benchmark::kMillisecond);

// The longest stretch of loader work without a pump call, as a window sees
// it: from the start of loadall to the first call, between calls, and from
// the last call to the end. Reported as counters (milliseconds); the window
// needs every stretch short.
void BM_LoadAllPumpGaps(benchmark::State& state)
{
    using Clock = std::chrono::steady_clock;
    const std::string& path = reportFile(static_cast<size_t>(state.range(0)));
    double longest = 0, first = 0, calls = 0;
    for (auto _ : state) {
        ReportDocument doc;
        Clock::time_point last = Clock::now();
        double gap = 0, firstGap = -1;
        LoadOptions options;
        options.pump = [&] {
            const Clock::time_point now = Clock::now();
            const double ms = std::chrono::duration<double, std::milli>(now - last).count();
            gap = std::max(gap, ms);
            if (firstGap < 0)
                firstGap = ms;
            ++calls;
            last = now;
        };
        loadall(doc, path, options);
        gap = std::max(gap, std::chrono::duration<double, std::milli>(Clock::now() - last).count());
        longest = std::max(longest, gap);
        first = std::max(first, firstGap);
    }
    state.counters["longest_gap_ms"] = longest;
    state.counters["first_gap_ms"] = first;
    state.counters["pumps"] = calls / static_cast<double>(state.iterations());
}
BENCHMARK(BM_LoadAllPumpGaps)->Arg(100000)->Arg(400000)->Unit(benchmark::kMillisecond);

// The search the loader uses: each coloured line looked for through the
// marker text that made it coloured.
void BM_ColouringMarked(benchmark::State& state)
{
    const auto& lines = reportLines(static_cast<size_t>(state.range(0)));
    const std::vector<std::string_view> views(lines.begin(), lines.end());
    const auto queries = colouredLines(lines);
    std::vector<std::string_view> markers;
    for (size_t q : queries) {
        const std::string& l = lines[q];
        markers.push_back(l[0] == '['                             ? "["
                          : l.find("=FILE;") != std::string::npos ? "=FILE;"
                          : l.find("=REGISTRY_MULTIVALUE;") != std::string::npos
                              ? "=REGISTRY_MULTIVALUE;"
                              : "=REGISTRY;");
    }
    for (auto _ : state)
        benchmark::DoNotOptimize(firstOccurrencesOfMarkedLines(views, queries, markers).data());
}
BENCHMARK(BM_ColouringMarked)
    ->Arg(10000)
    ->Arg(25000)
    ->Arg(100000)
    ->Arg(400000)
    ->Unit(benchmark::kMillisecond);

// Literal colouring: the first occurrence of each coloured line in the
// whole text.
void BM_ColouringLiteral(benchmark::State& state)
{
    const auto& lines = reportLines(static_cast<size_t>(state.range(0)));
    const auto queries = colouredLines(lines);
    std::string text;
    for (const auto& l : lines)
        text += l + "\r\n";
    for (auto _ : state)
        for (size_t q : queries)
            benchmark::DoNotOptimize(text.find(lines[q]));
}
BENCHMARK(BM_ColouringLiteral)->Arg(10000)->Arg(25000)->Unit(benchmark::kMillisecond);

// Multi-value variables: extending ALL_VALUES through the indexed variable
// list against scanning a plain list for every line.
std::vector<std::pair<std::string, std::string>> multiValues(const std::vector<std::string>& lines)
{
    std::vector<std::pair<std::string, std::string>> mv;
    for (const auto& l : lines)
        if (l.find("=REGISTRY_MULTIVALUE;") != std::string::npos) {
            const std::string key = l.substr(0, l.find('='));
            mv.emplace_back("%REGISTRY_MULTIVALUE:" + key.substr(0, key.rfind('_'))
                                + ":ALL_VALUES%",
                            l.substr(l.find(';') + 1));
        }
    return mv;
}

void BM_MultiValueIndexed(benchmark::State& state)
{
    const auto mv = multiValues(reportLines(static_cast<size_t>(state.range(0))));
    for (auto _ : state) {
        VariableList vars;
        for (const auto& [name, v] : mv) {
            const auto id = vars.findFirstByName(name);
            if (id != VariableList::npos)
                vars.setText(id, std::string(vars.text(id)) + ";" + v);
            else
                vars.append(name + "=" + v);
            vars.append(name + "x=" + v);
        }
        benchmark::DoNotOptimize(vars.size());
    }
}
BENCHMARK(BM_MultiValueIndexed)->Arg(10000)->Arg(25000)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_MultiValueLiteral(benchmark::State& state)
{
    const auto mv = multiValues(reportLines(static_cast<size_t>(state.range(0))));
    for (auto _ : state) {
        std::vector<std::string> vars;
        for (const auto& [name, v] : mv) {
            bool found = false;
            for (auto& e : vars)
                if (e.compare(0, e.find('='), name) == 0) {
                    e += ";" + v;
                    found = true;
                    break;
                }
            if (!found)
                vars.push_back(name + "=" + v);
            vars.push_back(name + "x=" + v);
        }
        benchmark::DoNotOptimize(vars.size());
    }
}
BENCHMARK(BM_MultiValueLiteral)->Arg(10000)->Arg(25000)->Unit(benchmark::kMillisecond);

void BM_ExtractBigFile(benchmark::State& state)
{
    const auto& lines = reportLines(static_cast<size_t>(state.range(0)));
    for (auto _ : state) {
        std::vector<std::string> out;
        extractAttached(lines, bench::kBigAttachedName, out);
        if (out.size() != 15000)
            state.SkipWithError("wrong line count");
        benchmark::DoNotOptimize(out.data());
    }
}
BENCHMARK(BM_ExtractBigFile)->Arg(100000)->Arg(400000)->Unit(benchmark::kMillisecond);

// Literal extraction: every line searched for every line number. Run on a
// 100,000-line report for the first range(1) numbers of the big file only;
// the full file costs 15,000 / range(1) times as much.
void BM_ExtractBigFileLiteralPart(benchmark::State& state)
{
    const auto& lines = reportLines(static_cast<size_t>(state.range(0)));
    const int upto = static_cast<int>(state.range(1));
    const std::string name = bench::kBigAttachedName;
    for (auto _ : state) {
        std::vector<std::string> out;
        for (int k = 0; k < upto; ++k) {
            const std::string pk = name + "_" + std::to_string(k) + "=GETFILE;";
            for (const auto& l : lines)
                if (l.find(pk) != std::string::npos)
                    out.push_back(l.substr(pk.size() + 6));
        }
        benchmark::DoNotOptimize(out.data());
    }
}
BENCHMARK(BM_ExtractBigFileLiteralPart)->Args({100000, 100})->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
