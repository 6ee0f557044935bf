// Opening a large report in a report window (offscreen), from the command to
// the General page in front with the progress window hidden, against the
// core loader alone on the same file. Both runs record the longest stretch
// without window events: the window must let events run at least every
// 50 ms, and should open in under three times the core load.
#include "guibench.h"
#include "reportgen.h"

#include "core/report/loader.h"
#include "gui/report/childwin.h"
#include "gui/report/prgres.h"
#include "gui/rules/settingsmodel.h"
#include "gui/shell/mainform.h"
#include "gui/shell/workspace.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <memory>

namespace {

QTemporaryDir* g_dir = nullptr;
std::unique_ptr<qmx::TMainForm> g_main;

std::string reportFor(size_t lines)
{
    static std::map<size_t, std::string> paths;
    auto it = paths.find(lines);
    if (it != paths.end())
        return it->second;
    qmx::bench::ReportShape shape;
    shape.lines = lines;
    const std::string path =
        g_dir->filePath(QStringLiteral("report-%1.txt").arg(lines)).toStdString();
    QFile f(QString::fromStdString(path));
    f.open(QIODevice::WriteOnly);
    const std::string text = qmx::bench::generateReport(shape);
    f.write(text.data(), static_cast<qint64>(text.size()));
    return paths[lines] = path;
}

void BM_CoreLoad(benchmark::State& state)
{
    const std::string path = reportFor(static_cast<size_t>(state.range(0)));
    // Where the longest stretches without a pump call lie: before the first
    // call, between two calls, or after the last one.
    qint64 before = 0, between = 0, after = 0;
    for (auto _ : state) {
        qmx::ReportDocument doc;
        qmx::CountingProgress progress;
        QElapsedTimer gap;
        gap.start();
        bool first = true;
        qmx::LoadOptions options;
        options.progress = &progress;
        options.pump = [&] {
            qint64& slot = first ? before : between;
            slot = std::max(slot, gap.nsecsElapsed());
            first = false;
            gap.restart();
        };
        qmx::loadall(doc, path, options);
        after = std::max(after, gap.nsecsElapsed());
        benchmark::DoNotOptimize(doc.lines.data());
    }
    state.counters["gap_before_first_pump_ms"] = static_cast<double>(before) / 1e6;
    state.counters["max_gap_between_pumps_ms"] = static_cast<double>(between) / 1e6;
    state.counters["gap_after_last_pump_ms"] = static_cast<double>(after) / 1e6;
}

void BM_OpenWindow(benchmark::State& state)
{
    const QString path = QString::fromStdString(reportFor(static_cast<size_t>(state.range(0))));
    qmx::bench::timeWindowOpening(
        state, *g_main, [&] { return g_main->NewReportChild(path); },
        [](const qmx::TForm1& form) {
            const auto* pages = form.findChild<QTabWidget*>(QStringLiteral("PageControl1"));
            return pages->currentWidget() == form.findChild<QWidget*>(QStringLiteral("TabSheet1"))
                   && !g_main->progressWindow()->isVisible();
        });
}

void BM_OpenLongLine(benchmark::State& state)
{
    const QString path = qmx::bench::longLineReport(*g_dir, static_cast<size_t>(state.range(0)));
    for (auto _ : state) {
        g_main->NewReportChild(path);
        state.PauseTiming();
        g_main->mdiArea()->closeAllSubWindows();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QApplication::processEvents();
        state.ResumeTiming();
    }
}

// Baseline: the same line shown whole in a Qt text view set up as the
// Config Text view was (no wrapping, scroll bars always on), filled through a
// cursor and painted, as that view did before it cut long lines.
void BM_LayoutWholeLine(benchmark::State& state)
{
    const QString line = QStringLiteral("Memory=TOTALMEMORY;")
                         + QString(static_cast<int>(state.range(0)), QLatin1Char('7'));
    for (auto _ : state) {
        QPlainTextEdit edit;
        edit.setLineWrapMode(QPlainTextEdit::NoWrap);
        edit.setReadOnly(true);
        edit.setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        edit.setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        edit.resize(800, 600);
        edit.show();
        QTextCursor cursor(edit.document());
        cursor.insertText(QStringLiteral("[General]\n") + line + QStringLiteral("\nCPU=CPU;486"));
        edit.setTextCursor(QTextCursor(edit.document()));
        QApplication::processEvents();
        benchmark::DoNotOptimize(edit.grab().width());
    }
}

// A rule set of PRINT statements, shown with a small report: each statement
// gives two Suggestions lines, its text and an empty line.
void BM_OpenWithSuggestions(benchmark::State& state)
{
    const QString path = QString::fromStdString(reportFor(2000));
    std::vector<std::string> rules;
    for (int64_t i = 0; i < state.range(0); ++i) {
        rules.push_back("PRINT \"CHECK " + std::to_string(i) + ": \"+%OS%;");
    }
    g_main->workspace().settings()->setEditorLines(std::move(rules));
    qmx::bench::timeWindowOpening(
        state, *g_main, [&] { return g_main->NewReportChild(path); },
        [&](const qmx::TForm1& form) {
            return form.document().suggestions.size() == static_cast<size_t>(2 * state.range(0));
        });
    g_main->workspace().settings()->setEditorLines({});
}

BENCHMARK(BM_OpenLongLine)
    ->Arg(1 << 20)
    ->Arg(10 << 20)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);
BENCHMARK(BM_LayoutWholeLine)
    ->Arg(50000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);
BENCHMARK(BM_CoreLoad)->Arg(20000)->Arg(100000)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_OpenWithSuggestions)->Arg(0)->Arg(40000)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_OpenWindow)->Arg(20000)->Arg(100000)->Unit(benchmark::kMillisecond)->MinTime(2.0);

} // namespace

// No settings file: the rule text is empty, as for the core baseline.
int main(int argc, char** argv)
{
    return qmx::bench::runGuiBenchmarks(argc, argv, g_main, g_dir);
}
