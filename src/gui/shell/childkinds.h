// The kinds of child window the main window creates, one row each: the
// routine that makes a window of the kind, the open dialog's settings for
// the command that opens a file into one, the recent list its files join and
// the frame size the kind wants. This table's source is the one place that
// knows every feature; it also makes the dialogs shared by all windows.
//
// Adding a kind:
//  1. Derive the window from ChildWindow, taking the Workspace. Override
//     commandStates() with the Save, Save As, Run and Compare states it sets
//     on activation (or leave the default, which keeps the states as they
//     are), isWorkstationReport() if its caption belongs in the compare list,
//     loadFile() if it opens files, and save(), saveAs() and queryClose() if
//     it holds work of its own.
//  2. Name the kind in ChildKind and fill its row in childkinds.cpp: a
//     creation routine returning `new Window(context.workspace)`, the open
//     dialog's default extension and filter index (0 when no Open command
//     uses the dialog), the recent list, and the outer size when the kind has
//     a fixed one.
//  3. In TMainForm, give the kind an Open command calling
//     openChild(ChildKind::Xxx).
#pragma once

#include "core/recent/recentfiles.h"

#include <QList>
#include <QSize>

#include <optional>

class QDialog;
class QString;
class QWidget;

namespace qmx {

class ChildWindow;
class FindingsWindow;
class TAboutBox;
class TCFGGen;
class TFFile;
class TFOpen;
class TForm1;
class TForm2;
class Tfaddreg;
class Tfrules;
class TfrmCompare;
class TfrmCompareResults;
class Tsrvrcfg;
class Workspace;

enum class ChildKind { Report, ScannerInput, ServerReport, CompareResult, Findings };

// The dialogs that live from start-up to program end, made hidden. The
// frame shows and hides them as plain widgets; windows that need one are
// handed it when they are made.
struct SharedDialogs {
    TAboutBox* about = nullptr;
    Tfaddreg* faddreg = nullptr;
    TFFile* ffile = nullptr;
    Tfrules* rules = nullptr;
    TFOpen* fopen = nullptr;
    TfrmCompare* compare = nullptr;
    TForm2* progress = nullptr;

    QDialog* aboutDialog = nullptr;
    QWidget* rulesDialog = nullptr;
    QWidget* compareDialog = nullptr;
    // Every dialog that stays open beside the frame, for hiding them all.
    QList<QWidget*> modeless;
};

// What a creation routine gets: the workspace and the shared dialogs.
struct ChildContext {
    Workspace& workspace;
    const SharedDialogs& dialogs;
};

struct ChildKindInfo {
    ChildKind kind;
    // Makes an empty window of the kind; null while the kind is not built.
    ChildWindow* (*create)(const ChildContext& context);
    // The open dialog's default extension and filter index (from 1) for the
    // command that opens a file of this kind; index 0: no such command.
    const char* defaultExt;
    int filterIndex;
    // The recent list the kind's files join; none for windows of no file.
    std::optional<RecentKind> recent;
    // The frame's outer size; an invalid size keeps the window's own.
    QSize outerSize;
};

const ChildKindInfo& childKind(ChildKind kind);

// Makes the shared dialogs over frame, in their start-up order, and hands
// the progress window to the workspace.
SharedDialogs makeSharedDialogs(Workspace& workspace, QWidget* frame, const QString& settingsPath);

// The typed windows the frame's File routines return.
TForm1* asReport(ChildWindow* child);
TCFGGen* asScannerInput(ChildWindow* child);
Tsrvrcfg* asServerReport(ChildWindow* child);
TfrmCompareResults* asCompareResult(ChildWindow* child);
FindingsWindow* asFindings(ChildWindow* child);

} // namespace qmx
