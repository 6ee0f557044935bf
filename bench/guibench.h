// The start-up shared by the window benchmarks: an application on the
// offscreen platform (unless one is chosen), a scratch directory, and a
// maximised main window with its shared dialogs and no settings file; then
// the benchmarks run and the main window goes before the application.
#pragma once

#include "shell/mainform.h"

#include <QApplication>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <memory>

namespace qmx::bench {

inline int runGuiBenchmarks(int argc, char** argv, std::unique_ptr<TMainForm>& main,
                            QTemporaryDir*& scratch)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir dir;
    scratch = &dir;
    main = std::make_unique<TMainForm>(QStringList{});
    main->createSharedDialogs(dir.filePath(QStringLiteral("QMXRead.ini")));
    main->showMaximized();
    QApplication::processEvents();

    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    main.reset();
    return 0;
}

} // namespace qmx::bench
