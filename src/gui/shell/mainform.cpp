#include "gui/shell/mainform.h"

#include "core/rules/startupnotice.h"
#include "core/util/error.h"
#include "gui/recent/recentmenu.h"
#include "gui/rules/settingsmodel.h"
#include "gui/shell/childwindow.h"
#include "gui/shell/debugflag.h"
#include "gui/support/commandmenu.h"
#include "gui/support/filenames.h"
#include "gui/support/guards.h"
#include "gui/support/mdiarrange.h"
#include "gui/support/textcodec.h"
#include "gui/support/toolicons.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDialog>
#include <QDropEvent>
#include <QFileInfo>
#include <QIcon>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMetaObject>
#include <QStatusBar>
#include <QStyle>
#include <QTimer>
#include <QToolBar>

namespace qmx {

namespace {

// "Short|Long": the short part is the tool-tip, the long part the status
// bar text; a hint without a bar serves as both.
void setHint(QAction* action, const QString& hint)
{
    const qsizetype bar = hint.indexOf(QLatin1Char('|'));
    action->setToolTip(bar < 0 ? hint : hint.left(bar));
    action->setStatusTip(bar < 0 ? hint : hint.mid(bar + 1));
}

QAction* makeAction(QObject* owner, const char* name, const QString& caption,
                    const QKeySequence& shortcut = {}, const QString& hint = {})
{
    auto* a = new QAction(caption, owner);
    a->setObjectName(QLatin1String(name));
    if (!shortcut.isEmpty())
        a->setShortcut(shortcut);
    if (!hint.isEmpty())
        setHint(a, hint);
    return a;
}

// The standard edit commands act on whichever text control has the focus.
void sendToFocus(const char* method)
{
    if (QWidget* w = QApplication::focusWidget())
        QMetaObject::invokeMethod(w, method);
}

constexpr int kFixedWindowEntries = 5;

} // namespace

TMainForm::TMainForm(const QStringList& arguments, std::unique_ptr<Prompts> prompts,
                     QWidget* parent)
    : QMainWindow(parent)
{
    if (!prompts)
        prompts = std::make_unique<QtPrompts>(this);
    workspace_ = std::make_unique<Workspace>(std::move(prompts));
    connect(
        workspace_.get(), &Workspace::statusMessage, this,
        [this](const QString& text, int timeoutMs) { StatusBar->showMessage(text, timeoutMs); });
    connect(workspace_.get(), &Workspace::longWorkEnded, this,
            [this] { closeAfterWork_.closeIfAsked(this); });
    connect(workspace_.get(), &Workspace::compareRequested, this, &TMainForm::NewCompareChild);
    connect(workspace_.get(), &Workspace::findingsRequested, this, &TMainForm::NewFindingsChild);
    connect(workspace_.get(), &Workspace::activationRequested, this, [this](ChildWindow* c) {
        if (auto* sub = qobject_cast<QMdiSubWindow*>(c->parentWidget())) {
            if (sub->isMinimized())
                sub->showNormal();
            mdi_->setActiveSubWindow(sub);
        }
    });
    setObjectName(QStringLiteral("MainForm"));
    setWindowTitle(QStringLiteral("QMXRead"));

    mdi_ = new QMdiArea(this);
    mdi_->setObjectName(QStringLiteral("ClientArea"));
    mdi_->setBackground(palette().brush(QPalette::Dark));
    // A window larger than the area, or moved past its edge, stays reachable.
    mdi_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    mdi_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setCentralWidget(mdi_);
    connect(mdi_, &QMdiArea::subWindowActivated, this, &TMainForm::subWindowActivated);

    buildActions();
    buildMenus();
    buildToolBar();
    StatusBar = statusBar();
    StatusBar->setObjectName(QStringLiteral("StatusBar"));
    updateWindowCommands();
    setAcceptDrops(true);

    FormCreate(arguments);
}

TMainForm::~TMainForm()
{
    // The base class closes the child windows after this body has run, when
    // this object is half destroyed: no activation may reach it any more.
    disconnect(mdi_, nullptr, this, nullptr);
    // The workspace writes the settings as it goes, through its prompts; the
    // windows still holding it go first.
    qDeleteAll(mdi_->subWindowList());
    for (QWidget* w : dialogs_.modeless + QList<QWidget*>{dialogs_.aboutDialog})
        delete w;
    dialogs_ = SharedDialogs{};
    workspace_.reset();
}

void TMainForm::FormCreate(const QStringList& arguments)
{
    settleDebugFlag(arguments);
}

void TMainForm::createSharedDialogs(const QString& settingsPath, const std::string& settingsProblem)
{
    const bool settingsFound = QFileInfo::exists(settingsPath);
    workspace_->openSettings(settingsPath);
    dialogs_ = makeSharedDialogs(*workspace_, this, settingsPath);
    recentMenu_->setFiles(workspace_->recentFiles());
    StatusBar->showMessage(toQString(
        startupNotice(workspace_->settings()->settings(), settingsFound, settingsProblem)));
}

void TMainForm::buildActions()
{
    QStyle* st = style();
    FileNew1 = makeAction(this, "FileNew1", tr("&New QMXScan.ini"), QKeySequence(tr("Ctrl+N")),
                          tr("New|Create a new file"));
    FileNew1->setIcon(st->standardIcon(QStyle::SP_FileIcon));
    FileOpen1 = makeAction(this, "FileOpen1", tr("&Open QMXScan Output"),
                           QKeySequence(tr("Ctrl+O")), tr("Open|Open a file"));
    FileOpen1->setIcon(st->standardIcon(QStyle::SP_DialogOpenButton));
    OpenQMXScanini1 = makeAction(this, "OpenQMXScanini1", tr("Open QMXScan.ini"));
    FileClose1 = makeAction(this, "FileClose1", tr("&Close"), {}, tr("Close|Close current file"));
    FileSave1 = makeAction(this, "FileSave1", tr("&Save"), QKeySequence(tr("Ctrl+S")),
                           tr("Save|Save current file"));
    FileSave1->setIcon(st->standardIcon(QStyle::SP_DialogSaveButton));
    FileSaveAs1 = makeAction(this, "FileSaveAs1", tr("Save &As..."), {},
                             tr("Save As|Save current file with different name"));
    OpenServerConfigText1 =
        makeAction(this, "OpenServerConfigText1", tr("Open Server Config..."), {},
                   tr("Open Server Config|Open a server configuration report"));
    FileExit1 = makeAction(this, "FileExit1", tr("E&xit"), {}, tr("Exit|Exit application"));
    FileSave1->setEnabled(false);
    FileSaveAs1->setEnabled(false);

    EditCut1 = makeAction(this, "EditCut1", tr("Cu&t"), QKeySequence(tr("Ctrl+X")),
                          tr("Cut|Cuts the selection and puts it on the Clipboard"));
    EditCopy1 = makeAction(this, "EditCopy1", tr("&Copy"), QKeySequence(tr("Ctrl+C")),
                           tr("Copy|Copies the selection and puts it on the Clipboard"));
    EditPaste1 = makeAction(this, "EditPaste1", tr("&Paste"), QKeySequence(tr("Ctrl+V")),
                            tr("Paste|Inserts Clipboard contents"));
    EditCut1->setIcon(toolIcon(ToolPicture::Cut, palette()));
    EditCopy1->setIcon(toolIcon(ToolPicture::Copy, palette()));
    EditPaste1->setIcon(toolIcon(ToolPicture::Paste, palette()));
    // The shortcuts belong to the text controls themselves; the menu
    // entries only show them.
    for (QAction* a : {EditCut1, EditCopy1, EditPaste1})
        a->setShortcutContext(Qt::WidgetShortcut);

    RunOptions1 = makeAction(this, "RunOptions1", tr("&Options"));
    RunRun1 = makeAction(this, "RunRun1", tr("&Run"), QKeySequence(tr("Ctrl+R")));
    RunRun1->setEnabled(false);
    Options2 = makeAction(this, "Options2", tr("&Options"));
    Compare1 = makeAction(this, "Compare1", tr("&Compare"));

    WindowCascade1 = makeAction(this, "WindowCascade1", tr("&Cascade"), {}, tr("Cascade"));
    WindowTileHorizontal1 = makeAction(this, "WindowTileHorizontal1", tr("Tile &Horizontally"), {},
                                       tr("Tile Horizontally"));
    WindowTileVertical1 =
        makeAction(this, "WindowTileVertical1", tr("Tile &Vertically"), {}, tr("Tile Vertically"));
    WindowCascade1->setIcon(toolIcon(ToolPicture::Cascade, palette()));
    WindowTileHorizontal1->setIcon(toolIcon(ToolPicture::TileHorizontally, palette()));
    WindowTileVertical1->setIcon(toolIcon(ToolPicture::TileVertically, palette()));
    WindowMinimizeAll1 =
        makeAction(this, "WindowMinimizeAll1", tr("&Minimize All"), {}, tr("Minimize All"));
    WindowArrangeAll1 =
        makeAction(this, "WindowArrangeAll1", tr("&Arrange All"), {}, tr("Arrange All"));
    HelpAbout1 = makeAction(this, "HelpAbout1", tr("&About..."), {},
                            tr("About|Displays program information, version number, and "
                               "copyright"));

    connectActions();
}

void TMainForm::connectActions()
{
    connect(FileNew1, &QAction::triggered, this, &TMainForm::FileNew1Execute);
    connect(FileOpen1, &QAction::triggered, this, &TMainForm::FileOpen1Execute);
    connect(OpenQMXScanini1, &QAction::triggered, this, &TMainForm::OpenQMXScanini1Click);
    connect(OpenServerConfigText1, &QAction::triggered, this,
            &TMainForm::OpenServerConfigText1Click);
    connect(FileClose1, &QAction::triggered, mdi_, &QMdiArea::closeActiveSubWindow);
    connect(FileSave1, &QAction::triggered, this, [this] {
        if (ChildWindow* c = activeChild())
            c->save();
    });
    connect(FileSaveAs1, &QAction::triggered, this, [this] {
        if (ChildWindow* c = activeChild())
            c->saveAs();
    });
    connect(FileExit1, &QAction::triggered, this, &TMainForm::FileExit1Execute);
    connect(EditCut1, &QAction::triggered, this, [] { sendToFocus("cut"); });
    connect(EditCopy1, &QAction::triggered, this, [] { sendToFocus("copy"); });
    connect(EditPaste1, &QAction::triggered, this, [] { sendToFocus("paste"); });
    connect(Options2, &QAction::triggered, this, &TMainForm::Options2Click);
    connect(Compare1, &QAction::triggered, this, &TMainForm::Compare1Click);
    connect(WindowCascade1, &QAction::triggered, mdi_, &QMdiArea::cascadeSubWindows);
    connect(WindowTileHorizontal1, &QAction::triggered, this,
            [this] { tileSubWindows(mdi_, Qt::Vertical); });
    connect(WindowTileVertical1, &QAction::triggered, this,
            [this] { tileSubWindows(mdi_, Qt::Horizontal); });
    connect(WindowMinimizeAll1, &QAction::triggered, this, [this] {
        for (QMdiSubWindow* w : mdi_->subWindowList())
            w->showMinimized();
    });
    connect(WindowArrangeAll1, &QAction::triggered, this, [this] { arrangeMinimized(mdi_); });
    connect(HelpAbout1, &QAction::triggered, this, &TMainForm::HelpAbout1Execute);
}

void TMainForm::buildMenus()
{
    MainMenu1 = menuBar();
    MainMenu1->setObjectName(QStringLiteral("MainMenu1"));

    File1 = MainMenu1->addMenu(tr("&File"));
    File1->setObjectName(QStringLiteral("File1"));
    File1->menuAction()->setStatusTip(tr("File related commands"));
    // The server report entry comes after Save and Save As, so the entries
    // the child windows switch keep their positions.
    File1->addActions({FileNew1, FileOpen1, OpenQMXScanini1, FileClose1, FileSave1, FileSaveAs1,
                       OpenServerConfigText1});
    File1->addSeparator();
    File1->addAction(FileExit1);
    recentMenu_ = new RecentMenu(
        File1, FileExit1,
        [this](RecentKind kind, const QString& path) {
            for (ChildKind k :
                 {ChildKind::Report, ChildKind::ScannerInput, ChildKind::ServerReport})
                if (childKind(k).recent == kind)
                    openRecent(k, path);
        },
        this);

    Edit1 = MainMenu1->addMenu(tr("&Edit"));
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->menuAction()->setStatusTip(tr("Edit commands"));
    Edit1->addActions({EditCut1, EditCopy1, EditPaste1});

    Run1 = MainMenu1->addMenu(tr("&Run"));
    Run1->setObjectName(QStringLiteral("Run1"));
    Run1->addActions({RunOptions1, RunRun1});

    OptionsMenu = addCommandMenu(MainMenu1, Options2);
    OptionsMenu->setObjectName(QStringLiteral("OptionsMenu"));
    CompareMenu = addCommandMenu(MainMenu1, Compare1);
    CompareMenu->setObjectName(QStringLiteral("CompareMenu"));

    Window1 = MainMenu1->addMenu(tr("&Window"));
    Window1->setObjectName(QStringLiteral("Window1"));
    Window1->menuAction()->setStatusTip(tr("Window related commands"));
    Window1->addActions({WindowCascade1, WindowTileHorizontal1, WindowTileVertical1,
                         WindowMinimizeAll1, WindowArrangeAll1});
    connect(Window1, &QMenu::aboutToShow, this, &TMainForm::fillWindowMenu);

    Help1 = MainMenu1->addMenu(tr("&Help"));
    Help1->setObjectName(QStringLiteral("Help1"));
    Help1->menuAction()->setStatusTip(tr("Help topics"));
    Help1->addAction(HelpAbout1);

    // A menu closed with the keyboard sends no hover that would end its
    // hint, so the hint goes as the menu closes.
    for (QMenu* menu : {File1, Edit1, Run1, OptionsMenu, CompareMenu, Window1, Help1})
        connect(menu, &QMenu::aboutToHide, this, [this] { statusBar()->clearMessage(); });
}

void TMainForm::buildToolBar()
{
    ToolBar2 = addToolBar(tr("Tools"));
    ToolBar2->setObjectName(QStringLiteral("ToolBar2"));
    ToolBar2->setMovable(false);
    ToolBar2->addActions({FileNew1, FileOpen1, FileSave1});
    ToolBar2->addSeparator();
    ToolBar2->addActions({EditCut1, EditCopy1, EditPaste1});
    ToolBar2->addSeparator();
    ToolBar2->addActions({WindowCascade1, WindowTileHorizontal1, WindowTileVertical1});
    ToolBar2->addSeparator();
}

void TMainForm::fillWindowMenu()
{
    const QList<QAction*> actions = Window1->actions();
    for (qsizetype i = kFixedWindowEntries; i < actions.size(); ++i) {
        Window1->removeAction(actions.at(i));
        if (actions.at(i)->parent() == Window1)
            delete actions.at(i);
    }
    const auto windows = mdi_->subWindowList();
    if (windows.isEmpty())
        return;
    Window1->addSeparator();
    int n = 0;
    for (QMdiSubWindow* w : windows) {
        ++n;
        QString text = w->windowTitle();
        text.replace(QLatin1Char('&'), QLatin1String("&&"));
        auto* a = new QAction(n < 10 ? QStringLiteral("&%1 %2").arg(n).arg(text) : text, Window1);
        a->setCheckable(true);
        a->setChecked(w == mdi_->activeSubWindow());
        connect(a, &QAction::triggered, this, [this, w = QPointer<QMdiSubWindow>(w)] {
            if (w)
                mdi_->setActiveSubWindow(w);
        });
        Window1->addAction(a);
    }
}

QList<ChildWindow*> TMainForm::childWindows() const
{
    return workspace_->documents();
}

ChildWindow* TMainForm::activeChild() const
{
    QMdiSubWindow* w = mdi_->activeSubWindow();
    return w ? qobject_cast<ChildWindow*>(w->widget()) : nullptr;
}

QMdiSubWindow* TMainForm::addChild(ChildWindow* child, const QSize& outerSize)
{
    // A kind without an outer size opens at the size its window chose, with
    // the frame fitted around it rather than around the layout's own wish.
    const QSize content = child->testAttribute(Qt::WA_Resized) ? child->size() : child->sizeHint();
    QMdiSubWindow* sub = mdi_->addSubWindow(child);
    sub->setAttribute(Qt::WA_DeleteOnClose);
    if (child->minimumSize() == child->maximumSize())
        sub->setWindowFlags(sub->windowFlags() & ~Qt::WindowMaximizeButtonHint);
    sub->resize(outerSize.isValid() ? outerSize : content.grownBy(sub->contentsMargins()));
    connect(sub, &QObject::destroyed, this, [this] {
        // The list changes only after the window is gone.
        QTimer::singleShot(0, this, &TMainForm::updateWindowCommands);
    });
    child->show();
    sub->show();
    placeNewSubWindow(mdi_, sub);
    mdi_->setActiveSubWindow(sub);
    updateWindowCommands();
    return sub;
}

void TMainForm::subWindowActivated(QMdiSubWindow* window)
{
    updateWindowCommands();
    if (!window)
        return;
    auto* child = qobject_cast<ChildWindow*>(window->widget());
    if (!child)
        return;
    if (const auto states = child->commandStates())
        applyCommandStates(*states);
    child->FormActivate();
}

void TMainForm::applyCommandStates(const CommandStates& states)
{
    FileSave1->setEnabled(states.save);
    FileSaveAs1->setEnabled(states.saveAs);
    RunRun1->setEnabled(states.run);
    Compare1->setEnabled(states.compare);
}

void TMainForm::updateWindowCommands()
{
    const bool any = !mdi_->subWindowList().isEmpty();
    for (QAction* a : {WindowCascade1, WindowTileHorizontal1, WindowTileVertical1,
                       WindowMinimizeAll1, WindowArrangeAll1})
        a->setEnabled(any);
    FileClose1->setEnabled(mdi_->activeSubWindow() != nullptr);
}

ChildWindow* TMainForm::newChild(ChildKind kind, const QString& path, bool* fileRead)
{
    const ChildKindInfo& info = childKind(kind);
    if (!info.create)
        throw Error("This kind of window is not available in this version.");
    ChildWindow* child = info.create(ChildContext{*workspace_, dialogs_});
    child->setWindowTitle(path);
    workspace_->addDocument(child);
    addChild(child, info.outerSize);
    bool read = false;
    if (QFileInfo::exists(path)) {
        guarded(prompts(), [&] { read = child->loadFile(path); });
        if (child)
            workspace_->documentLoaded(child);
    } else {
        child->fileNotFound(path);
    }
    if (fileRead)
        *fileRead = read;
    return child;
}

TForm1* TMainForm::NewReportChild(const QString& path)
{
    return asReport(newChild(ChildKind::Report, path));
}

TfrmCompareResults* TMainForm::NewCompareChild()
{
    // The comparison runs as the window is made, over the windows open now.
    return asCompareResult(newChild(ChildKind::CompareResult, tr("Compare Results")));
}

FindingsWindow* TMainForm::NewFindingsChild()
{
    if (busy())
        return nullptr;
    return asFindings(newChild(ChildKind::Findings, tr("Findings")));
}

TCFGGen* TMainForm::NewEditorChild(const QString& path)
{
    return asScannerInput(newChild(ChildKind::ScannerInput, path));
}

Tsrvrcfg* TMainForm::NewServerChild(const QString& path)
{
    return asServerReport(newChild(ChildKind::ServerReport, path));
}

void TMainForm::openChild(ChildKind kind)
{
    if (busy())
        return;
    guarded(prompts(), [&] {
        const ChildKindInfo& info = childKind(kind);
        FileDialogOptions& dialog = workspace_->openDialog();
        dialog.defaultExt = QString::fromLatin1(info.defaultExt);
        dialog.filterIndex = info.filterIndex;
        const auto path = prompts().openFile(dialog);
        if (!path)
            return;
        dialog.fileName = *path;
        // A window closed during its load goes only after this command, and
        // takes its entry out of the list again as it goes.
        bool read = false;
        const QPointer<ChildWindow> child = newChild(kind, *path, &read);
        if (child && child->isWorkstationReport())
            compareList().append(*path);
        noteRecent(kind, *path, read);
    });
}

void TMainForm::openRecent(ChildKind kind, const QString& path)
{
    if (busy())
        return;
    // A report's path is listed before its window exists, so a window closed
    // during its load takes the entry out again as it goes.
    if (kind == ChildKind::Report)
        compareList().append(path);
    guarded(prompts(), [&] {
        bool read = false;
        newChild(kind, path, &read);
        noteRecent(kind, path, read);
    });
}

void TMainForm::noteRecent(ChildKind kind, const QString& path, bool fileRead)
{
    RecentFiles* files = recentMenu_->files();
    const std::optional<RecentKind> recent = childKind(kind).recent;
    if (!files || !recent)
        return;
    // A file there but unreadable keeps whatever place it had.
    if (fileRead)
        files->add(*recent, toRecentPath(path));
    else if (!QFileInfo::exists(path))
        files->remove(*recent, toRecentPath(path));
    else
        return;
    recentMenu_->refresh();
}

void TMainForm::MRUFileList1MRUItemClick(const QString& path)
{
    openRecent(ChildKind::Report, path);
}

void TMainForm::MRUFileList2MRUItemClick(const QString& path)
{
    openRecent(ChildKind::ScannerInput, path);
}

void TMainForm::MRUFileList3MRUItemClick(const QString& path)
{
    openRecent(ChildKind::ServerReport, path);
}

void TMainForm::dragEnterEvent(QDragEnterEvent* event)
{
    if (!droppedFiles(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void TMainForm::dropEvent(QDropEvent* event)
{
    const QStringList files = droppedFiles(event->mimeData());
    if (files.isEmpty() || busy())
        return;
    event->acceptProposedAction();
    for (const QString& path : files) {
        if (opensAsScannerInput(path))
            MRUFileList2MRUItemClick(path);
        else
            MRUFileList1MRUItemClick(path);
    }
}

void TMainForm::FileNew1Execute()
{
    const QString name =
        QStringLiteral("NONAME") + QString::number(mdi_->subWindowList().size() + 1);
    NewEditorChild(name);
}

void TMainForm::FileOpen1Execute()
{
    openChild(ChildKind::Report);
}

void TMainForm::OpenQMXScanini1Click()
{
    openChild(ChildKind::ScannerInput);
}

void TMainForm::OpenServerConfigText1Click()
{
    openChild(ChildKind::ServerReport);
}

void TMainForm::showModeless(QWidget* dialog)
{
    if (!dialog)
        return;
    dialog->show();
    dialog->raise();
    dialog->activateWindow();
}

void TMainForm::Options2Click()
{
    showModeless(dialogs_.rulesDialog);
}

void TMainForm::Compare1Click()
{
    showModeless(dialogs_.compareDialog);
}

void TMainForm::HelpAbout1Execute()
{
    if (dialogs_.aboutDialog)
        dialogs_.aboutDialog->exec();
}

void TMainForm::FileExit1Execute()
{
    close();
}

void TMainForm::endSession()
{
    endingSession_ = true;
    // A question waiting in a nested event loop would keep the program
    // running: each goes as if dismissed.
    while (QWidget* modal = QApplication::activeModalWidget()) {
        modal->close();
        if (QApplication::activeModalWidget() == modal)
            break;
    }
    close();
}

void TMainForm::closeEvent(QCloseEvent* event)
{
    // A report is loading and events run inside the load: the load is asked
    // to stop, and the program closes once it has ended, not from under it.
    if (closeAfterWork_.defer(event, busy())) {
        workspace_->requestStop();
        return;
    }
    // Input waiting for a dialog is given up, then every child with unsaved
    // work asks, in child order; a save that fails or is cancelled keeps the
    // program open.
    const QList<ChildWindow*> children = childWindows();
    for (ChildWindow* c : children)
        c->abandonInput();
    for (ChildWindow* c : children) {
        if (!endingSession_ && !c->queryClose()) {
            event->ignore();
            return;
        }
    }
    // The non-modal shared dialogs go with the frame, so nothing keeps the
    // program running once it is closed.
    for (QWidget* w : dialogs_.modeless)
        w->hide();
    QMainWindow::closeEvent(event);
}

} // namespace qmx
