// The main window: start-up, the /D switch, the menu bar and tool bar, the
// File commands and the bookkeeping of child windows.
#include "fakeprompts.h"
#include "named.h"
#include "testframe.h"

#include "core/util/error.h"
#include "gui/compare/compare.h"
#include "gui/report/childwin.h"
#include "gui/report/prgres.h"
#include "gui/rules/rules.h"
#include "gui/scanedit/qmxgen.h"
#include "gui/server/srvcfg.h"
#include "gui/shell/about.h"
#include "gui/shell/application.h"
#include "gui/shell/debugflag.h"
#include "gui/shell/fopenfrm.h"
#include "gui/shell/mainform.h"
#include "gui/shell/programicon.h"
#include "gui/support/guards.h"
#include "gui/support/mdiarrange.h"

#include <QAbstractScrollArea>
#include <QAction>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMap>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QStatusBar>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolBar>

using namespace qmx;

namespace {

const QString kReport = QStringLiteral(QMX_TEST_DATA "/gui/report1.txt");
const std::pair<ChildKind, const char*> kKinds[] = {{ChildKind::Report, "report"},
                                                    {ChildKind::ScannerInput, "editor"},
                                                    {ChildKind::ServerReport, "server"},
                                                    {ChildKind::CompareResult, "compare results"},
                                                    {ChildKind::Findings, "findings"}};

struct App : TestApp {
    explicit App(const QStringList& args = {}) : TestApp({}, args) {}
    void activate(ChildWindow* child)
    {
        main->mdiArea()->setActiveSubWindow(qobject_cast<QMdiSubWindow*>(child->parentWidget()));
    }
};

// Menu entries by the positions users know them by: top-level entries from
// 0, entries inside a menu from 0 with separators counted.
QAction* topLevelEntry(const TMainForm& m, int index)
{
    const auto actions = named<QMenuBar>(&m, "MainMenu1")->actions();
    return index >= 0 && index < actions.size() ? actions.at(index) : nullptr;
}

QAction* menuEntry(const TMainForm& m, int menu, int index)
{
    QAction* top = topLevelEntry(m, menu);
    if (!top || !top->menu())
        return nullptr;
    const auto actions = top->menu()->actions();
    return index >= 0 && index < actions.size() ? actions.at(index) : nullptr;
}

// Save, Save As, Run and Compare as the menus show them.
QList<bool> commandStates(const TMainForm& m)
{
    return {menuEntry(m, 0, 4)->isEnabled(), menuEntry(m, 0, 5)->isEnabled(),
            menuEntry(m, 2, 1)->isEnabled(), topLevelEntry(m, 4)->isEnabled()};
}

// A child that declares no command states, as a server report window does.
class QuietChild : public ChildWindow {
public:
    using ChildWindow::ChildWindow;
};

// A child that records what the frame asks of it through the common
// contract, and may refuse to close.
struct RecordingChild : ChildWindow {
    QStringList& log;
    bool allowClose;
    RecordingChild(Workspace& w, QStringList& log, bool allowClose)
        : ChildWindow(w), log(log), allowClose(allowClose)
    {}
    std::optional<CommandStates> commandStates() const override
    {
        return CommandStates{.save = true, .saveAs = true};
    }
    bool save() override { return note("save", true); }
    bool saveAs() override { return note("saveAs", true); }
    void abandonInput() override { note("abandon", true); }
    bool queryClose() override { return note("query", allowClose); }
    bool note(const char* what, bool result)
    {
        log << caption() + QLatin1Char(':') + QLatin1String(what);
        return result;
    }
};

} // namespace

class TstMainForm : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void debugSwitch_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<bool>("debug");
        QTest::newRow("none") << QStringList{} << false;
        QTest::newRow("/D") << QStringList{"/D"} << true;
        QTest::newRow("/d") << QStringList{"/d"} << true;
        QTest::newRow("twice") << QStringList{"/D", "/d"} << true;
        QTest::newRow("among others") << QStringList{"x.txt", "/d", "y"} << true;
        QTest::newRow("/DEBUG") << QStringList{"/DEBUG"} << false;
        QTest::newRow("-D") << QStringList{"-D"} << false;
        QTest::newRow("D") << QStringList{"D"} << false;
        QTest::newRow("blank around") << QStringList{" /D"} << false;
    }
    void debugSwitch()
    {
        QFETCH(QStringList, args);
        QFETCH(bool, debug);
        App app(args);
        QCOMPARE(debugFlag(), debug);
    }

    void reportPathArgumentOpensNothing()
    {
        App app({kReport});
        QVERIFY(app.main->mdiArea()->subWindowList().isEmpty());
        QCOMPARE(app.main->compareList().size(), 0);
    }

    void sharedDialogsExistHidden()
    {
        App app;
        QVERIFY(app.main->aboutBox() && !app.main->aboutBox()->isVisible());
        QVERIFY(app.main->rules() && !app.main->rules()->isVisible());
        QVERIFY(app.main->fopen() && !app.main->fopen()->isVisible());
        QVERIFY(app.main->progressWindow() && !app.main->progressWindow()->isVisible());
        QCOMPARE(app.main->windowTitle(), QStringLiteral("QMXRead"));
        QCOMPARE(app.main->aboutBox()->windowTitle(), QStringLiteral("About"));
        QCOMPARE(app.main->fopen()->windowTitle(), QStringLiteral("File type to open"));

        app.main->Options2Click();
        QVERIFY(app.main->rules()->isVisible());
        QVERIFY(!app.main->rules()->isModal());
    }

    void menuBarLayout()
    {
        App app;
        TMainForm& m = *app.main;
        const QStringList top = {"&File",    "&Edit",   "&Run", "&Options",
                                 "&Compare", "&Window", "&Help"};
        for (int i = 0; i < top.size(); ++i)
            QCOMPARE(topLevelEntry(m, i)->text(), top.at(i));
        QCOMPARE(topLevelEntry(m, 0)->statusTip(), QStringLiteral("File related commands"));
        QCOMPARE(topLevelEntry(m, 1)->statusTip(), QStringLiteral("Edit commands"));
        QCOMPARE(topLevelEntry(m, 5)->statusTip(), QStringLiteral("Window related commands"));
        QCOMPARE(topLevelEntry(m, 6)->statusTip(), QStringLiteral("Help topics"));

        struct Entry {
            int menu, index;
            const char* caption;
            const char* shortcut;
            bool enabled;
            const char* tip;
            const char* status;
        };
        const Entry entries[] = {
            {0, 0, "&New QMXScan.ini", "Ctrl+N", true, "New", "Create a new file"},
            {0, 1, "&Open QMXScan Output", "Ctrl+O", true, "Open", "Open a file"},
            {0, 2, "Open QMXScan.ini", "", true, nullptr, nullptr},
            {0, 3, "&Close", "", false, "Close", "Close current file"},
            {0, 4, "&Save", "Ctrl+S", false, "Save", "Save current file"},
            {0, 5, "Save &As...", "", false, "Save As", "Save current file with different name"},
            {0, 6, "Open Server Config...", "", true, "Open Server Config",
             "Open a server configuration report"},
            {0, 8, "E&xit", "", true, "Exit", "Exit application"},
            {1, 0, "Cu&t", "Ctrl+X", true, "Cut",
             "Cuts the selection and puts it on the Clipboard"},
            {1, 1, "&Copy", "Ctrl+C", true, "Copy",
             "Copies the selection and puts it on the Clipboard"},
            {1, 2, "&Paste", "Ctrl+V", true, "Paste", "Inserts Clipboard contents"},
            {2, 0, "&Options", "", true, nullptr, nullptr},
            {2, 1, "&Run", "Ctrl+R", false, nullptr, nullptr},
            {5, 0, "&Cascade", "", false, "Cascade", "Cascade"},
            {5, 1, "Tile &Horizontally", "", false, "Tile Horizontally", "Tile Horizontally"},
            {5, 2, "Tile &Vertically", "", false, "Tile Vertically", "Tile Vertically"},
            {5, 3, "&Minimize All", "", false, "Minimize All", "Minimize All"},
            {5, 4, "&Arrange All", "", false, "Arrange All", "Arrange All"},
            {6, 0, "&About...", "", true, "About",
             "Displays program information, version number, and copyright"},
        };
        for (const Entry& e : entries) {
            QAction* a = menuEntry(m, e.menu, e.index);
            QVERIFY2(a, e.caption);
            QCOMPARE(a->text(), QString::fromUtf8(e.caption));
            QCOMPARE(a->shortcut(), QKeySequence(QString::fromUtf8(e.shortcut)));
            QVERIFY2(a->isEnabled() == e.enabled, e.caption);
            QCOMPARE(a->statusTip(), e.status ? QString::fromUtf8(e.status) : QString());
            if (e.tip)
                QCOMPARE(a->toolTip(), QString::fromUtf8(e.tip));
        }
        QVERIFY(menuEntry(m, 0, 7)->isSeparator());
        QCOMPARE(menuEntry(m, 0, 9), nullptr);
    }

    void keyboardWalksTheMenuBar()
    {
        App app;
        QVERIFY(QTest::qWaitForWindowActive(app.main.get()));
        // A report turns every entry on; the focus is in its text.
        app.main->NewReportChild(kReport)->findChild<QAbstractScrollArea*>()->setFocus();
        auto* bar = named<QMenuBar>(app.main.get(), "MainMenu1");
        QList<QAction*> expected = bar->actions();
        expected << expected.first();
        // Opened as a click opens it; keys go to the open menu, else the focus.
        bar->setActiveAction(expected.first());
        QList<QAction*> visited{bar->activeAction()};
        for (int i = 1; i < expected.size(); ++i) {
            QWidget* popup = QApplication::activePopupWidget();
            QTest::keyClick(popup ? popup : QApplication::focusWidget(), Qt::Key_Right);
            visited << bar->activeAction();
        }
        QCOMPARE(visited, expected);
    }

    void toolBarOrder()
    {
        App app;
        TMainForm& m = *app.main;
        const QList<QAction*> expected = {named<QAction>(&m, "FileNew1"),
                                          named<QAction>(&m, "FileOpen1"),
                                          named<QAction>(&m, "FileSave1"),
                                          nullptr,
                                          named<QAction>(&m, "EditCut1"),
                                          named<QAction>(&m, "EditCopy1"),
                                          named<QAction>(&m, "EditPaste1"),
                                          nullptr,
                                          named<QAction>(&m, "WindowCascade1"),
                                          named<QAction>(&m, "WindowTileHorizontal1"),
                                          named<QAction>(&m, "WindowTileVertical1"),
                                          nullptr};
        // The long part of a hint reaches the status bar.
        named<QAction>(&m, "FileOpen1")->showStatusText(named<QToolBar>(&m, "ToolBar2"));
        QCOMPARE(named<QStatusBar>(&m, "StatusBar")->currentMessage(),
                 QStringLiteral("Open a file"));
        const QList<QAction*> actual = named<QToolBar>(&m, "ToolBar2")->actions();
        QCOMPARE(actual.size(), expected.size());
        for (int i = 0; i < expected.size(); ++i) {
            if (expected.at(i))
                QCOMPARE(actual.at(i), expected.at(i));
            else
                QVERIFY(actual.at(i)->isSeparator());
            // Pictures only, no words among them.
            QVERIFY2(!expected.at(i) || !expected.at(i)->icon().isNull(),
                     qPrintable(actual.at(i)->objectName()));
        }
    }

    void singleCommandsRunAtAClickOrTheirLetter()
    {
        App app;
        TMainForm& m = *app.main;
        auto* bar = named<QMenuBar>(&m, "MainMenu1");
        const std::pair<QAction*, QWidget*> entries[] = {{topLevelEntry(m, 3), m.rules()},
                                                         {topLevelEntry(m, 4), m.compareChooser()}};
        for (const auto& [entry, dialog] : entries)
            for (bool click : {true, false}) {
                m.activateWindow();
                QVERIFY(QTest::qWaitForWindowActive(&m));
                if (click)
                    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(entry).center());
                else
                    QTest::keyClick(&m, QKeySequence::mnemonic(entry->text())[0].key(),
                                    Qt::AltModifier);
                QTRY_VERIFY(dialog->isVisible() && !QApplication::activePopupWidget());
                dialog->hide();
            }
    }

    void everyWindowCarriesTheProgramIcon()
    {
        App app;
        for (const auto& [kind, name] : kKinds)
            app.main->newChild(kind, kReport);
        QWidgetList windows = QApplication::topLevelWidgets();
        for (QMdiSubWindow* sub : app.main->mdiArea()->subWindowList())
            windows << sub;
        QVERIFY(!programIcon().pixmap(16).isNull());
        for (int size : {16, 22, 48})
            for (QWidget* w : windows)
                QVERIFY2(w->windowIcon().pixmap(size).toImage()
                             == programIcon().pixmap(size).toImage(),
                         qPrintable(w->objectName()));
        // The About box shows it large enough to make out.
        const QPixmap shown = named<QLabel>(app.main->aboutBox(), "ProgramIcon")->pixmap();
        QVERIFY(shown.width() >= 48);
        QCOMPARE(shown.toImage(), programIcon().pixmap(shown.size()).toImage());
    }

    void openDialogData()
    {
        App app;
        app.prompts->openAnswers << std::nullopt;
        app.main->FileOpen1Execute();
        QCOMPARE(app.prompts->opens.size(), 1);
        const FileDialogOptions& dialog = app.prompts->opens.first();
        QCOMPARE(dialog.defaultExt, QStringLiteral("*.TXT"));
        QCOMPARE(dialog.filterIndex, 1);
        QCOMPARE(dialog.filter,
                 QStringLiteral("Client Config Files (*.txt)|*.txt|Client Config Generator Files "
                                "(*.ini)|*.ini|Server Config Files (*.txt)|*.txt|All Files "
                                "(*.*)|*.*"));
        // Cancelled: nothing opens.
        QVERIFY(app.main->mdiArea()->subWindowList().isEmpty());
        QCOMPARE(app.main->compareList().size(), 0);

        app.main->OpenQMXScanini1Click();
        QCOMPARE(app.prompts->opens.last().defaultExt, QStringLiteral("*.INI"));
        QCOMPARE(app.prompts->opens.last().filterIndex, 2);

        QCOMPARE(app.main->SaveDialog1().defaultExt, QStringLiteral("*.ini"));
        QCOMPARE(app.main->SaveDialog1().fileName, QStringLiteral("qmxscan.ini"));
        QCOMPARE(app.main->SaveDialog1().filter,
                 QStringLiteral("Client Config Generator Files (*.ini)|*.ini|All Files (*.*)|*.*"));
        QCOMPARE(QtPrompts::qtFilters(app.main->SaveDialog1().filter),
                 QStringList({"Client Config Generator Files (*.ini)", "All Files (*.*)"}));
    }

    void sameReportTwiceThenCloseOne()
    {
        App app;
        app.prompts->openAnswers << kReport << kReport;
        app.main->FileOpen1Execute();
        app.main->FileOpen1Execute();
        const auto windows = app.main->mdiArea()->subWindowList();
        QCOMPARE(windows.size(), 2);
        for (QMdiSubWindow* w : windows) {
            QCOMPARE(w->windowTitle(), kReport);
            QVERIFY(qobject_cast<TForm1*>(w->widget()));
        }
        QCOMPARE(app.main->compareList().paths(), QStringList({kReport, kReport}));

        windows.first()->close();
        QCOMPARE(app.main->compareList().paths(), QStringList({kReport}));
        QTRY_COMPARE(app.main->mdiArea()->subWindowList().size(), 1);
        QVERIFY(app.prompts->errors.isEmpty());
    }

    void closingRemovesOnlyItsOwnEntry()
    {
        App app;
        app.main->compareList().append(QStringLiteral("other"));
        TForm1* f = app.main->NewReportChild(kReport);
        app.main->compareList().append(kReport);
        app.main->compareList().append(kReport);
        f->parentWidget()->close();
        QCOMPARE(app.main->compareList().paths(), QStringList({"other", kReport}));
    }

    void missingFileStillOpensWindow()
    {
        App app;
        const QString missing = app.dir.filePath(QStringLiteral("nothere.txt"));
        app.prompts->openAnswers << missing;
        app.main->FileOpen1Execute();
        auto* f = qobject_cast<TForm1*>(app.main->activeChild());
        QVERIFY(f);
        QCOMPARE(f->caption(), missing);
        QCOMPARE(app.main->compareList().paths(), QStringList({missing}));
        QCOMPARE(named<QTabWidget>(f, "PageControl1")->count(), 8);
        QCOMPARE(named<QTabWidget>(f, "PageControl1")->currentWidget(),
                 named<QWidget>(f, "TabSheet5"));
        QVERIFY(app.prompts->errors.isEmpty());
    }

    void activationSetsTheFourEntries_data()
    {
        QTest::addColumn<QStringList>("activated");
        QTest::addColumn<QList<bool>>("states");
        const QList<bool> start{false, false, false, true};
        const QList<bool> report{false, true, false, true};
        const QList<bool> editor{true, true, true, false};
        QTest::newRow("quiet alone") << QStringList{"quiet"} << start;
        QTest::newRow("report") << QStringList{"report"} << report;
        QTest::newRow("editor") << QStringList{"editor"} << editor;
        QTest::newRow("editor, report") << QStringList{"editor", "report"} << report;
        QTest::newRow("report, editor") << QStringList{"report", "editor"} << editor;
        QTest::newRow("report, quiet") << QStringList{"report", "quiet"} << report;
        QTest::newRow("editor, quiet") << QStringList{"editor", "quiet"} << editor;
        QTest::newRow("editor, quiet, report")
            << QStringList{"editor", "quiet", "report"} << report;
    }
    void activationSetsTheFourEntries()
    {
        QFETCH(QStringList, activated);
        QFETCH(QList<bool>, states);
        App app;
        TMainForm& m = *app.main;
        const QMap<QString, ChildWindow*> children{
            {"report", m.NewReportChild(kReport)},
            {"editor", m.NewEditorChild(QStringLiteral("NONAME1"))},
            {"quiet", new QuietChild(m.workspace())}};
        m.mdiArea()->addSubWindow(children["quiet"])->show();
        // Creating the windows activated them; start from the initial states.
        m.mdiArea()->setActiveSubWindow(nullptr);
        for (QAction* a : {menuEntry(m, 0, 4), menuEntry(m, 0, 5), menuEntry(m, 2, 1)})
            a->setEnabled(false);
        named<QAction>(&m, "Compare1")->setEnabled(true);

        for (const QString& name : activated) {
            app.activate(children[name]);
            QCOMPARE(m.activeChild(), children[name]);
        }
        QCOMPARE(commandStates(m), states);
        if (!activated.isEmpty()) {
            QVERIFY(menuEntry(m, 0, 3)->isEnabled());
            for (int i = 0; i < 5; ++i)
                QVERIFY(menuEntry(m, 5, i)->isEnabled());
        }
    }

    void onlyReportsJoinTheCompareList()
    {
        App app;
        const QString ini = app.dir.filePath(QStringLiteral("scan.ini"));
        app.prompts->openAnswers << ini << kReport;
        app.main->OpenQMXScanini1Click();
        app.main->FileOpen1Execute();
        QCOMPARE(app.main->compareList().paths(), QStringList({kReport}));
        QCOMPARE(app.main->OpenDialog().fileName, kReport);
        QCOMPARE(app.main->mdiArea()->subWindowList().size(), 2);
    }

    void newWindowPlacement_data()
    {
        QTest::addColumn<QSize>("wanted");
        QTest::addColumn<QPoint>("previous"); // (-1, -1): no window before
        QTest::addColumn<QRect>("expected");
        const QPoint none(-1, -1);
        const QSize small(300, 200), big(874, 606);
        const QRect home(QPoint(0, 0), small);
        QTest::newRow("first at top-left") << small << none << home;
        QTest::newRow("cascades") << small << QPoint(20, 20) << QRect(40, 40, 300, 200);
        QTest::newRow("ends on the right edge")
            << small << QPoint(480, 20) << QRect(500, 40, 300, 200);
        QTest::newRow("one past the right edge wraps") << small << QPoint(481, 20) << home;
        QTest::newRow("one past the bottom wraps") << small << QPoint(20, 381) << home;
        QTest::newRow("wider than the area shrinks") << big << none << QRect(0, 0, 800, 600);
        QTest::newRow("shrunk window wraps") << big << QPoint(0, 0) << QRect(0, 0, 800, 600);
        QTest::newRow("previous moved off the top-left") << small << QPoint(-100, 10) << home;
    }

    void newWindowPlacement()
    {
        QFETCH(QSize, wanted);
        QFETCH(QPoint, previous);
        QFETCH(QRect, expected);
        const std::optional<QPoint> before =
            previous == QPoint(-1, -1) ? std::nullopt : std::optional<QPoint>(previous);
        QCOMPARE(placeNewWindow(QSize(800, 600), wanted, before, 20), expected);
    }

    void newWindowsOpenInsideTheWorkspace()
    {
        App app;
        TMainForm& m = *app.main;
        m.resize(800, 600);
        QTest::qWait(0);
        const QRect area = m.mdiArea()->viewport()->rect();
        for (int i = 0; i < 12; ++i) {
            QMdiSubWindow* sub = qobject_cast<QMdiSubWindow*>(
                (i % 3 ? m.NewEditorChild(QStringLiteral("NONAME%1").arg(i))
                       : static_cast<ChildWindow*>(m.NewServerChild(QStringLiteral("none"))))
                    ->parentWidget());
            QVERIFY2(area.contains(sub->geometry()), qPrintable(QString::number(i)));
        }
    }

    void framesFitTheirContent_data()
    {
        QTest::addColumn<int>("kind");
        for (const auto& [kind, name] : kKinds)
            QTest::newRow(name) << int(kind);
    }

    void framesFitTheirContent()
    {
        QFETCH(int, kind);
        App app;
        app.main->resize(1100, 800);
        QTest::qWait(0);
        ChildWindow* child = app.main->newChild(ChildKind(kind), kReport);
        auto* sub = qobject_cast<QMdiSubWindow*>(child->parentWidget());
        for (bool maximized : {false, true}) {
            if (maximized)
                sub->showMaximized();
            QTest::qWait(0);
            // No blank strip inside the frame; a report's pages reach its edges.
            QCOMPARE(child->geometry(), sub->contentsRect());
            QVERIFY(!maximized || sub->size() == app.main->mdiArea()->viewport()->size());
            if (auto* pages = child->findChild<QTabWidget*>(QStringLiteral("PageControl1")))
                QCOMPARE(pages->width(), child->width());
        }
    }

    void windowCommandsFollowTheChildren()
    {
        App app;
        TMainForm& m = *app.main;
        ChildWindow* c = m.NewEditorChild(QStringLiteral("NONAME1"));
        QVERIFY(named<QAction>(&m, "WindowCascade1")->isEnabled());
        named<QMenu>(&m, "Window1")->popup(QPoint(0, 0));
        QTRY_VERIFY(named<QMenu>(&m, "Window1")->isVisible());
        const auto actions = named<QMenu>(&m, "Window1")->actions();
        QCOMPARE(actions.size(), 7); // five commands, a separator, one window
        QVERIFY(actions.at(6)->text().contains(QStringLiteral("NONAME1")));
        named<QMenu>(&m, "Window1")->hide();
        c->parentWidget()->close();
        QTRY_VERIFY(!named<QAction>(&m, "WindowCascade1")->isEnabled());
        QVERIFY(!named<QAction>(&m, "FileClose1")->isEnabled());
    }

    void newFileNames()
    {
        QTemporaryDir cwd;
        const QString old = QDir::currentPath();
        QDir::setCurrent(cwd.path());
        {
            App app;
            TMainForm& m = *app.main;
            m.FileNew1Execute();
            QCOMPARE(m.activeChild()->caption(), QStringLiteral("NONAME1"));
            m.NewReportChild(QStringLiteral("missing.txt"));
            // A file of the generated name is loaded into the new window.
            QFile f(QStringLiteral("NONAME3"));
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("[Report]\r\nA=B\r\n");
            f.close();
            m.FileNew1Execute();
            auto* t = qobject_cast<TCFGGen*>(m.activeChild());
            QVERIFY(t);
            QCOMPARE(t->caption(), QStringLiteral("NONAME3"));
            QCOMPARE(named<QPlainTextEdit>(t, "RichEdit1")->toPlainText(),
                     QStringLiteral("[Report]\nA=B"));
            m.activeChild()->parentWidget()->close();
            QTRY_COMPARE(m.mdiArea()->subWindowList().size(), 2);
            m.FileNew1Execute();
            QCOMPARE(m.activeChild()->caption(), QStringLiteral("NONAME3"));
        }
        QDir::setCurrent(old);
    }

    void closingDuringALoadStopsIt()
    {
        // A report long enough that the load lets events run several times.
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("big.txt"));
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("[S]\r\n");
        for (int i = 0; i < 60000; ++i)
            f.write(QStringLiteral("K%1=REGISTRY;value %1;DEFAULT\r\n").arg(i).toLatin1());
        f.close();

        App app;
        TMainForm& m = *app.main;
        bool tried = false;
        QTimer::singleShot(0, &m, [&] {
            tried = true;
            QVERIFY(m.busy());
            m.mdiArea()->closeAllSubWindows();
            m.FileExit1Execute();
            QVERIFY(m.isVisible());
        });
        app.prompts->openAnswers << path;
        m.FileOpen1Execute();
        QVERIFY(tried);
        auto* form = qobject_cast<TForm1*>(m.activeChild());
        QVERIFY(form && !form->loading());
        QVERIFY(!form->document().loaded); // stopped where the close was asked for
        QTRY_VERIFY(m.mdiArea()->subWindowList().isEmpty());
        QCOMPARE(m.compareList().size(), 0);
        QTRY_VERIFY(!m.isVisible());
    }

    // Save, Save As and closing reach every kind of child the same way.
    void childContract_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<bool>("firstAllowsClose");
        QTest::addColumn<QStringList>("asked");
        QTest::addColumn<bool>("open");
        QTest::newRow("save") << "FileSave1" << true << QStringList{"B:save"} << true;
        QTest::newRow("save as") << "FileSaveAs1" << true << QStringList{"B:saveAs"} << true;
        QTest::newRow("close") << "FileExit1" << true
                               << QStringList{"A:abandon", "B:abandon", "A:query", "B:query"}
                               << false;
        QTest::newRow("close refused")
            << "FileExit1" << false << QStringList{"A:abandon", "B:abandon", "A:query"} << true;
    }
    void childContract()
    {
        QFETCH(QString, command);
        QFETCH(bool, firstAllowsClose);
        QFETCH(QStringList, asked);
        QFETCH(bool, open);
        App app;
        QStringList log;
        for (const auto& [name, allow] : {std::pair{"A", firstAllowsClose}, std::pair{"B", true}}) {
            auto* child = new RecordingChild(app.main->workspace(), log, allow);
            child->setWindowTitle(QLatin1String(name));
            app.main->workspace().addDocument(child);
            app.main->mdiArea()->addSubWindow(child)->show();
            app.activate(child);
        }
        named<QAction>(app.main.get(), qPrintable(command))->trigger();
        QCOMPARE(log, asked);
        QCOMPARE(app.main->isVisible(), open);
    }

    // Paths are file-system bytes, never report text: every kind opens,
    // saves and lists its files in a folder named with non-ASCII letters, and
    // the settings file there keeps the recent entries.
    void filesInAFolderWithNonAsciiLetters_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("source");
        QTest::addColumn<QString>("recentKey");
        QTest::newRow("report") << int(ChildKind::Report) << kReport << "Report1";
        QTest::newRow("server report") << int(ChildKind::ServerReport)
                                       << QStringLiteral(QMX_SAMPLES "/srv-main.txt") << "Server1";
        QTest::newRow("scanner input") << int(ChildKind::ScannerInput)
                                       << QStringLiteral(QMX_SAMPLES "/QMXScan.ini") << "Input1";
    }
    void filesInAFolderWithNonAsciiLetters()
    {
        QFETCH(int, kind);
        QFETCH(QString, source);
        QFETCH(QString, recentKey);
        QTemporaryDir dir;
        const QString folder = dir.filePath(QStringLiteral("Prüfung/Größe ÿ"));
        QVERIFY(QDir().mkpath(folder));
        const QString path = folder + QStringLiteral("/Bericht é.txt");
        QVERIFY(QFile::copy(source, path));
        FakePrompts* prompts = nullptr;
        auto main = startMainForm(prompts, folder + QStringLiteral("/QMXRead.ini"));
        prompts->openAnswers << path;
        main->openChild(static_cast<ChildKind>(kind));
        QCOMPARE(prompts->errors, QStringList());
        ChildWindow* child = main->activeChild();
        QVERIFY(child);
        QCOMPARE(child->caption(), path);
        const QString saved = folder + QStringLiteral("/Kopie ü.ini");
        prompts->saveAnswers << saved;
        QCOMPARE(child->saveAs(), kind == int(ChildKind::ScannerInput));
        QCOMPARE(QFile::exists(saved), kind == int(ChildKind::ScannerInput));
        main.reset();
        QFile settings(folder + QStringLiteral("/QMXRead.ini"));
        QVERIFY(settings.open(QIODevice::ReadOnly));
        QVERIFY(settings.readAll().contains((recentKey + QLatin1Char('=') + path).toUtf8()));
    }

    void commandErrorsReachThePrompts()
    {
        App app;
        const bool ok = guarded(app.main->prompts(), [] { throw Error("Something failed"); });
        QVERIFY(!ok);
        QCOMPARE(app.prompts->errors, QStringList({"Something failed"}));

        // An error escaping an event handler is shown, and events go on.
        auto* application = qobject_cast<Application*>(QCoreApplication::instance());
        QVERIFY(application);
        application->setMainForm(app.main.get());
        bool after = false;
        QTimer::singleShot(0, app.main.get(), [] { throw Error("Handler failed"); });
        QTimer::singleShot(5, app.main.get(), [&] { after = true; });
        QTRY_VERIFY(after);
        QCOMPARE(app.prompts->errors.last(), QStringLiteral("Handler failed"));
        application->setMainForm(nullptr);
    }
};

int main(int argc, char** argv)
{
    qmx::Application app(argc, argv);
    TstMainForm test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_mainform.moc"
