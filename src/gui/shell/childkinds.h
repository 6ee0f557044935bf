// The kinds of child window the main window creates, one row each: the
// routine that makes a window of the kind, the open dialog's settings for
// the command that opens a file into one, and the frame size the kind wants.
//
// Adding a kind:
//  1. Derive the window from ChildWindow. Override commandStates() with the
//     Save, Save As, Run and Compare states it sets on activation (or leave
//     the default, which keeps the states as they are), isWorkstationReport()
//     if its caption belongs in the compare list, and loadFile() if it opens
//     files.
//  2. Name the kind in ChildKind and fill its row in childkinds.cpp: a
//     creation routine returning `new Window(&main)`, the open dialog's
//     default extension and filter index (0 when no Open command uses the
//     dialog), and the outer size when the kind has a fixed one.
//  3. In TMainForm, give the kind its routine `NewXxxChild(path)` calling
//     newChild(ChildKind::Xxx, path), and an Open command calling
//     openChild(ChildKind::Xxx).
#pragma once

#include <QSize>

namespace qmx {

class ChildWindow;
class TMainForm;

enum class ChildKind { Report, ScannerInput, ServerReport, CompareResult };

struct ChildKindInfo {
    ChildKind kind;
    // Makes an empty window of the kind; null while the kind is not built.
    ChildWindow* (*create)(TMainForm& main);
    // The open dialog's default extension and filter index (from 1) for the
    // command that opens a file of this kind; index 0: no such command.
    const char* defaultExt;
    int filterIndex;
    // The frame's outer size; an invalid size keeps the window's own.
    QSize outerSize;
};

const ChildKindInfo& childKind(ChildKind kind);

} // namespace qmx
