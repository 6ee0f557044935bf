// Start-up shared by the window tests: a main window with a scripted prompts
// fake and its shared dialogs reading settingsPath, shown; or, for a dialog
// tested on its own, a workspace that has read settingsPath.
#pragma once

#include "fakeprompts.h"
#include "gui/shell/mainform.h"
#include "gui/shell/workspace.h"

#include <QFile>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <memory>

namespace qmx {

inline std::unique_ptr<TMainForm> startMainForm(FakePrompts*& prompts, const QString& settingsPath,
                                                const QStringList& args = {})
{
    auto p = std::make_unique<FakePrompts>();
    prompts = p.get();
    auto main = std::make_unique<TMainForm>(args, std::move(p));
    main->createSharedDialogs(settingsPath);
    main->show();
    return main;
}

inline std::unique_ptr<Workspace> openWorkspace(const QString& settingsPath, Prompts& prompts)
{
    auto workspace = std::make_unique<Workspace>(prompts);
    workspace->openSettings(settingsPath);
    return workspace;
}

// A writable copy of settings as dir's QMXRead.ini; returns its path.
inline QString copySettings(const QTemporaryDir& dir, const QString& settings)
{
    const QString ini = dir.filePath(QStringLiteral("QMXRead.ini"));
    QFile::copy(settings, ini);
    QFile::setPermissions(ini, QFile::ReadOwner | QFile::WriteOwner);
    return ini;
}

// A shown main window with scripted prompts over a private settings file:
// a copy of settings, or none when settings is empty.
struct TestApp {
    FakePrompts* prompts = nullptr;
    std::unique_ptr<TMainForm> main;
    QTemporaryDir dir;

    explicit TestApp(const QString& settings = {}, const QStringList& args = {})
    {
        main = startMainForm(prompts,
                             settings.isEmpty() ? dir.filePath(QStringLiteral("QMXRead.ini"))
                                                : copySettings(dir, settings),
                             args);
    }
    // Writes text to name in the scratch directory; returns its path.
    QString write(const QString& name, const QByteArray& text)
    {
        const QString path = dir.filePath(name);
        QFile f(path);
        f.open(QIODevice::WriteOnly);
        f.write(text);
        return path;
    }
};

} // namespace qmx
