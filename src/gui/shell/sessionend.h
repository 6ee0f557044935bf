// Ends the program in order when the system asks it to: SIGTERM (a kill, a
// shutdown) and SIGHUP (the terminal or the login session went away). A
// signal handler may do next to nothing, so it only writes a byte to a socket
// pair; the event loop reads it and emits ended(), where the program runs its
// usual exit without asking anything.
#pragma once

#include <QObject>

class QSocketNotifier;

namespace qmx {

class SessionEnd : public QObject {
    Q_OBJECT
public:
    // Installs the handlers, which stay until the object goes; one object a
    // process. Needs the application object.
    explicit SessionEnd(QObject* parent = nullptr);
    ~SessionEnd() override;

Q_SIGNALS:
    // Once per signal; the number is SIGTERM or SIGHUP.
    void ended(int signal);

private:
    void readSignal();

    QSocketNotifier* notifier_ = nullptr;
};

} // namespace qmx
