// Opening a large server report in the server window, from creation to the
// last status panel filled, against the core parser alone on the same file.
// The window run records the longest stretch without window events: it must
// let events run at least every 50 ms, and open a 100,000-line report in
// under a second.
#include "guibench.h"
#include "servergen.h"

#include "core/server/serverreport.h"
#include "gui/server/srvcfg.h"
#include "gui/shell/mainform.h"

#include <QApplication>
#include <QFile>
#include <QMdiArea>
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
    const QString lines = QStringLiteral("%1 lines").arg(state.range(0));
    qmx::bench::timeWindowOpening(
        state, *g_main, [&] { return g_main->NewServerChild(path); },
        [&](const qmx::Tsrvrcfg& form) { return form.panelText(1) == lines; });
}

BENCHMARK(BM_ServerCoreLoad)->Arg(20000)->Arg(100000)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_OpenServerWindow)
    ->Arg(20000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond)
    ->MinTime(2.0);

} // namespace

int main(int argc, char** argv)
{
    return qmx::bench::runGuiBenchmarks(argc, argv, g_main, g_dir);
}
