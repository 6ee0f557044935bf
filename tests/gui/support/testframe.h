// Start-up shared by the window tests: a main window with a scripted prompts
// fake and its shared dialogs reading settingsPath, shown; or, for a dialog
// tested on its own, a workspace that has read settingsPath.
#pragma once

#include "fakeprompts.h"
#include "gui/shell/mainform.h"
#include "gui/shell/workspace.h"

#include <QString>
#include <QStringList>

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

} // namespace qmx
