// The common face of the main window's children. A child declares which of
// the frame's document commands (Save, Save As, Run, Compare) it enables and
// whether it shows a workstation report; the frame applies the declaration
// whenever the child becomes the active one, so no child touches the menu.
#pragma once

#include <QWidget>

#include <optional>

namespace qmx {

class TMainForm;

// The enabled state of the frame's document commands while a child is
// active.
struct CommandStates {
    bool save = false;
    bool saveAs = false;
    bool run = false;
    bool compare = false;

    bool operator==(const CommandStates&) const = default;
};

class ChildWindow : public QWidget {
    Q_OBJECT
public:
    ChildWindow(TMainForm* main, QWidget* parent = nullptr) : QWidget(parent), main_(main) {}

    // The command states this child sets on activation; none leaves the
    // commands as the previous child set them.
    virtual std::optional<CommandStates> commandStates() const { return std::nullopt; }
    // A workstation report window: its caption is listed for comparison.
    virtual bool isWorkstationReport() const { return false; }
    // Reads the file at path into the window; a kind that opens no files
    // keeps the default. The frame shows an error thrown here through its
    // prompts and keeps the window.
    virtual void loadFile(const QString& path) { Q_UNUSED(path); }
    // The window became the active child, after its command states were set.
    virtual void FormActivate() {}

    QString caption() const { return windowTitle(); }
    TMainForm* mainForm() const { return main_; }

protected:
    TMainForm* main_;
};

} // namespace qmx
