// Rule linter speed: the editor lints the rule text on every pause in
// typing, so a 2,000-statement rule set must be linted in well under 20 ms.
// The baseline in the same run is the interpreter running the same rule set
// over a report's variable list.
#include "lint/linter.h"
#include "rules/interpreter.h"
#include "store/variables.h"

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

using namespace qmx;

namespace {

// A rule set of about `statements` statements in the shapes real rule sets
// have: comments, SETs, IFs with two parenthesised comparisons, ELSE, blocks
// and print-lists with variables; a few references the report lacks.
std::string makeRuleSet(int statements)
{
    std::string t;
    for (int i = 0, n = 0; n < statements; ++i) {
        const std::string k = std::to_string(i);
        switch (i % 6) {
        case 0:
            t += "// check " + k + "\r\nSET %LIMIT_" + k + "%=" + k + ";\r\n";
            n += 1;
            break;
        case 1:
            t += "IF (%TOTALMEMORY%<%LIMIT_" + std::to_string(i - 1)
                 + "%) & (%OS%=WINNT) THEN PRINT \"MEMORY \"+%TOTALMEMORY%+\" KB IS BELOW THE "
                   "LIMIT\";\r\n";
            n += 2;
            break;
        case 2:
            t += "IF (%CPU%=486) THEN PRINT \"SLOW CPU\" ELSE PRINT \"CPU: \"+%CPU%;\r\n";
            n += 2;
            break;
        case 3:
            t += "IF (%OS%=WIN95) THEN BEGIN\r\n  PRINT \"UPGRADE " + k
                 + "\";\r\n  PRINT \"PLAN IT\";\r\nEND;\r\n";
            n += 3;
            break;
        case 4:
            t += "PRINT \"COMPUTER: \"+%COMPUTERNAME%+\" USER: \"+%USER_" + k + "%;\r\n";
            n += 1;
            break;
        default:
            t += "IF (%FILE:SYS" + k + ".DLL:DEFAULT%=OLDER) THEN PRINT \"OLD DRIVER\";\r\n";
            n += 2;
            break;
        }
    }
    return t;
}

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
    static const std::string text = makeRuleSet(2000);
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
