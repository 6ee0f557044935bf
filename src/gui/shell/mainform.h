// TMainForm: the program's multiple-document frame. It settles the debug
// flag, holds the shared dialogs, the compare list and the user prompts,
// carries the menu bar, tool bar and status bar, and creates the child
// windows for the File commands from the table of child kinds. The menu
// entries are its own: children declare their command states and the frame
// applies them.
#pragma once

#include "shell/childkinds.h"
#include "shell/comparelist.h"
#include "shell/prompts.h"

#include <QMainWindow>
#include <QPointer>

#include <memory>

class QAction;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QStatusBar;
class QToolBar;

namespace qmx {

class ChildWindow;
struct CommandStates;
class TAboutBox;
class TFOpen;
class TForm1;
class TForm2;
class Tsrvrcfg;
class Tfrules;
class TCFGGen;
class Tfaddreg;
class TFFile;
class TfrmCompare;
class TfrmCompareResults;

class RecentMenu;

class TMainForm : public QMainWindow {
    Q_OBJECT
public:
    // arguments: the command-line arguments without the program path.
    TMainForm(const QStringList& arguments, std::unique_ptr<Prompts> prompts = nullptr,
              QWidget* parent = nullptr);
    ~TMainForm() override;

    // Start-up: the shared dialogs, created hidden in this order after the
    // main window. The settings file is read by the options dialog.
    void createSharedDialogs(const QString& settingsPath);

    Prompts& prompts() { return *prompts_; }
    CompareList& compareList() { return compareList_; }
    TAboutBox* aboutBox() const { return AboutBox; }
    Tfaddreg* faddreg() const { return faddreg_; }
    TFFile* ffile() const { return FFile; }
    Tfrules* rules() const { return frules; }
    TFOpen* fopen() const { return FOpen; }
    TfrmCompare* compareChooser() const { return frmCompare; }
    TForm2* progressWindow() const { return Form2; }
    QMdiArea* mdiArea() const { return mdi_; }

    // The open dialog's settings (the last command's), and the save
    // dialog's, which the scanner input editor uses.
    FileDialogOptions& OpenDialog() { return openDialog_; }
    FileDialogOptions& SaveDialog1() { return saveDialog_; }

    QList<ChildWindow*> childWindows() const;
    ChildWindow* activeChild() const;

    // Long work in progress (a report load): closing the main window waits
    // for it to end, and commands that would start another are ignored.
    void beginLongWork();
    void endLongWork();
    bool busy() const { return longWork_ > 0; }

    // Child creation, as the File commands do it after the file dialog: a
    // window of the kind with the path as caption, loaded when a file exists
    // at the path.
    ChildWindow* newChild(ChildKind kind, const QString& path);
    TForm1* NewReportChild(const QString& path);
    TCFGGen* NewEditorChild(const QString& path);
    Tsrvrcfg* NewServerChild(const QString& path);
    // Runs the open dialog with the kind's settings and opens the chosen
    // file in a new window of the kind; a workstation report joins the
    // compare list.
    void openChild(ChildKind kind);
    // A new result window comparing the ticked reports of the compare list.
    TfrmCompareResults* NewCompareChild();

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
    void connectActions();
    void tile(Qt::Orientation direction);
    void buildMenus();
    void buildToolBar();
    QMdiSubWindow* addChild(ChildWindow* child, const QSize& outerSize);
    void subWindowActivated(QMdiSubWindow* window);
    void applyCommandStates(const CommandStates& states);
    void updateWindowCommands();
    void fillWindowMenu();
    void arrangeIcons();
    // Opens path in a window of the kind, then keeps it at the front of its
    // recent list, or drops it from the list when no file is there.
    void openRecent(ChildKind kind, const QString& path);
    void noteRecent(ChildKind kind, const QString& path);

    std::unique_ptr<Prompts> prompts_;
    CompareList compareList_;
    FileDialogOptions openDialog_;
    FileDialogOptions saveDialog_;
    QMdiArea* mdi_ = nullptr;
    int longWork_ = 0;
    bool closePending_ = false;
    bool endingSession_ = false;
    RecentMenu* recentMenu_ = nullptr;

    // Shared dialogs.
    TAboutBox* AboutBox = nullptr;
    Tfaddreg* faddreg_ = nullptr;
    TFFile* FFile = nullptr;
    Tfrules* frules = nullptr;
    TFOpen* FOpen = nullptr;
    TfrmCompare* frmCompare = nullptr;
    TForm2* Form2 = nullptr;

    // Menus and commands; tests find them by object name.
    QMenuBar* MainMenu1 = nullptr;
    QToolBar* ToolBar2 = nullptr;
    QStatusBar* StatusBar = nullptr;
    QMenu* File1 = nullptr;
    QMenu* Edit1 = nullptr;
    QMenu* Run1 = nullptr;
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
