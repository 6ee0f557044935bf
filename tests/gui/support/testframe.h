// Start-up shared by the window tests: a main window with a scripted prompts
// fake and its shared dialogs reading settingsPath, shown.
#pragma once

#include "fakeprompts.h"
#include "shell/mainform.h"

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

} // namespace qmx
