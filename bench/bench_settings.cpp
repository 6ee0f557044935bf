// Settings file speed: loading a long rule set into the model, and saving an
// edit of it. The baseline in the same run reads the numbered lines as the
// model once did, one key look-up (a walk of the section) per line.
#include "core/rules/rulesettings.h"
#include "core/store/bigini.h"
#include "core/util/fileio.h"
#include "core/util/text.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include <unistd.h>

using namespace qmx;

namespace {

// QMXRead.ini with one rule set of the given number of lines, selected.
std::string writeSettings(int lines)
{
    const auto dir =
        std::filesystem::temp_directory_path() / ("qmx-bench-settings-" + std::to_string(getpid()));
    std::filesystem::create_directories(dir);
    const std::string path = (dir / ("QMXRead-" + std::to_string(lines) + ".ini")).string();
    std::string text = "[QMXREAD_PARAMETERS]\r\nHost=h\r\nDefault_Rule_Set=Big\r\n\r\n"
                       "[RULE_LIST_SETTINGS]\r\nCount=1\r\n0=Big\r\n\r\n[Big]\r\nCount="
                       + toDecimal(lines) + "\r\n";
    for (int i = 0; i < lines; ++i)
        text += toDecimal(i) + "=IF (%FILE:SYS" + toDecimal(i)
                + ".DLL:SIZE%>1000) THEN PRINT \"Big\";\r\n";
    writeFileAtomic(path, text);
    return path;
}

void BM_LoadRuleSet(benchmark::State& state)
{
    const std::string path = writeSettings(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        RuleSettings s(path);
        s.loadIfPresent();
        benchmark::DoNotOptimize(s.editorLines().data());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
    std::filesystem::remove(path);
}
BENCHMARK(BM_LoadRuleSet)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

// The former load: the store answers each numbered key by walking the section.
void BM_LoadRuleSet_LinearScan(benchmark::State& state)
{
    const std::string path = writeSettings(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        const TBigIniFile ini(readOnly, path);
        std::vector<std::string> lines;
        const int32_t count = ini.ReadInteger("Big", "Count", 0);
        for (int32_t i = 0; i < count; ++i)
            lines.push_back(ini.ReadString("Big", toDecimal(i), ""));
        benchmark::DoNotOptimize(lines.data());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
    std::filesystem::remove(path);
}
BENCHMARK(BM_LoadRuleSet_LinearScan)->Arg(10000)->Unit(benchmark::kMillisecond)->Iterations(2);

// One line edited, then the exit write: the set's section is written anew.
void BM_SaveEditedRuleSet(benchmark::State& state)
{
    const std::string path = writeSettings(static_cast<int>(state.range(0)));
    RuleSettings s(path);
    s.loadIfPresent();
    int round = 0;
    for (auto _ : state) {
        s.editorLines().front() = "// edit " + toDecimal(++round);
        s.save();
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
    std::filesystem::remove(path);
}
BENCHMARK(BM_SaveEditedRuleSet)->Arg(100000)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
