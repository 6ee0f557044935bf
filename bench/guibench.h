// Start-up shared by the window benchmarks: offscreen unless QT_QPA_PLATFORM
// names a platform (xcb under Xvfb includes real painting), a scratch
// directory, and a maximised main window with its shared dialogs but no
// settings file, so no rules run; then the benchmarks run and the main
// window goes before the application.
#pragma once

#include "shell/mainform.h"

#include <QApplication>
#include <QString>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <memory>

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

} // namespace qmx::bench
