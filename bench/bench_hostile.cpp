// Inputs built to be slow: long conditions and deep nesting in the
// evaluator, many multi-value lines of one base in the loader, lines of
// repeated "[" in the first-occurrence search, a line of thousands of
// attached-file tags, thousands of one-key sections to compare, conditions
// of thousands of references, and server reports of overlapping blocks and
// 1 MiB lines. Each has a literal twin (the text rebuilt per group, per
// reference or per tag, the entry rewritten per line, a whole-text search
// per line, the value list reallocated per section) as its baseline in the
// same run, at sizes it finishes in; where none is left, the figures measured
// before the change are quoted beside the benchmark.
#include "comparegen.h"
#include "core/util/lines.h"
#include "hostilegen.h"
#include "literal.h"

#include "core/compare/comparison.h"
#include "core/report/attached.h"
#include "core/report/loader.h"
#include "core/report/occurrence.h"
#include "core/rules/expression.h"
#include "core/rules/interpreter.h"
#include "core/server/serverreport.h"
#include "core/store/variables.h"

#include <benchmark/benchmark.h>

#include <memory>
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
BENCHMARK(BM_ConditionChain)
    ->Arg(60 << 10)
    ->Arg(240 << 10)
    ->Arg(1 << 20)
    ->Unit(benchmark::kMillisecond);

void BM_ConditionChainLiteral(benchmark::State& state)
{
    const std::string c = chain(static_cast<size_t>(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(bench::literalReduction(c).value);
}
BENCHMARK(BM_ConditionChainLiteral)
    ->Arg(60 << 10)
    ->Arg(240 << 10)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

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
BENCHMARK(BM_ConditionNestedLiteral)
    ->Arg(10000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

// The whole load, rules off, of a report of range(0) multi-value lines that
// all extend one ALL_VALUES entry.
void BM_LoadSharedMultiValue(benchmark::State& state)
{
    const std::string text = bench::generateHostileReport(bench::HostileShape::MultiValue,
                                                          static_cast<size_t>(state.range(0)));
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
            vars.setText(id, std::string(vars.text(id)) + ";V" + std::to_string(i) + "="
                                 + std::to_string(i % 97));
        benchmark::DoNotOptimize(vars.size());
    }
}
BENCHMARK(BM_SharedMultiValueLiteral)
    ->Arg(20000)
    ->Arg(80000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

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
        benchmark::DoNotOptimize(
            firstOccurrencesOfMarkedLines(b.lines, b.queries, b.markers).data());
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
BENCHMARK(BM_FirstOccurrenceBracketsLiteral)
    ->Arg(4000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

// One line of range(0) tags of the attached file "F" (29 kB at 2k tags,
// 245 kB at 16k). Before: 59 MB / 229 MB / 912 MB / 3.75 GB at 2k to 16k.
void BM_AttachedManyTags(benchmark::State& state)
{
    const std::string text = bench::generateHostileReport(bench::HostileShape::Attached,
                                                          static_cast<size_t>(state.range(0)));
    const std::vector<std::string_view> lines = splitLineViews(text);
    for (auto _ : state) {
        std::vector<std::string> out;
        extractAttached(lines, "F", out);
        benchmark::DoNotOptimize(out.data());
    }
}
BENCHMARK(BM_AttachedManyTags)->Arg(2000)->Arg(16000)->Unit(benchmark::kMillisecond);

// Baseline: every line searched for every tag, and the line copied for each
// tag it holds.
void BM_AttachedManyTagsLiteral(benchmark::State& state)
{
    const size_t count = static_cast<size_t>(state.range(0));
    const std::string text = bench::generateHostileReport(bench::HostileShape::Attached, count);
    const std::vector<std::string_view> lines = splitLineViews(text);
    const size_t digits = std::to_string(count - 1).size();
    for (auto _ : state) {
        std::vector<std::string> out;
        for (size_t k = 0; k < count; ++k) {
            const std::string tag = "F_" + std::to_string(k) + "=GETFILE;";
            for (const std::string_view l : lines)
                if (l.find(tag) != std::string_view::npos)
                    out.emplace_back(l.substr(std::min(l.size(), tag.size() + digits + 1)));
        }
        benchmark::DoNotOptimize(out.data());
    }
}
BENCHMARK(BM_AttachedManyTagsLiteral)->Arg(2000)->Unit(benchmark::kMillisecond)->Iterations(1);

struct OneReport {
    explicit OneReport(const std::string& text) : store("", text) { store.ReadSections(sections); }
    std::vector<CompareColumn> columns() const { return {{"R", {{&store, &sections}}}}; }
    TBigIniFile store;
    StringList sections;
};

// One report of range(0) one-key sections. Before: 0.48 / 2.0 / 7.0 / 166 s
// at 10k / 20k / 40k / 160k.
void BM_CompareOneKeySections(benchmark::State& state)
{
    const OneReport r(bench::generateHostileReport(bench::HostileShape::Sections,
                                                   static_cast<size_t>(state.range(0))));
    for (auto _ : state)
        benchmark::DoNotOptimize(compareReports(r.columns()).rowCount());
}
BENCHMARK(BM_CompareOneKeySections)->Arg(10000)->Arg(160000)->Unit(benchmark::kMillisecond);

// Baseline: the report's values read section by section into one list that
// reserves exactly its new size each time.
void BM_CompareOneKeySectionsLiteral(benchmark::State& state)
{
    const OneReport r(bench::generateHostileReport(bench::HostileShape::Sections,
                                                   static_cast<size_t>(state.range(0))));
    for (auto _ : state) {
        StringList values, one;
        for (const std::string& s : r.sections) {
            one.clear();
            r.store.ReadSectionValues(s, one);
            values.reserve(values.size() + one.size());
            values.insert(values.end(), one.begin(), one.end());
        }
        benchmark::DoNotOptimize(values.data());
    }
}
BENCHMARK(BM_CompareOneKeySectionsLiteral)
    ->Arg(10000)
    ->Arg(40000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

// 50 reports of 100,000 keys each. Before: 61 s and 1.2 GB for the
// qmxread-cli compare process.
void BM_CompareFiftyReports(benchmark::State& state)
{
    bench::CompareSetShape shape;
    shape.reports = 50;
    shape.keys = 100000;
    std::vector<std::unique_ptr<OneReport>> reports;
    std::vector<CompareColumn> columns;
    for (const std::string& text : bench::generateCompareSet(shape)) {
        reports.push_back(std::make_unique<OneReport>(text));
        columns.push_back(reports.back()->columns()[0]);
    }
    for (auto _ : state)
        benchmark::DoNotOptimize(compareReports(columns).rowCount());
}
BENCHMARK(BM_CompareFiftyReports)->Unit(benchmark::kMillisecond)->Iterations(1);

// An IF condition of range(0) references. Before: 12.9 / 55 / 266 s at
// 32k / 64k / 128k.
std::string references(size_t count)
{
    std::string c;
    for (size_t i = 0; i < count; ++i)
        c += i % 3 ? "(%A%=1)&" : "(%NONE%=)&";
    return c + "(1=1)";
}

void BM_ConditionReferences(benchmark::State& state)
{
    const std::string rule =
        "IF " + references(static_cast<size_t>(state.range(0))) + " THEN PRINT \"x\";";
    for (auto _ : state) {
        VariableList vars;
        vars.append("%A%=1");
        std::vector<std::string> out;
        runRules(vars, out, false, rule);
        benchmark::DoNotOptimize(out.data());
    }
}
BENCHMARK(BM_ConditionReferences)->Arg(32 << 10)->Arg(128 << 10)->Unit(benchmark::kMillisecond);

// Baseline: the condition rebuilt once per reference.
void BM_ConditionReferencesLiteral(benchmark::State& state)
{
    const std::string c = references(static_cast<size_t>(state.range(0)));
    VariableList vars;
    vars.append("%A%=1");
    for (auto _ : state) {
        std::vector<std::string> trace;
        benchmark::DoNotOptimize(bench::literalReplaceReferences(vars, c, trace).size());
    }
}
BENCHMARK(BM_ConditionReferencesLiteral)
    ->Arg(8 << 10)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

// Server reports: range(0) is the shape, range(1) the count of lines of
// range(2) bytes. Before: 101 s and 7.9 GB for 90 alternating lines of
// 1 MB; the nine overlapping headings lost the module list.
void BM_ServerHostile(benchmark::State& state)
{
    const auto shape = static_cast<bench::HostileServerShape>(state.range(0));
    const std::string text = bench::generateHostileServerReport(
        shape, static_cast<size_t>(state.range(1)), static_cast<size_t>(state.range(2)));
    for (auto _ : state)
        benchmark::DoNotOptimize(parseServerReport(text, -1).interrupts.size());
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_ServerHostile)
    ->Args({static_cast<int>(bench::HostileServerShape::AlternatingDisks), 90, 1 << 20})
    ->Args({static_cast<int>(bench::HostileServerShape::OverlappingFiles), 200000, 40})
    ->Args({static_cast<int>(bench::HostileServerShape::DiskNeighbours), 40, 1 << 20})
    ->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
