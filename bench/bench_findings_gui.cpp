// The Findings window over 50 open report windows of 5,000 lines each with
// the sample settings' DEFAULT rule set: from the command to the window
// shown and painted, against the core alone reading the same reports in the
// same run. The window should take under 2 s. Runs offscreen unless
// QT_QPA_PLATFORM is set (use xcb under Xvfb to include real painting).
#include "guibench.h"
#include "reportgen.h"

#include "core/fleet/findings.h"
#include "gui/fleet/findingswin.h"
#include "gui/shell/mainform.h"
#include "gui/shell/workspace.h"
#include "gui/support/filenames.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

constexpr int kReports = 50;
std::unique_ptr<qmx::TMainForm> g_main;
QStringList g_paths;

void BM_FindingsWindow(benchmark::State& state)
{
    qmx::bench::timeChildWindow(state, [] { return g_main->NewFindingsChild(); });
}

void BM_CoreAloneOverTheReports(benchmark::State& state)
{
    const std::string rules = g_main->workspace().ruleText();
    for (auto _ : state)
        for (const QString& path : g_paths)
            benchmark::DoNotOptimize(qmx::findReportFindings(qmx::localPath(path), rules));
}

BENCHMARK(BM_CoreAloneOverTheReports)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_FindingsWindow)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

int main(int argc, char** argv)
{
    qmx::bench::chooseBenchPlatform();
    QApplication app(argc, argv);
    QTemporaryDir dir;
    QFile::copy(QStringLiteral(QMX_SAMPLES "/QMXRead.ini"),
                dir.filePath(QStringLiteral("QMXRead.ini")));
    g_main = qmx::bench::benchMainForm(dir);
    for (int i = 0; i < kReports; ++i) {
        qmx::bench::ReportShape shape;
        shape.lines = 5000;
        shape.seed = unsigned(i + 1);
        const std::string text = qmx::bench::generateReport(shape);
        const QString path = dir.filePath(QStringLiteral("ws-%1.txt").arg(i));
        QFile f(path);
        f.open(QIODevice::WriteOnly);
        f.write(text.data(), qint64(text.size()));
        f.close();
        g_main->NewReportChild(path);
        g_paths << path;
    }
    return qmx::bench::runWindowBenchmarks(argc, argv, g_main);
}
