// TCFGGen: the scanner input editor, a child window of the main frame. A
// palette of scan commands sits beside a plain text editor; double-clicking
// a command inserts its line at the caret, first asking the registry or file
// entry dialog for the parameters when the command needs them. The editor
// saves through the workspace's save dialog, when asked to or when it is
// closed with changes, and never loses the text on a failed write.
#pragma once

#include "gui/shell/childwindow.h"

#include <QPointer>
#include <QSize>
#include <QString>

#include <optional>

class QEventLoop;
class QListWidget;
class QPlainTextEdit;
class QSplitter;

namespace qmx {

class EntryDialog;

class TCFGGen : public ChildWindow {
    Q_OBJECT
public:
    // registry, file: the shared entry dialogs the commands ask.
    TCFGGen(Workspace& workspace, EntryDialog* registry, EntryDialog* file,
            QWidget* parent = nullptr);
    // The outer size of a new editor window, frame included.
    static constexpr QSize kDesignSize{469, 317};
    ~TCFGGen() override;

    // Replaces the text with the file's; the editor is then unchanged and
    // Save writes back to this file. Throws qmx::Error when it cannot read.
    void loadall(const QString& path);

    // Inserts the selected command's line at the caret.
    void ListBox1DblClick();
    void RichEdit1Change();
    // Save, Save As and Run on, Compare off.
    std::optional<CommandStates> commandStates() const override;
    bool loadFile(const QString& path) override
    {
        loadall(path);
        return true;
    }

    bool changed() const { return changed_; }
    // The file Save writes to: the one loaded or last saved; empty for new.
    QString filePath() const { return filePath_; }
    // True while an insertion waits for an entry dialog.
    bool awaitingEntry() const { return wait_ != nullptr; }

    // "&Save": to the editor's file, or as Save As when it has none.
    bool save() override;
    // "Save &As...": through the workspace's save dialog.
    bool saveAs() override;
    // The save question: false when the window must stay open because the
    // user wanted to save and the save failed or was cancelled.
    bool queryClose() override;
    // Ends a wait for an entry dialog without inserting (the program is
    // closing); the dialog is hidden.
    void abandonInput() override;

protected:
    // FormClose: the save question; refused while an entry is awaited.
    void closeEvent(QCloseEvent* event) override;

private:
    std::optional<QString> awaitEntry(EntryDialog* dialog);
    void insertLine(const QString& line);
    bool saveTo(const QString& path);

    QListWidget* ListBox1 = nullptr;
    QSplitter* Splitter1 = nullptr;
    QPlainTextEdit* RichEdit1 = nullptr;
    bool changed_ = false;
    QString filePath_;
    QPointer<EntryDialog> registry_;
    QPointer<EntryDialog> file_;
    QEventLoop* wait_ = nullptr;
    bool abandoned_ = false;
};

// The editor's text with line breaks as "\n", keeping no-break spaces that
// a plain-text export would turn into blanks.
QString editorText(const QPlainTextEdit* edit);

} // namespace qmx
