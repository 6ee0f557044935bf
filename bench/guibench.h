// The start-up shared by the window benchmarks: an application on the
// offscreen platform (unless one is chosen), a scratch directory, and a
// maximised main window with its shared dialogs and no settings file; then
// the benchmarks run and the main window goes before the application. Also
// the timed opening of a window, with the longest stretch without window
// events the window recorded, and the report with one long line that the
// long-line benchmarks open.
#pragma once

#include "gui/shell/mainform.h"

#include <QApplication>
#include <QFile>
#include <QMdiArea>
#include <QString>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>

namespace qmx::bench {

// Call before the QApplication is created.
inline void chooseBenchPlatform()
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
}

inline std::unique_ptr<TMainForm> benchMainForm(const QTemporaryDir& dir)
{
    auto main = std::make_unique<TMainForm>(QStringList{});
    main->createSharedDialogs(dir.filePath(QStringLiteral("QMXRead.ini")));
    main->showMaximized();
    return main;
}

// Runs the registered benchmarks once pending window events are done, then
// closes the main window.
inline int runWindowBenchmarks(int argc, char** argv, std::unique_ptr<TMainForm>& main)
{
    QApplication::processEvents();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    main.reset();
    return 0;
}

// The whole start-up for a benchmark that needs nothing before its main
// window: the application, the scratch directory and the main window.
inline int runGuiBenchmarks(int argc, char** argv, std::unique_ptr<TMainForm>& main,
                            QTemporaryDir*& scratch)
{
    chooseBenchPlatform();
    QApplication app(argc, argv);
    QTemporaryDir dir;
    scratch = &dir;
    main = benchMainForm(dir);
    return runWindowBenchmarks(argc, argv, main);
}

// Closes every child window and lets the deletions happen.
inline void closeAllChildren(TMainForm& main)
{
    main.mdiArea()->closeAllSubWindows();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QApplication::processEvents();
}

// Times open(), which creates a child window, and its first paint; the
// window is closed untimed.
template <class Open> void timeChildWindow(benchmark::State& state, Open&& open)
{
    for (auto _ : state) {
        QWidget* w = open();
        w->repaint();
        QApplication::processEvents();
        state.PauseTiming();
        benchmark::DoNotOptimize(w);
        w->parentWidget()->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QApplication::processEvents();
        state.ResumeTiming();
    }
}

// A report of three lines whose middle one, a TOTALMEMORY value, is `bytes`
// long; written into dir once and reused.
inline QString longLineReport(const QTemporaryDir& dir, size_t bytes)
{
    const QString path = dir.filePath(QStringLiteral("long-%1.txt").arg(bytes));
    if (!QFile::exists(path)) {
        QFile f(path);
        f.open(QIODevice::WriteOnly);
        const std::string text =
            "[General]\r\nMemory=TOTALMEMORY;" + std::string(bytes, '7') + "\r\nCPU=CPU;486\r\n";
        f.write(text.data(), static_cast<qint64>(text.size()));
    }
    return path;
}

// Times open(), which creates a window and loads it; done(form) says whether
// the load ended as it should. The longest event gap is reported as a
// counter, with a warning when it is over the 50 ms a window may keep
// events waiting.
template <class Open, class Done>
void timeWindowOpening(benchmark::State& state, TMainForm& main, Open&& open, Done&& done)
{
    qint64 maxGap = 0;
    for (auto _ : state) {
        auto* form = open();
        state.PauseTiming();
        if (!done(*form))
            state.SkipWithError("the load did not end as it should");
        maxGap = std::max(maxGap, form->lastLoadMaxGapNs());
        closeAllChildren(main);
        state.ResumeTiming();
    }
    state.counters["max_event_gap_ms"] = static_cast<double>(maxGap) / 1e6;
    if (maxGap > 50'000'000)
        std::fprintf(stderr, "warning: %lld lines: events waited %.1f ms at most (over 50 ms)\n",
                     static_cast<long long>(state.range(0)), static_cast<double>(maxGap) / 1e6);
}

} // namespace qmx::bench
