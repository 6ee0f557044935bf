// Rule linter speed: the editor lints the rule text on every pause in
// typing, so a 2,000-statement rule set must be linted in well under 20 ms.
// The baseline in the same run is the interpreter running the same rule set
// over a report's variable list.
#include "rulegen.h"

#include "core/lint/linter.h"
#include "core/rules/interpreter.h"
#include "core/store/variables.h"

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

using namespace qmx;

namespace {

VariableList makeReport()
{
    VariableList v;
    for (const char* e :
         {"%TOTALMEMORY%=65536", "%OS%=WINNT", "%CPU%=PENTIUM", "%COMPUTERNAME%=PC1"})
        v.append(e);
    for (int i = 0; i < 1000; ++i)
        v.append("%FILE:SYS" + std::to_string(i) + ".DLL:DEFAULT%=NEWER");
    return v;
}

const std::string& ruleSet()
{
    static const std::string text = qmx::bench::makeRuleSet(2000);
    return text;
}

void BM_LintRuleSet(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(lintRuleText(ruleSet()));
}
BENCHMARK(BM_LintRuleSet)->Unit(benchmark::kMillisecond);

void BM_LintRuleSetWithReport(benchmark::State& state)
{
    const VariableList report = makeReport();
    for (auto _ : state)
        benchmark::DoNotOptimize(lintRuleText(ruleSet(), &report));
}
BENCHMARK(BM_LintRuleSetWithReport)->Unit(benchmark::kMillisecond);

// Baseline: the interpreter over the same rule set.
void BM_RunRuleSet(benchmark::State& state)
{
    for (auto _ : state) {
        VariableList report = makeReport();
        std::vector<std::string> out;
        runRules(report, out, false, ruleSet());
        benchmark::DoNotOptimize(out);
    }
}
BENCHMARK(BM_RunRuleSet)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
