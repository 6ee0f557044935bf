// The application object of the desktop program. Besides the title it holds
// the last line of defence for errors: one that escapes a command or an event
// handler is shown through the main window's prompts, and the program goes
// on from the state reached instead of ending.
#pragma once

#include <QApplication>
#include <QPointer>

namespace qmx {

class TMainForm;

class Application : public QApplication {
    Q_OBJECT
public:
    Application(int& argc, char** argv);
    void setMainForm(TMainForm* main) { main_ = main; }
    bool notify(QObject* receiver, QEvent* event) override;

private:
    QPointer<TMainForm> main_;
};

} // namespace qmx
