// The common face of the main window's children. A child declares which of
// the frame's document commands (Save, Save As, Run, Compare) it enables and
// whether it shows a workstation report; the frame applies the declaration
// whenever the child becomes the active one, so no child touches the menu.
// Save, Save As and the question before closing are the child's own: the
// frame asks every child the same way and never for its type.
#pragma once

#include "core/compare/comparison.h"

#include <QWidget>

#include <optional>

namespace qmx {

class VariableList;
class Workspace;

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
    explicit ChildWindow(Workspace& workspace, QWidget* parent = nullptr)
        : QWidget(parent), workspace_(workspace)
    {}

    // The command states this child sets on activation; none leaves the
    // commands as the previous child set them.
    virtual std::optional<CommandStates> commandStates() const { return std::nullopt; }
    // A workstation report window: its caption is listed for comparison.
    virtual bool isWorkstationReport() const { return false; }
    // Reads the file at path into the window; a kind that opens no files
    // keeps the default. The frame shows an error thrown here through its
    // prompts and keeps the window. False when the file could not be read
    // (and the window has said so): it is then not noted as a recent file.
    virtual bool loadFile(const QString& path)
    {
        Q_UNUSED(path);
        return true;
    }
    // The window was opened for a file that is not there; it stays empty.
    virtual void fileNotFound(const QString& path) { Q_UNUSED(path); }
    // The window became the active child, after its command states were set.
    virtual void FormActivate() {}

    // File > Save and Save As; false when nothing was saved.
    virtual bool save() { return false; }
    virtual bool saveAs() { return false; }
    // The program is closing: input the window still waits for is given
    // up, before any child is asked queryClose.
    virtual void abandonInput() {}
    // May the window go? A window with unsaved work asks the user; false
    // keeps it (and the program) open.
    virtual bool queryClose() { return true; }

    // A workstation report as the comparison reads it; nothing loaded gives
    // no store.
    virtual CompareReport comparisonSource() const { return {}; }
    // A comparison has walked the report's sections.
    virtual void comparisonDone() {}
    // Turns to the page showing the rules' findings; kinds without one keep
    // their page.
    virtual void showSuggestionsPage() {}
    // A workstation report's variables as the rules left them, which the rule
    // editor checks references against; other windows have none.
    virtual const VariableList* reportVariables() const { return nullptr; }

    QString caption() const { return windowTitle(); }
    Workspace& workspace() const { return workspace_; }

protected:
    Workspace& workspace_;
};

} // namespace qmx
