// Inputs built to be slow: long conditions and deep nesting in the
// evaluator, many multi-value lines of one base in the loader, lines of
// repeated "[" in the first-occurrence search. Each has a literal twin (the
// text rebuilt per group, the entry rewritten per line, a whole-text search
// per line) as its baseline in the same run, at sizes it finishes in.
#include "util/lines.h"
#include "hostilegen.h"
#include "literal.h"

#include "report/loader.h"
#include "report/occurrence.h"
#include "store/variables.h"
#include "rules/expression.h"

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

using namespace qmx;

namespace {

std::string chain(size_t bytes)
{
    std::string c;
    while (c.size() + 6 <= bytes)
        c += "(1=1)&";
    return c + "(1=1)";
}

void BM_ConditionChain(benchmark::State& state)
{
    const std::string c = chain(static_cast<size_t>(state.range(0)));
    for (auto _ : state) {
        ExpressionEvaluator e;
        benchmark::DoNotOptimize(e.ProcessExpression(c));
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * c.size()));
}
BENCHMARK(BM_ConditionChain)->Arg(60 << 10)->Arg(240 << 10)->Arg(1 << 20)->Unit(benchmark::kMillisecond);

void BM_ConditionChainLiteral(benchmark::State& state)
{
    const std::string c = chain(static_cast<size_t>(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(bench::literalReduction(c).value);
}
BENCHMARK(BM_ConditionChainLiteral)->Arg(60 << 10)->Arg(240 << 10)->Unit(benchmark::kMillisecond)->Iterations(1);

std::string nested(size_t depth)
{
    return std::string(depth, '(') + "A=A" + std::string(depth, ')');
}

void BM_ConditionNested(benchmark::State& state)
{
    const std::string c = nested(static_cast<size_t>(state.range(0)));
    for (auto _ : state) {
        ExpressionEvaluator e;
        benchmark::DoNotOptimize(e.ProcessExpression(c));
    }
}
BENCHMARK(BM_ConditionNested)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_ConditionNestedLiteral(benchmark::State& state)
{
    const std::string c = nested(static_cast<size_t>(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(bench::literalReduction(c).value);
}
BENCHMARK(BM_ConditionNestedLiteral)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(1);

// The whole load, rules off, of a report of range(0) multi-value lines that
// all extend one ALL_VALUES entry.
void BM_LoadSharedMultiValue(benchmark::State& state)
{
    const std::string text =
        bench::generateHostileReport(bench::HostileShape::MultiValue, static_cast<size_t>(state.range(0)));
    for (auto _ : state) {
        ReportDocument doc;
        loadReportText(doc, "multi.txt", text);
        benchmark::DoNotOptimize(doc.variables.size());
    }
}
BENCHMARK(BM_LoadSharedMultiValue)->Arg(20000)->Arg(80000)->Unit(benchmark::kMillisecond);

// Baseline: the entry rewritten with its text so far at every line, the
// load's former way, alone (no rest of the load).
void BM_SharedMultiValueLiteral(benchmark::State& state)
{
    const size_t n = static_cast<size_t>(state.range(0));
    for (auto _ : state) {
        VariableList vars;
        const auto id = vars.append("%REGISTRY_MULTIVALUE:Proto:ALL_VALUES%=V0=0");
        for (size_t i = 1; i < n; ++i)
            vars.setText(id, std::string(vars.text(id)) + ";V" + std::to_string(i) + "=" + std::to_string(i % 97));
        benchmark::DoNotOptimize(vars.size());
    }
}
BENCHMARK(BM_SharedMultiValueLiteral)->Arg(20000)->Arg(80000)->Unit(benchmark::kMillisecond)->Iterations(1);

struct BracketLines {
    std::string text;
    std::vector<std::string_view> lines;
    std::vector<size_t> queries;
    std::vector<std::string_view> markers;
};

BracketLines bracketLines(size_t count)
{
    BracketLines b;
    b.text = bench::generateHostileReport(bench::HostileShape::Brackets, count);
    b.lines = splitLineViews(b.text);
    for (size_t i = 0; i < b.lines.size(); ++i)
        if (!b.lines[i].empty() && b.lines[i][0] == '[') {
            b.queries.push_back(i);
            b.markers.push_back("[");
        }
    return b;
}

void BM_FirstOccurrenceBrackets(benchmark::State& state)
{
    const BracketLines b = bracketLines(static_cast<size_t>(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(firstOccurrencesOfMarkedLines(b.lines, b.queries, b.markers).data());
}
BENCHMARK(BM_FirstOccurrenceBrackets)->Arg(4000)->Arg(40000)->Unit(benchmark::kMillisecond);

// Baseline: each line looked for in the whole text from its start.
void BM_FirstOccurrenceBracketsLiteral(benchmark::State& state)
{
    const BracketLines b = bracketLines(static_cast<size_t>(state.range(0)));
    std::string whole;
    for (const std::string_view l : b.lines)
        whole.append(l).append("\r\n");
    for (auto _ : state)
        for (const size_t q : b.queries)
            benchmark::DoNotOptimize(whole.find(b.lines[q]));
}
BENCHMARK(BM_FirstOccurrenceBracketsLiteral)->Arg(4000)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace

BENCHMARK_MAIN();
