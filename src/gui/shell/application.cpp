#include "gui/shell/application.h"

#include "gui/shell/mainform.h"
#include "gui/shell/programicon.h"
#include "gui/support/guards.h"

#include <QIcon>

#include <cstdio>

namespace qmx {

Application::Application(int& argc, char** argv) : QApplication(argc, argv)
{
    setApplicationName(QStringLiteral("QMXRead"));
    // Every window without an icon of its own shows the program's.
    setWindowIcon(programIcon());
    // Outside a full desktop the platform names no icon theme, and the tool
    // bar's edit commands would show as bare words; the desktop's common
    // theme supplies them then.
    if (QIcon::fallbackThemeName().isEmpty() || QIcon::fallbackThemeName() == u"hicolor")
        QIcon::setFallbackThemeName(QStringLiteral("Adwaita"));
}

bool Application::notify(QObject* receiver, QEvent* event)
{
    QString message;
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& e) {
        message = errorText(e);
    } catch (...) {
        message = QStringLiteral("Unexpected error.");
    }
    if (main_)
        main_->prompts().error(message);
    else
        std::fprintf(stderr, "%s\n", qPrintable(message));
    return false;
}

} // namespace qmx
