// Opening a large server report in the server window, from creation to the
// last status panel filled, against the core parser alone on the same file.
// The window run records the longest stretch without window events: it must
// let events run at least every 50 ms, and open a 100,000-line report in
// under a second.
#include "servergen.h"

#include "server/serverreport.h"
#include "server/srvcfg.h"
#include "shell/mainform.h"

#include <QApplication>
#include <QFile>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <memory>

namespace {

QTemporaryDir* g_dir = nullptr;
std::unique_ptr<qmx::TMainForm> g_main;

QString serverFor(size_t lines)
{
    static std::map<size_t, QString> paths;
    auto it = paths.find(lines);
    if (it != paths.end())
        return it->second;
    const QString path = g_dir->filePath(QStringLiteral("server-%1.txt").arg(lines));
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        return {};
    const std::string text = qmx::bench::generateServerReport(lines);
    f.write(text.data(), static_cast<qint64>(text.size()));
    return paths[lines] = path;
}

void BM_ServerCoreLoad(benchmark::State& state)
{
    const std::string path = serverFor(static_cast<size_t>(state.range(0))).toStdString();
    for (auto _ : state) {
        const qmx::ServerReport r = qmx::loadServerReport(path, [] {});
        benchmark::DoNotOptimize(r.lines.data());
    }
}

void BM_OpenServerWindow(benchmark::State& state)
{
    const QString path = serverFor(static_cast<size_t>(state.range(0)));
    qint64 maxGap = 0;
    for (auto _ : state) {
        auto* form = new qmx::Tsrvrcfg(g_main.get());
        QMdiSubWindow* sub = g_main->mdiArea()->addSubWindow(form);
        sub->setAttribute(Qt::WA_DeleteOnClose);
        sub->resize(874, 606);
        form->setWindowTitle(path);
        sub->show();
        form->loadall(path);
        QApplication::processEvents();
        state.PauseTiming();
        if (form->panelText(1) != QStringLiteral("%1 lines").arg(state.range(0)))
            state.SkipWithError("the load did not fill the status bar");
        maxGap = std::max(maxGap, form->lastLoadMaxGapNs());
        g_main->mdiArea()->closeAllSubWindows();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QApplication::processEvents();
        state.ResumeTiming();
    }
    state.counters["max_event_gap_ms"] = static_cast<double>(maxGap) / 1e6;
    if (maxGap > 50'000'000)
        std::fprintf(stderr, "warning: %lld lines: events waited %.1f ms at most (over 50 ms)\n",
                     static_cast<long long>(state.range(0)), static_cast<double>(maxGap) / 1e6);
}

BENCHMARK(BM_ServerCoreLoad)->Arg(20000)->Arg(100000)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_OpenServerWindow)->Arg(20000)->Arg(100000)->Unit(benchmark::kMillisecond)->MinTime(2.0);

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir dir;
    g_dir = &dir;
    g_main = std::make_unique<qmx::TMainForm>(QStringList{});
    g_main->showMaximized();
    QApplication::processEvents();

    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    g_main.reset();
    return 0;
}
