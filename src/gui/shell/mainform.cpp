#include "shell/mainform.h"

#include "compare/cmpreslt.h"
#include "compare/compare.h"
#include "recent/recentmenu.h"
#include "report/childwin.h"
#include "report/prgres.h"
#include "rules/rules.h"
#include "scanedit/entrydialog.h"
#include "scanedit/qmxgen.h"
#include "server/srvcfg.h"
#include "setup/settingsnotices.h"
#include "shell/about.h"
#include "shell/childwindow.h"
#include "shell/debugflag.h"
#include "shell/fopenfrm.h"
#include "support/guards.h"
#include "support/textcodec.h"
#include "util/error.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
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
    : QMainWindow(parent), prompts_(std::move(prompts))
{
    if (!prompts_)
        prompts_ = std::make_unique<QtPrompts>(this);
    setObjectName(QStringLiteral("MainForm"));
    setWindowTitle(QStringLiteral("QMXRead"));

    mdi_ = new QMdiArea(this);
    mdi_->setObjectName(QStringLiteral("ClientArea"));
    mdi_->setBackground(palette().brush(QPalette::Dark));
    setCentralWidget(mdi_);
    connect(mdi_, &QMdiArea::subWindowActivated, this, &TMainForm::subWindowActivated);

    openDialog_.filter = QStringLiteral(
        "Client Config Files (*.txt)|*.txt|Client Config Generator Files (*.ini)|*.ini|"
        "Server Config Files (*.txt)|*.txt|All Files (*.*)|*.*");
    openDialog_.filterIndex = 1;
    openDialog_.defaultExt = QStringLiteral("*.txt");
    saveDialog_.filter =
        QStringLiteral("Client Config Generator Files (*.ini)|*.ini|All Files (*.*)|*.*");
    saveDialog_.filterIndex = 1;
    saveDialog_.defaultExt = QStringLiteral("*.ini");
    saveDialog_.fileName = QStringLiteral("qmxscan.ini");

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
    // The options dialog saves the settings when it goes, and may need the
    // prompts to report a failed write: it must go before they do.
    delete frules;
    frules = nullptr;
}

void TMainForm::FormCreate(const QStringList& arguments)
{
    settleDebugFlag(arguments);
}

void TMainForm::createSharedDialogs(const QString& settingsPath)
{
    AboutBox = new TAboutBox(this);
    AboutBox->setSettingsFile(settingsPath);
    faddreg_ = new Tfaddreg(this);
    FFile = new TFFile(this);
    const bool settingsFound = QFileInfo::exists(settingsPath);
    frules = new Tfrules(settingsPath, *prompts_, this);
    recentMenu_->setFiles(&frules->recentFiles());
    StatusBar->showMessage(toQString(startupNotice(frules->settings(), settingsFound)));
    FOpen = new TFOpen(this);
    frmCompare = new TfrmCompare(this);
    Form2 = new TForm2(this);
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
    EditCut1->setIcon(QIcon::fromTheme(QStringLiteral("edit-cut")));
    EditCopy1->setIcon(QIcon::fromTheme(QStringLiteral("edit-copy")));
    EditPaste1->setIcon(QIcon::fromTheme(QStringLiteral("edit-paste")));
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
    WindowTileHorizontal1 = makeAction(this, "WindowTileHorizontal1", tr("Tile &Horizontally"),
                                       {}, tr("Tile Horizontally"));
    WindowTileVertical1 = makeAction(this, "WindowTileVertical1", tr("Tile &Vertically"), {},
                                     tr("Tile Vertically"));
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
    // Save and Save As act on the active scanner input editor.
    connect(FileSave1, &QAction::triggered, this, [this] {
        if (auto* e = qobject_cast<TCFGGen*>(activeChild()))
            e->FileSave();
    });
    connect(FileSaveAs1, &QAction::triggered, this, [this] {
        if (auto* e = qobject_cast<TCFGGen*>(activeChild()))
            e->FileSaveAs();
    });
    connect(FileExit1, &QAction::triggered, this, &TMainForm::FileExit1Execute);
    connect(EditCut1, &QAction::triggered, this, [] { sendToFocus("cut"); });
    connect(EditCopy1, &QAction::triggered, this, [] { sendToFocus("copy"); });
    connect(EditPaste1, &QAction::triggered, this, [] { sendToFocus("paste"); });
    connect(Options2, &QAction::triggered, this, &TMainForm::Options2Click);
    connect(Compare1, &QAction::triggered, this, &TMainForm::Compare1Click);
    connect(WindowCascade1, &QAction::triggered, mdi_, &QMdiArea::cascadeSubWindows);
    connect(WindowTileHorizontal1, &QAction::triggered, this, [this] { tile(Qt::Vertical); });
    connect(WindowTileVertical1, &QAction::triggered, this, [this] { tile(Qt::Horizontal); });
    connect(WindowMinimizeAll1, &QAction::triggered, this, [this] {
        for (QMdiSubWindow* w : mdi_->subWindowList())
            w->showMinimized();
    });
    connect(WindowArrangeAll1, &QAction::triggered, this, &TMainForm::arrangeIcons);
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
            const ChildKind kinds[] = {ChildKind::Report, ChildKind::ScannerInput,
                                       ChildKind::ServerReport};
            openRecent(kinds[static_cast<int>(kind)], path);
        },
        this);

    Edit1 = MainMenu1->addMenu(tr("&Edit"));
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->menuAction()->setStatusTip(tr("Edit commands"));
    Edit1->addActions({EditCut1, EditCopy1, EditPaste1});

    Run1 = MainMenu1->addMenu(tr("&Run"));
    Run1->setObjectName(QStringLiteral("Run1"));
    Run1->addActions({RunOptions1, RunRun1});

    MainMenu1->addAction(Options2);
    MainMenu1->addAction(Compare1);

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

// Tiled one above the other (Qt::Vertical), each the full width of the
// frame, or side by side (Qt::Horizontal), each its full height.
void TMainForm::tile(Qt::Orientation direction)
{
    const auto windows = mdi_->subWindowList();
    if (windows.isEmpty())
        return;
    const QSize area = mdi_->viewport()->size();
    const int count = static_cast<int>(windows.size());
    int at = 0;
    for (QMdiSubWindow* w : windows) {
        w->showNormal();
        if (direction == Qt::Vertical) {
            const int h = area.height() / count;
            w->setGeometry(0, at, area.width(), h);
            at += h;
        } else {
            const int width = area.width() / count;
            w->setGeometry(at, 0, width, area.height());
            at += width;
        }
    }
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

void TMainForm::arrangeIcons()
{
    // Minimized children are lined up along the bottom of the frame.
    int x = 0;
    const int bottom = mdi_->viewport()->height();
    for (QMdiSubWindow* w : mdi_->subWindowList()) {
        if (!w->isMinimized())
            continue;
        const QSize s = w->size();
        if (x > 0 && x + s.width() > mdi_->viewport()->width())
            x = 0;
        w->move(x, bottom - s.height());
        x += s.width();
    }
}

QList<ChildWindow*> TMainForm::childWindows() const
{
    QList<ChildWindow*> out;
    for (QMdiSubWindow* w : mdi_->subWindowList())
        if (auto* c = qobject_cast<ChildWindow*>(w->widget()))
            out << c;
    return out;
}

ChildWindow* TMainForm::activeChild() const
{
    QMdiSubWindow* w = mdi_->activeSubWindow();
    return w ? qobject_cast<ChildWindow*>(w->widget()) : nullptr;
}

QMdiSubWindow* TMainForm::addChild(ChildWindow* child, const QSize& outerSize)
{
    QMdiSubWindow* sub = mdi_->addSubWindow(child);
    sub->setAttribute(Qt::WA_DeleteOnClose);
    if (child->minimumSize() == child->maximumSize())
        sub->setWindowFlags(sub->windowFlags() & ~Qt::WindowMaximizeButtonHint);
    if (outerSize.isValid())
        sub->resize(outerSize);
    connect(sub, &QObject::destroyed, this, [this] {
        // The list changes only after the window is gone.
        QTimer::singleShot(0, this, &TMainForm::updateWindowCommands);
    });
    child->show();
    sub->show();
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

void TMainForm::beginLongWork()
{
    ++longWork_;
}

void TMainForm::endLongWork()
{
    if (longWork_ > 0)
        --longWork_;
    if (longWork_ == 0 && closePending_) {
        closePending_ = false;
        QTimer::singleShot(0, this, &QWidget::close);
    }
}

ChildWindow* TMainForm::newChild(ChildKind kind, const QString& path)
{
    const ChildKindInfo& info = childKind(kind);
    if (!info.create)
        throw Error("This kind of window is not available in this version.");
    ChildWindow* child = info.create(*this);
    child->setWindowTitle(path);
    addChild(child, info.outerSize);
    if (QFileInfo::exists(path))
        guarded(*prompts_, [&] { child->loadFile(path); });
    return child;
}

TForm1* TMainForm::NewReportChild(const QString& path)
{
    return qobject_cast<TForm1*>(newChild(ChildKind::Report, path));
}

TfrmCompareResults* TMainForm::NewCompareChild()
{
    // The comparison runs as the window is made, over the windows open now.
    return qobject_cast<TfrmCompareResults*>(newChild(ChildKind::CompareResult, tr("Compare Results")));
}

TCFGGen* TMainForm::NewEditorChild(const QString& path)
{
    return qobject_cast<TCFGGen*>(newChild(ChildKind::ScannerInput, path));
}

Tsrvrcfg* TMainForm::NewServerChild(const QString& path)
{
    return qobject_cast<Tsrvrcfg*>(newChild(ChildKind::ServerReport, path));
}

void TMainForm::openChild(ChildKind kind)
{
    if (busy())
        return;
    guarded(*prompts_, [&] {
        const ChildKindInfo& info = childKind(kind);
        openDialog_.defaultExt = QString::fromLatin1(info.defaultExt);
        openDialog_.filterIndex = info.filterIndex;
        const auto path = prompts_->openFile(openDialog_);
        if (!path)
            return;
        openDialog_.fileName = *path;
        // A window closed during its load goes only after this command, and
        // takes its entry out of the list again as it goes.
        const QPointer<ChildWindow> child = newChild(kind, *path);
        if (child && child->isWorkstationReport())
            compareList_.append(*path);
        noteRecent(kind, *path);
    });
}

void TMainForm::openRecent(ChildKind kind, const QString& path)
{
    if (busy())
        return;
    // A report's path is listed before its window exists, so a window closed
    // during its load takes the entry out again as it goes.
    if (kind == ChildKind::Report)
        compareList_.append(path);
    guarded(*prompts_, [&] {
        newChild(kind, path);
        noteRecent(kind, path);
    });
}

void TMainForm::noteRecent(ChildKind kind, const QString& path)
{
    RecentFiles* files = recentMenu_->files();
    if (!files || kind == ChildKind::CompareResult)
        return;
    // The first three child kinds are the three recent lists, in order.
    const auto recentKind = static_cast<RecentKind>(static_cast<int>(kind));
    if (QFileInfo::exists(path))
        files->add(recentKind, toRecentPath(path));
    else
        files->remove(recentKind, toRecentPath(path));
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

void TMainForm::Options2Click()
{
    if (!frules)
        return;
    frules->show();
    frules->raise();
    frules->activateWindow();
}

void TMainForm::Compare1Click()
{
    if (!frmCompare)
        return;
    frmCompare->show();
    frmCompare->raise();
    frmCompare->activateWindow();
}

void TMainForm::HelpAbout1Execute()
{
    if (AboutBox)
        AboutBox->exec();
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
    if (busy()) {
        // A report is loading and events run inside the load: close once it
        // has finished, not from under it.
        closePending_ = true;
        event->ignore();
        return;
    }
    // Insertions waiting for an entry dialog are given up, then every
    // changed editor is asked about, in child order; a save that fails or is
    // cancelled keeps the program open.
    QList<TCFGGen*> editors;
    for (ChildWindow* c : childWindows())
        if (auto* e = qobject_cast<TCFGGen*>(c))
            editors << e;
    for (TCFGGen* e : editors)
        e->abandonEntry();
    for (TCFGGen* e : editors) {
        if (!endingSession_ && !e->querySave()) {
            event->ignore();
            return;
        }
    }
    // The non-modal shared dialogs go with the frame, so nothing keeps the
    // program running once it is closed.
    for (QWidget* w : std::initializer_list<QWidget*>{faddreg_, FFile, frules, Form2, FOpen, frmCompare})
        if (w)
            w->hide();
    QMainWindow::closeEvent(event);
}

} // namespace qmx
