// The common face of the main window's children: the shell tells the active
// child when it becomes active, and reads its caption.
#pragma once

#include <QWidget>

namespace qmx {

class TMainForm;

class ChildWindow : public QWidget {
    Q_OBJECT
public:
    ChildWindow(TMainForm* main, QWidget* parent = nullptr) : QWidget(parent), main_(main) {}
    // The window became the active child.
    virtual void FormActivate() {}
    QString caption() const { return windowTitle(); }
    TMainForm* mainForm() const { return main_; }

protected:
    TMainForm* main_;
};

} // namespace qmx
