#include "shell/application.h"

#include "shell/mainform.h"
#include "support/guards.h"

#include <cstdio>

namespace qmx {

Application::Application(int& argc, char** argv) : QApplication(argc, argv)
{
    setApplicationName(QStringLiteral("QMXRead"));
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
