// Rule engine speed: a large rule set over the variable list of a large
// report, the condition evaluator alone, and single look-ups. Each indexed
// measurement has a linear-scan twin (the reference look-up that walks the
// list every time, plugged into the same list) as its baseline in the same
// run.
#include "core/rules/expression.h"
#include "core/rules/interpreter.h"
#include "core/store/variables.h"
#include "reference.h"

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

using namespace qmx;

namespace {

constexpr int kFiles = 3000;     // 10 entries each
constexpr int kRegistry = 5000;  // 3 entries each
constexpr int kMultiBases = 500; // 1 + 5 entries each

std::string n(int i)
{
    return std::to_string(i);
}

// About 50,000 entries, laid out as the loader builds them for a report of
// some 100,000 lines: fixed tags first, then file, registry and multi-value
// entries in report order. Some item names are lower case, as reports have
// them, and can never be matched by upper-cased rule text.
VariableList makeReportVariables()
{
    VariableList v;
    for (const char* f : bench::kFixedTags)
        v.append(std::string("%") + f
                 + "%=" + (std::string(f) == "TOTALMEMORY" ? "65536" : "value"));
    v.append("%OS%=WINNT");
    for (int i = 0; i < kFiles; ++i) {
        const std::string k = (i % 4 == 0 ? "sys" : "SYS") + n(i) + ".DLL";
        const std::string p = "%FILE:" + k + ":";
        v.append(p + "NAME%=" + k);
        v.append(p + "FULLNAME%=C:\\WINDOWS\\SYSTEM\\" + k);
        v.append(p + "SIZE%=" + n(500 + (i * 37) % 2000));
        v.append(p + "DATE%=01.02.1999");
        v.append(p + "TIME%=12:00:00");
        v.append(p + "COMPANY%=Vendor " + n(i % 17));
        v.append(p + "INTERNALFILEVERSION%=4.10." + n(i));
        v.append(p + "INTERNALNAME%=" + k);
        v.append(p + "PRODUCTVERSION%=4.10");
        v.append(p + "DEFAULT%=" + (i % 3 ? "NEWER" : "OLDER"));
    }
    for (int i = 0; i < kRegistry; ++i) {
        const std::string k = "KEY" + n(i);
        v.append("%REGISTRY:" + k + ":KEY%=" + k);
        v.append("%REGISTRY:" + k + ":VALUE%=" + n(i % 50));
        v.append("%REGISTRY:" + k + ":DEFAULT%=" + (i % 5 ? "DEFAULT" : "NON-DEFAULT"));
    }
    for (int b = 0; b < kMultiBases; ++b) {
        const std::string base = "%REGISTRY_MULTIVALUE:PROTO" + n(b) + ":";
        v.append(base + "ALL_VALUES%=A=1;B=2;C=3;D=4;E=5");
        for (const char* name : {"A", "B", "C", "D", "E"})
            v.append(base + name + "%=" + n(b));
    }
    return v;
}

// 2,000 statements mixing SET, IF (with and without ELSE, with blocks) and
// PRINT over existing and missing variables, one statement a line.
std::string makeRuleSet()
{
    std::string r = "// generated rule set\r\n";
    for (int i = 0; i < 2000; ++i) {
        const int k = (i * 7919) % kFiles;
        const int g = (i * 104729) % kRegistry;
        switch (i % 8) {
        case 0: r += "SET %LIMIT" + n(i) + "%=" + n(i % 20) + ";"; break;
        case 1:
            r += "IF (%FILE:SYS" + n(k)
                 + ".DLL:SIZE%>1000) & (%OS%=WINNT) THEN PRINT \"Big file \"+%FILE:SYS" + n(k)
                 + ".DLL:NAME%;";
            break;
        case 2:
            r += "IF (%REGISTRY:KEY" + n(g)
                 + ":DEFAULT%=NON-DEFAULT) THEN PRINT \"Changed \"+%REGISTRY:KEY" + n(g)
                 + ":VALUE% ELSE PRINT \"Key ok\";";
            break;
        case 3: r += "IF (%MISSING" + n(i) + "%=1) | (%NOTHERE%>5) THEN PRINT \"Never\";"; break;
        case 4:
            r += "PRINT \"CPU: \"+%CPU%+\" memory: \"+%TOTALMEMORY%+\" \"+%MISSING" + n(i) + "%;";
            break;
        case 5:
            r += "IF (%LIMIT" + n(i - 5) + "%<10) THEN BEGIN\r\nPRINT \"Low limit\";\r\nSET %SEEN"
                 + n(i) + "%=1;\r\nEND;";
            break;
        case 6:
            r += "IF (%REGISTRY_MULTIVALUE:PROTO" + n(i % kMultiBases)
                 + ":ALL_VALUES%^C=3) THEN SUGGEST \"Proto\";";
            break;
        default:
            r += "IF (%TOTALMEMORY%<32000) THEN PRINT \"Add memory\" ELSE PRINT \"Memory ok\";";
            break;
        }
        r += "\r\n";
    }
    return r;
}

void runRuleSet(benchmark::State& state, const VariableList::Lookup* lookup)
{
    VariableList vars = makeReportVariables();
    vars.setLookup(lookup);
    const std::string rules = makeRuleSet();
    std::vector<std::string> out;
    for (auto _ : state) {
        out.clear();
        runRules(vars, out, false, rules);
        benchmark::DoNotOptimize(out.data());
    }
    state.counters["variables"] = static_cast<double>(vars.size());
    state.counters["lines"] = static_cast<double>(out.size());
}

void BM_RuleSet_Indexed(benchmark::State& state)
{
    runRuleSet(state, nullptr);
}
void BM_RuleSet_LinearScan(benchmark::State& state)
{
    runRuleSet(state, &bench::linearLookup());
}
BENCHMARK(BM_RuleSet_Indexed)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RuleSet_LinearScan)->Unit(benchmark::kMillisecond)->Iterations(3);

// A condition as the evaluator receives it once references are replaced.
void BM_Evaluate(benchmark::State& state)
{
    ExpressionEvaluator e;
    const std::string condition = "(1=1) & (5<10)";
    for (auto _ : state)
        benchmark::DoNotOptimize(e.ProcessExpression(condition));
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_Evaluate);

// The same condition written with references, as an IF statement: lookup,
// replacement and evaluation together.
void runIfStatement(benchmark::State& state, const VariableList::Lookup* lookup)
{
    VariableList vars = makeReportVariables();
    vars.append("%X%=1");
    vars.append("%Y%=5");
    vars.setLookup(lookup);
    std::vector<std::string> out;
    RuleInterpreter ri(vars, out, false, {});
    const std::string statement = "IF (%X%=1) & (%Y%<10) THEN SET %Z%=1;";
    for (auto _ : state)
        ri.processrule(statement);
    state.SetItemsProcessed(state.iterations());
}
void BM_IfStatement_Indexed(benchmark::State& state)
{
    runIfStatement(state, nullptr);
}
void BM_IfStatement_LinearScan(benchmark::State& state)
{
    runIfStatement(state, &bench::linearLookup());
}
BENCHMARK(BM_IfStatement_Indexed);
BENCHMARK(BM_IfStatement_LinearScan);

// One reference look-up: existing names spread over the list, missing names,
// and a short prefix shared by many entries.
void runLookup(benchmark::State& state, const VariableList::Lookup* lookup)
{
    VariableList vars = makeReportVariables();
    vars.setLookup(lookup);
    std::vector<std::string> refs;
    for (int i = 0; i < 64; ++i) {
        refs.push_back("%FILE:SYS" + n((i * 97 + 1) % kFiles | 1) + ".DLL:SIZE%");
        refs.push_back("%REGISTRY:KEY" + n(i * 71 % kRegistry) + ":DEFAULT%");
        refs.push_back("%MISSING" + n(i) + "%");
        refs.push_back("%REG");
    }
    size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(vars.findFirstWithPrefix(refs[i]));
        i = (i + 1) % refs.size();
    }
    state.SetItemsProcessed(state.iterations());
}
void BM_Lookup_Indexed(benchmark::State& state)
{
    runLookup(state, nullptr);
}
void BM_Lookup_LinearScan(benchmark::State& state)
{
    runLookup(state, &bench::linearLookup());
}
BENCHMARK(BM_Lookup_Indexed);
BENCHMARK(BM_Lookup_LinearScan);

} // namespace

BENCHMARK_MAIN();
