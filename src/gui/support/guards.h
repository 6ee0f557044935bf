// Small scope helpers shared by the windows: the busy cursor, and the one
// place where an error escaping a command is turned into a message.
#pragma once

#include <QApplication>
#include <QString>

#include <exception>

namespace qmx {

// Shows the busy cursor for its lifetime, so an exception restores the
// normal cursor too.
class BusyCursor {
public:
    BusyCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyCursor() { QApplication::restoreOverrideCursor(); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
};

QString errorText(const std::exception& e);

// Runs a command; an error it does not handle itself is shown and the
// program goes on from the state reached. Returns false after an error.
// The prompts are any object with error(QString), normally the Prompts.
template <class P, class F> bool guarded(P& prompts, F&& command)
{
    try {
        command();
        return true;
    } catch (const std::exception& e) {
        prompts.error(errorText(e));
    } catch (...) {
        prompts.error(QStringLiteral("Unexpected error."));
    }
    return false;
}

} // namespace qmx
