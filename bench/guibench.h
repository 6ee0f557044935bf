// Steps shared by the window-opening benchmarks: the program around them, the
// timed opening of a window with the longest stretch without window events,
// and clearing the frame between iterations.
#pragma once

#include "shell/mainform.h"

#include <QApplication>
#include <QMdiArea>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>

namespace qmx::bench {

// Closes every child window and lets the deletions happen.
inline void closeAllChildren(TMainForm& main)
{
    main.mdiArea()->closeAllSubWindows();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QApplication::processEvents();
}

// Records the gap as a counter and warns when it is over the 50 ms a window
// may keep events waiting.
inline void reportEventGap(benchmark::State& state, qint64 maxGapNs)
{
    state.counters["max_event_gap_ms"] = static_cast<double>(maxGapNs) / 1e6;
    if (maxGapNs > 50'000'000)
        std::fprintf(stderr, "warning: %lld lines: events waited %.1f ms at most (over 50 ms)\n",
                     static_cast<long long>(state.range(0)), static_cast<double>(maxGapNs) / 1e6);
}

// Times open() (which creates a window and loads it). done(form) says
// whether the load ended as it should; the window's own record of its
// longest event gap is reported.
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
    reportEventGap(state, maxGap);
}

// The program around the benchmarks: an application (offscreen unless a
// platform is chosen), a scratch directory, and the main window that
// setup(dir) creates and teardown() destroys before the application goes.
template <class Setup, class Teardown> int runGuiBenchmarks(int argc, char** argv, Setup&& setup, Teardown&& teardown)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir dir;
    setup(dir);
    QApplication::processEvents();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    teardown();
    return 0;
}

} // namespace qmx::bench
