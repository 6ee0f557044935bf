// TMainForm: the program's multiple-document frame. It owns the workspace
// (the window layer's state) and the shared dialogs, carries the menu bar,
// tool bar and status bar, and creates the child windows for the File
// commands from the table of child kinds. The menu entries are its own:
// children declare their command states and the frame applies them.
#pragma once

#include "gui/shell/childkinds.h"
#include "gui/shell/workspace.h"
#include "gui/support/longload.h"

#include <QMainWindow>
#include <QPointer>

#include <memory>
#include <string>

class QAction;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QStatusBar;
class QToolBar;

namespace qmx {

struct CommandStates;
class RecentMenu;

class TMainForm : public QMainWindow {
    Q_OBJECT
public:
    // arguments: the command-line arguments without the program path.
    TMainForm(const QStringList& arguments, std::unique_ptr<Prompts> prompts = nullptr,
              QWidget* parent = nullptr);
    ~TMainForm() override;

    // Start-up: the settings file is read into the workspace, then the
    // shared dialogs are made, hidden, in their order after the main window.
    // settingsProblem: why the settings directory could not be made, shown
    // with the start-up notice.
    void createSharedDialogs(const QString& settingsPath, const std::string& settingsProblem = {});

    Workspace& workspace() { return *workspace_; }
    Prompts& prompts() { return workspace_->prompts(); }
    CompareList& compareList() { return workspace_->compareList(); }
    TAboutBox* aboutBox() const { return dialogs_.about; }
    Tfaddreg* faddreg() const { return dialogs_.faddreg; }
    TFFile* ffile() const { return dialogs_.ffile; }
    Tfrules* rules() const { return dialogs_.rules; }
    TFOpen* fopen() const { return dialogs_.fopen; }
    TfrmCompare* compareChooser() const { return dialogs_.compare; }
    TForm2* progressWindow() const { return dialogs_.progress; }
    QMdiArea* mdiArea() const { return mdi_; }

    FileDialogOptions& OpenDialog() { return workspace_->openDialog(); }
    FileDialogOptions& SaveDialog1() { return workspace_->saveDialog(); }

    QList<ChildWindow*> childWindows() const;
    ChildWindow* activeChild() const;
    bool busy() const { return workspace_->busy(); }

    // Child creation, as the File commands do it after the file dialog: a
    // window of the kind with the path as caption, loaded when a file exists
    // at the path.
    // fileRead, when given, tells whether the window read its file.
    ChildWindow* newChild(ChildKind kind, const QString& path, bool* fileRead = nullptr);
    TForm1* NewReportChild(const QString& path);
    TCFGGen* NewEditorChild(const QString& path);
    Tsrvrcfg* NewServerChild(const QString& path);
    // Runs the open dialog with the kind's settings and opens the chosen
    // file in a new window of the kind; a workstation report joins the
    // compare list.
    void openChild(ChildKind kind);
    // A new result window comparing the ticked reports of the compare list.
    TfrmCompareResults* NewCompareChild();
    // A new Findings window over the open reports, unless long work runs.
    FindingsWindow* NewFindingsChild();

public:
    void FileNew1Execute();
    void FileOpen1Execute();
    void OpenQMXScanini1Click();
    void OpenServerConfigText1Click();
    void Options2Click();
    void Compare1Click();
    void HelpAbout1Execute();
    void FileExit1Execute();
    // The system ends the program (SIGTERM, SIGHUP): the exit of File > Exit,
    // asking nothing. Open questions are closed unanswered and changed
    // editors are left unsaved, so no file is written that the user did not
    // save; the settings are written as at every exit.
    void endSession();
    // Recent-file entries: a workstation report (it joins the compare list
    // first), a scanner input file, a server report.
    void MRUFileList1MRUItemClick(const QString& path);
    void MRUFileList2MRUItemClick(const QString& path);
    void MRUFileList3MRUItemClick(const QString& path);
    RecentMenu* recentMenu() const { return recentMenu_; }

protected:
    void closeEvent(QCloseEvent* event) override;
    // Dropped files open as workstation reports, or in the scanner input
    // editor when the name ends in ".ini".
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void FormCreate(const QStringList& arguments);
    void buildActions();
    void buildEditAndWindowActions();
    void connectActions();
    void buildMenus();
    void buildToolBar();
    QMdiSubWindow* addChild(ChildWindow* child, const QSize& outerSize);
    void subWindowActivated(QMdiSubWindow* window);
    void applyCommandStates(const CommandStates& states);
    void updateWindowCommands();
    void fillWindowMenu();
    static void showModeless(QWidget* dialog);
    // Opens path in a window of the kind, then keeps it at the front of its
    // recent list, or drops it from the list when no file is there.
    void openRecent(ChildKind kind, const QString& path);
    void noteRecent(ChildKind kind, const QString& path, bool fileRead);

    std::unique_ptr<Workspace> workspace_;
    SharedDialogs dialogs_;
    QMdiArea* mdi_ = nullptr;
    DeferredClose closeAfterWork_;
    bool endingSession_ = false;
    RecentMenu* recentMenu_ = nullptr;

    // Menus and commands; tests find them by object name.
    QMenuBar* MainMenu1 = nullptr;
    QToolBar* ToolBar2 = nullptr;
    QStatusBar* StatusBar = nullptr;
    QMenu* File1 = nullptr;
    QMenu* Edit1 = nullptr;
    QMenu* Run1 = nullptr;
    // Options and Compare are single commands on the menu bar.
    QMenu* OptionsMenu = nullptr;
    QMenu* CompareMenu = nullptr;
    QMenu* Window1 = nullptr;
    QMenu* Help1 = nullptr;
    QAction* FileNew1 = nullptr;
    QAction* FileOpen1 = nullptr;
    QAction* OpenQMXScanini1 = nullptr;
    QAction* FileClose1 = nullptr;
    QAction* FileSave1 = nullptr;
    QAction* FileSaveAs1 = nullptr;
    QAction* OpenServerConfigText1 = nullptr;
    QAction* FileExit1 = nullptr;
    QAction* EditCut1 = nullptr;
    QAction* EditCopy1 = nullptr;
    QAction* EditPaste1 = nullptr;
    QAction* RunOptions1 = nullptr;
    QAction* RunRun1 = nullptr;
    QAction* Options2 = nullptr;
    QAction* Compare1 = nullptr;
    QAction* WindowCascade1 = nullptr;
    QAction* WindowTileHorizontal1 = nullptr;
    QAction* WindowTileVertical1 = nullptr;
    QAction* WindowMinimizeAll1 = nullptr;
    QAction* WindowArrangeAll1 = nullptr;
    QAction* HelpAbout1 = nullptr;
};

} // namespace qmx
