// The comparison result window over 10 open report windows of 10,000 keys
// each: from "&Ok" to the window shown and painted, against the literal
// algorithm over the same windows' stores in the same run. The window
// should show them in under 1 s. Runs offscreen unless QT_QPA_PLATFORM is
// set (use xcb under Xvfb to include real painting).
#include "comparegen.h"
#include "compareliteral.h"
#include "guibench.h"

#include "gui/compare/cmpreslt.h"
#include "gui/compare/compare.h"
#include "gui/report/childwin.h"
#include "gui/shell/mainform.h"

#include <QApplication>
#include <QFile>
#include <QMdiArea>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

std::unique_ptr<qmx::TMainForm> g_main;

void BM_ResultWindow(benchmark::State& state)
{
    qmx::bench::timeChildWindow(state, [] { return g_main->NewCompareChild(); });
}

void BM_LiteralOverTheWindows(benchmark::State& state)
{
    std::vector<qmx::CompareColumn> columns;
    for (qmx::ChildWindow* child : g_main->childWindows())
        if (auto* form = qobject_cast<qmx::TForm1*>(child))
            columns.push_back({form->caption().toStdString(), {form->comparisonSource()}});
    for (auto _ : state) {
        const auto grid = qmx::bench::literalCompare(columns);
        benchmark::DoNotOptimize(grid.cells.data());
    }
}

BENCHMARK(BM_ResultWindow)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_LiteralOverTheWindows)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace

int main(int argc, char** argv)
{
    qmx::bench::chooseBenchPlatform();
    QApplication app(argc, argv);
    QTemporaryDir dir;
    g_main = qmx::bench::benchMainForm(dir);
    const auto texts = qmx::bench::generateCompareSet({});
    for (size_t i = 0; i < texts.size(); ++i) {
        const QString path = dir.filePath(QStringLiteral("ws-%1.txt").arg(i));
        QFile f(path);
        f.open(QIODevice::WriteOnly);
        f.write(texts[i].data(), static_cast<qint64>(texts[i].size()));
        f.close();
        g_main->NewReportChild(path);
        g_main->compareList().append(path);
        g_main->compareList().setTicked(static_cast<qsizetype>(i), true);
    }
    return qmx::bench::runWindowBenchmarks(argc, argv, g_main);
}
