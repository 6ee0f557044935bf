#include "shell/mainform.h"

#include "report/childwin.h"
#include "report/prgres.h"
#include "rules/rules.h"
#include "shell/about.h"
#include "shell/childwindow.h"
#include "shell/debugflag.h"
#include "shell/fopenfrm.h"
#include "shell/guards.h"
#include "shell/textchild.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
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
    frules = new Tfrules(settingsPath, *prompts_, this);
    FOpen = new TFOpen(this);
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

    connect(FileNew1, &QAction::triggered, this, &TMainForm::FileNew1Execute);
    connect(FileOpen1, &QAction::triggered, this, &TMainForm::FileOpen1Execute);
    connect(OpenQMXScanini1, &QAction::triggered, this, &TMainForm::OpenQMXScanini1Click);
    connect(FileClose1, &QAction::triggered, mdi_, &QMdiArea::closeActiveSubWindow);
    connect(FileExit1, &QAction::triggered, this, &TMainForm::FileExit1Execute);
    connect(EditCut1, &QAction::triggered, this, [] { sendToFocus("cut"); });
    connect(EditCopy1, &QAction::triggered, this, [] { sendToFocus("copy"); });
    connect(EditPaste1, &QAction::triggered, this, [] { sendToFocus("paste"); });
    connect(Options2, &QAction::triggered, this, &TMainForm::Options2Click);
    connect(Compare1, &QAction::triggered, this, &TMainForm::Compare1Click);
    connect(WindowCascade1, &QAction::triggered, mdi_, &QMdiArea::cascadeSubWindows);
    connect(WindowTileHorizontal1, &QAction::triggered, this, [this] {
        // Tiled one above the other, each the full width of the frame.
        const auto windows = mdi_->subWindowList();
        if (windows.isEmpty())
            return;
        const int h = mdi_->viewport()->height() / static_cast<int>(windows.size());
        int y = 0;
        for (QMdiSubWindow* w : windows) {
            w->showNormal();
            w->setGeometry(0, y, mdi_->viewport()->width(), h);
            y += h;
        }
    });
    connect(WindowTileVertical1, &QAction::triggered, this, [this] {
        const auto windows = mdi_->subWindowList();
        if (windows.isEmpty())
            return;
        const int w = mdi_->viewport()->width() / static_cast<int>(windows.size());
        int x = 0;
        for (QMdiSubWindow* s : windows) {
            s->showNormal();
            s->setGeometry(x, 0, w, mdi_->viewport()->height());
            x += w;
        }
    });
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
    File1->addActions({FileNew1, FileOpen1, OpenQMXScanini1, FileClose1, FileSave1, FileSaveAs1});
    File1->addSeparator();
    File1->addAction(FileExit1);

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

QAction* TMainForm::topLevelEntry(int index) const
{
    const auto actions = MainMenu1->actions();
    return index >= 0 && index < actions.size() ? actions.at(index) : nullptr;
}

QAction* TMainForm::menuEntry(int menu, int index) const
{
    QAction* top = topLevelEntry(menu);
    if (!top || !top->menu())
        return nullptr;
    const auto actions = top->menu()->actions();
    return index >= 0 && index < actions.size() ? actions.at(index) : nullptr;
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

QMdiSubWindow* TMainForm::addChild(ChildWindow* child)
{
    QMdiSubWindow* sub = mdi_->addSubWindow(child);
    sub->setAttribute(Qt::WA_DeleteOnClose);
    if (child->minimumSize() == child->maximumSize())
        sub->setWindowFlags(sub->windowFlags() & ~Qt::WindowMaximizeButtonHint);
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
    if (auto* c = qobject_cast<ChildWindow*>(window->widget()))
        c->FormActivate();
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

TForm1* TMainForm::NewReportChild(const QString& path)
{
    auto* child = new TForm1(this);
    child->setWindowTitle(path);
    addChild(child);
    if (QFileInfo::exists(path))
        child->loadall(path);
    return child;
}

ChildWindow* TMainForm::NewEditorChild(const QString& path)
{
    auto* child = new TextChild(this);
    child->setWindowTitle(path);
    addChild(child);
    if (QFileInfo::exists(path))
        guarded(*prompts_, [&] { child->loadall(path); });
    return child;
}

void TMainForm::FileNew1Execute()
{
    const QString name =
        QStringLiteral("NONAME") + QString::number(mdi_->subWindowList().size() + 1);
    NewEditorChild(name);
}

void TMainForm::FileOpen1Execute()
{
    if (busy())
        return;
    guarded(*prompts_, [&] {
        openDialog_.defaultExt = QStringLiteral("*.TXT");
        openDialog_.filterIndex = 1;
        const auto path = prompts_->openFile(openDialog_);
        if (!path)
            return;
        openDialog_.fileName = *path;
        NewReportChild(*path);
        compareList_.append(*path);
    });
}

void TMainForm::OpenQMXScanini1Click()
{
    if (busy())
        return;
    guarded(*prompts_, [&] {
        openDialog_.defaultExt = QStringLiteral("*.INI");
        openDialog_.filterIndex = 2;
        const auto path = prompts_->openFile(openDialog_);
        if (!path)
            return;
        openDialog_.fileName = *path;
        NewEditorChild(*path);
    });
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
    prompts_->information(tr("Comparing reports is not available in this version."));
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

void TMainForm::closeEvent(QCloseEvent* event)
{
    if (busy()) {
        // A report is loading and events run inside the load: close once it
        // has finished, not from under it.
        closePending_ = true;
        event->ignore();
        return;
    }
    // The non-modal shared dialogs go with the frame, so nothing keeps the
    // program running once it is closed.
    for (QWidget* w : std::initializer_list<QWidget*>{frules, Form2, FOpen})
        if (w)
            w->hide();
    QMainWindow::closeEvent(event);
}

} // namespace qmx
