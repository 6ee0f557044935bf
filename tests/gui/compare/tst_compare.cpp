// The compare chooser and the result window over small reports written for
// each test: the chooser's list and ticks, "&Ok", the grid with its marks,
// window matching, the Keys-list side effect, closing, the menu state, and
// differences only, F8 / Shift+F8, the baseline choice, the summary line,
// Ctrl+C and the CSV export.
#include "fakeprompts.h"
#include "named.h"
#include "testframe.h"

#include "gui/compare/cmpreslt.h"
#include "gui/compare/compare.h"
#include "gui/compare/comparemodel.h"
#include "gui/report/childwin.h"
#include "gui/report/prgres.h"
#include "gui/shell/fopenfrm.h"
#include "gui/shell/mainform.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QFile>
#include <QGuiApplication>
#include <QLabel>
#include <QListView>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

using namespace qmx;

namespace {

const QString kSettings = QStringLiteral(QMX_TEST_DATA "/gui/settings.ini");
const QColor kRed(255, 0, 0), kBlue(0, 0, 255);

struct App : TestApp {
    App() : TestApp(kSettings) {}
    // Opens a report the way "&Open QMXScan Output" does.
    TForm1* open(const QString& path)
    {
        prompts->openAnswers << path;
        main->FileOpen1Execute();
        return qobject_cast<TForm1*>(main->activeChild());
    }
    TfrmCompare* chooser() const { return main->compareChooser(); }
    void tickAll()
    {
        for (qsizetype i = 0; i < main->compareList().size(); ++i)
            main->compareList().setTicked(i, true);
    }
    // Writes one report per text (named as given, else r1.txt, r2.txt, ...),
    // opens and ticks them all, and compares them.
    TfrmCompareResults* compareTexts(const QList<QByteArray>& texts, const QStringList& names = {})
    {
        for (qsizetype i = 0; i < texts.size(); ++i)
            open(write(i < names.size() ? names[i] : QStringLiteral("r%1.txt").arg(i + 1),
                       texts[i]));
        tickAll();
        return compare();
    }
    TfrmCompareResults* compare()
    {
        chooser()->BitBtn1Click();
        return qobject_cast<TfrmCompareResults*>(main->activeChild());
    }
    void activate(ChildWindow* child)
    {
        main->mdiArea()->setActiveSubWindow(qobject_cast<QMdiSubWindow*>(child->parentWidget()));
    }
};

QTableView* gridOf(TfrmCompareResults* w)
{
    return w->findChild<QTableView*>(QStringLiteral("StringAlignGrid1"));
}

// The grid shown, one string a row: "KEY|cell,cell|marks" with a mark a
// cell: r red font, b blue background, x both, . neither.
QStringList shown(const QTableView* grid)
{
    const QAbstractItemModel* m = grid->model();
    QStringList out;
    for (int r = 0; r < m->rowCount(); ++r) {
        QStringList cells;
        QString marks;
        for (int c = 0; c < m->columnCount(); ++c) {
            const QModelIndex i = m->index(r, c);
            cells << i.data().toString();
            const bool red = i.data(Qt::ForegroundRole).value<QBrush>().color() == kRed;
            const bool blue = i.data(Qt::BackgroundRole).value<QBrush>().color() == kBlue;
            marks += red ? (blue ? 'x' : 'r') : (blue ? 'b' : '.');
        }
        out << m->headerData(r, Qt::Vertical).toString() + '|' + cells.join(',') + '|' + marks;
    }
    return out;
}

QStringList headers(const QTableView* grid)
{
    QStringList out;
    for (int c = 0; c < grid->model()->columnCount(); ++c)
        out << grid->model()->headerData(c, Qt::Horizontal).toString();
    return out;
}

QStringList items(const QListWidget* list)
{
    QStringList out;
    for (int i = 0; i < list->count(); ++i)
        out << list->item(i)->text();
    return out;
}

const QByteArray kA = "[S]\r\nA=ON\r\nB=1\r\n[T]\r\nC=x\r\n";
const QByteArray kB = "[S]\r\nA=On\r\nK=v\r\n[T]\r\nC=x\r\n";

} // namespace

class TstCompare : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void chooserIsCreatedHiddenAfterTheOpenKindChooser()
    {
        App app;
        TfrmCompare* c = app.chooser();
        QVERIFY(c);
        QVERIFY(!c->isVisible());
        QCOMPARE(c->windowTitle(), QStringLiteral("Compare"));
        const QObjectList kids = app.main->children();
        QVERIFY(kids.indexOf(app.main->fopen()) < kids.indexOf(c));
        QVERIFY(kids.indexOf(c) < kids.indexOf(app.main->progressWindow()));
        named<QAction>(app.main.get(), "Compare1")->trigger();
        QVERIFY(c->isVisible());
        QVERIFY(!c->isModal());
        c->BitBtn2Click();
        QVERIFY(!c->isVisible());
        named<QAction>(app.main.get(), "Compare1")->trigger();
        c->close();
        QVERIFY(!c->isVisible());
        QCOMPARE(app.main->compareChooser(), c);
    }

    void listTicksAndTheOkButton()
    {
        App app;
        TfrmCompare* c = app.chooser();
        QCOMPARE(named<QListView>(c, "CheckListBox1")->model(), &app.main->compareList());
        const QString a = app.write("a.txt", kA);
        const QString missing = app.dir.filePath("missing.txt");
        TForm1* first = app.open(a);
        app.open(missing);
        TForm1* again = app.open(a);
        QCOMPARE(app.main->compareList().paths(), QStringList({a, missing, a}));
        QVERIFY(!named<QPushButton>(c, "BitBtn1")->isEnabled());

        // A tick given in the list view lands in the compare list.
        const QModelIndex second = named<QListView>(c, "CheckListBox1")->model()->index(1, 0);
        QVERIFY(named<QListView>(c, "CheckListBox1")
                    ->model()
                    ->setData(second, Qt::Checked, Qt::CheckStateRole));
        QCOMPARE(app.main->compareList().tickedPaths(), QStringList({missing}));
        QVERIFY(named<QPushButton>(c, "BitBtn1")->isEnabled());

        // Ticks survive hiding and showing the chooser.
        named<QAction>(app.main.get(), "Compare1")->trigger();
        c->BitBtn2Click();
        named<QAction>(app.main.get(), "Compare1")->trigger();
        QCOMPARE(app.main->compareList().tickedPaths(), QStringList({missing}));

        // Closing a window removes the first equal entry, with its tick,
        // whichever window of that caption closes.
        app.main->compareList().setTicked(2, true);
        again->parentWidget()->close();
        QCOMPARE(app.main->compareList().paths(), QStringList({missing, a}));
        QCOMPARE(app.main->compareList().tickedPaths(), QStringList({missing, a}));
        app.main->compareList().setTicked(0, false);
        QVERIFY(named<QPushButton>(c, "BitBtn1")->isEnabled());
        app.main->compareList().setTicked(1, false);
        QVERIFY(!named<QPushButton>(c, "BitBtn1")->isEnabled());
        c->BitBtn1Click(); // not offered: nothing happens
        QTRY_COMPARE(app.main->childWindows().size(), 2);
        Q_UNUSED(first);
    }

    void okOpensANewResultWindowEachTime()
    {
        App app;
        const QString a = app.write("a.txt", kA), b = app.write("b.txt", kB);
        app.main->resize(1280, 1024); // room for the window's own size
        app.open(a);
        app.open(b);
        app.main->compareList().setTicked(1, true);
        named<QAction>(app.main.get(), "Compare1")->trigger();
        TfrmCompareResults* one = app.compare();
        TfrmCompareResults* two = app.compare();
        QVERIFY(one && two && one != two);
        QVERIFY(app.chooser()->isVisible());
        QCOMPARE(one->windowTitle(), QStringLiteral("Compare Results"));
        QCOMPARE(one->parentWidget()->size(), QSize(696, 480));
        QCOMPARE(headers(gridOf(one)), QStringList({b}));
        QCOMPARE(gridOf(one)->columnWidth(0), 300);
        QVERIFY(
            !(gridOf(one)->model()->flags(gridOf(one)->model()->index(0, 0)) & Qt::ItemIsEditable));
        // Result windows count among the children that number a new file.
        app.main->FileNew1Execute();
        QCOMPARE(app.main->activeChild()->caption(), QStringLiteral("NONAME5"));
        // Closing one asks nothing and frees it.
        QPointer<TfrmCompareResults> gone(one);
        one->parentWidget()->close();
        QTRY_VERIFY(gone.isNull());
        QVERIFY(app.prompts->confirms.isEmpty());
        QCOMPARE(app.main->childWindows().size(), 4);
    }

    void gridRowsCellsAndMarks()
    {
        App app;
        TfrmCompareResults* w = app.compareTexts({kA, kB});
        QCOMPARE(headers(gridOf(w)),
                 QStringList({app.dir.filePath("r1.txt"), app.dir.filePath("r2.txt")}));
        QCOMPARE(shown(gridOf(w)),
                 QStringList({"S;A|ON,On|.r", "S;B|1,|.x", "T;C|x,x|..", "S;K|,v|br"}));
        QCOMPARE(w->findChild<QLabel*>(QStringLiteral("Summary"))->text(),
                 QStringLiteral("3 of 4 rows differ"));
        QVERIFY(app.prompts->errors.isEmpty());
    }

    void windowsAreMatchedByCaption()
    {
        App app;
        const QString a = app.write("a.txt", kA), b = app.write("b.txt", kB);
        const QString missing = app.dir.filePath("missing.txt");
        // The same report twice: two equal columns without red.
        app.open(a);
        app.open(a);
        app.tickAll();
        QCOMPARE(shown(gridOf(app.compare())),
                 QStringList({"S;A|ON,ON|..", "S;B|1,1|..", "T;C|x,x|.."}));
        // A window for a missing file: an empty column on blue.
        app.open(missing);
        app.main->compareList().setTicked(0, false);
        app.main->compareList().setTicked(1, false);
        app.main->compareList().setTicked(2, true);
        QCOMPARE(headers(gridOf(app.compare())), QStringList({missing}));
        QCOMPARE(shown(gridOf(app.compare())), QStringList());
        // An editor carrying a report's caption is not a report window.
        app.main->NewEditorChild(b);
        app.main->compareList().append(b);
        app.main->compareList().setTicked(2, false);
        app.main->compareList().setTicked(3, true);
        QCOMPARE(shown(gridOf(app.compare())), QStringList());
        // Two report windows of one caption: rows from both, values from the later.
        app.write("b.txt", kA);
        app.open(b);
        app.write("b.txt", kB);
        app.open(b);
        app.main->compareList().setTicked(3, false);
        app.main->compareList().setTicked(4, true);
        QCOMPARE(shown(gridOf(app.compare())),
                 QStringList({"S;A|On|.", "S;B||b", "T;C|x|.", "S;K|v|."}));
    }

    void keysListShowsTheLastSectionVisited()
    {
        App app;
        const QString a = app.write("a.txt", "[One]\r\nk1=1\r\n[Two]\r\nk2=2\r\nk3=3\r\n");
        TForm1* f = app.open(a);
        named<QListWidget>(f, "ListBox1")->setCurrentRow(0);
        f->ListBox1Click();
        const QString label = named<QLabel>(f, "Label11")->text();
        app.tickAll();
        app.compare();
        QCOMPARE(items(named<QListWidget>(f, "ListBox2")), QStringList({"k2", "k3"}));
        QCOMPARE(named<QLabel>(f, "Label11")->text(), label);
    }

    void resultWindowLeavesTheMenuState()
    {
        App app;
        const QString a = app.write("a.txt", kA);
        TForm1* f = app.open(a);
        app.tickAll();
        TfrmCompareResults* w = app.compare();
        app.main->NewEditorChild(app.dir.filePath("new.ini"));
        auto states = [&] {
            QList<bool> out;
            for (const char* name : {"FileSave1", "FileSaveAs1", "RunRun1", "Compare1"})
                out << named<QAction>(app.main.get(), name)->isEnabled();
            return out;
        };
        const QList<bool> editor = states();
        app.activate(w);
        QCOMPARE(states(), editor);
        app.activate(f);
        const QList<bool> report = states();
        app.activate(w);
        QCOMPARE(states(), report);
    }

    void differencesOnlyBaselineAndSummary()
    {
        App app;
        TfrmCompareResults* w =
            app.compareTexts({"[S]\r\nA=1\r\nB=x\r\nC=1\r\n", "[S]\r\nA=2\r\nB=x\r\nC=1\r\n",
                              "[S]\r\nA=2\r\nB=x\r\nC=2\r\n"});
        auto* only = w->findChild<QCheckBox*>(QStringLiteral("DifferencesOnly"));
        auto* baseline = w->findChild<QComboBox*>(QStringLiteral("BaselineChoice"));
        auto* summary = w->findChild<QLabel*>(QStringLiteral("Summary"));
        QVERIFY(!only->isChecked());
        QCOMPARE(baseline->currentIndex(), 0);
        QCOMPARE(shown(gridOf(w)),
                 QStringList({"S;A|1,2,2|.rr", "S;B|x,x,x|...", "S;C|1,1,2|..r"}));
        only->setChecked(true);
        QCOMPARE(shown(gridOf(w)), QStringList({"S;A|1,2,2|.rr", "S;C|1,1,2|..r"}));
        QCOMPARE(summary->text(), QStringLiteral("2 of 3 rows differ"));
        baseline->setCurrentIndex(1);
        QCOMPARE(shown(gridOf(w)), QStringList({"S;A|1,2,2|r..", "S;C|1,1,2|..r"}));
        only->setChecked(false);
        QCOMPARE(shown(gridOf(w)).size(), 3);
        QCOMPARE(summary->text(), QStringLiteral("2 of 3 rows differ"));
    }

    void nextAndPreviousDifference()
    {
        App app;
        TfrmCompareResults* w =
            app.compareTexts({"[S]\r\nA=1\r\nB=x\r\nC=1\r\n", "[S]\r\nA=2\r\nB=x\r\nC=2\r\n"});
        QTableView* g = gridOf(w);
        QApplication::setActiveWindow(app.main.get());
        g->setFocus();
        auto current = [g] { return QPoint(g->currentIndex().column(), g->currentIndex().row()); };
        g->setCurrentIndex(QModelIndex());
        QTest::keyClick(g, Qt::Key_F8);
        QCOMPARE(current(), QPoint(1, 0));
        QTest::keyClick(g, Qt::Key_F8);
        QCOMPARE(current(), QPoint(1, 2));
        QTest::keyClick(g, Qt::Key_F8); // the last one: it stays
        QCOMPARE(current(), QPoint(1, 2));
        QTest::keyClick(g, Qt::Key_F8, Qt::ShiftModifier);
        QCOMPARE(current(), QPoint(1, 0));
        // With the majority baseline column 1 can be red too; a tie keeps
        // the first report's value, so column 2 stays marked.
        w->findChild<QComboBox*>(QStringLiteral("BaselineChoice"))->setCurrentIndex(1);
        g->setCurrentIndex(g->model()->index(0, 0));
        w->nextDifference();
        QCOMPARE(current(), QPoint(1, 0));
    }

    void ctrlCCopiesTheSelectedCells()
    {
        App app;
        QTableView* g = gridOf(app.compareTexts({"[S]\r\nA=1\r\nB=x\r\n", "[S]\r\nA=2\r\nB=\r\n"}));
        g->selectAll();
        QTest::keyClick(g, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("1\t2\nx\t"));
        g->clearSelection();
        g->selectionModel()->select(g->model()->index(1, 1), QItemSelectionModel::Select);
        QTest::keyClick(g, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QGuiApplication::clipboard()->text(), QString());

        // The report window's check grids copy their selection the same way.
        const QString r =
            app.write("r.txt", "[R]\r\nK1=REGISTRY;v1;DEFAULT\r\nK2=REGISTRY;v2;NON-DEFAULT\r\n");
        TForm1* f = app.open(r);
        auto* registry = named<QTableView>(f, "StringGrid1");
        registry->selectAll();
        QTest::keyClick(registry, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QGuiApplication::clipboard()->text().count(QLatin1Char('\n')), 1);
        QVERIFY(QGuiApplication::clipboard()->text().contains(QStringLiteral("v1\tDEFAULT")));
    }

    void exportCsvWritesTheGridShown()
    {
        App app;
        TfrmCompareResults* w = app.compareTexts(
            {"[S]\r\nA=1\r\nB=\"q\"\r\nC=\x80\r\n", "[S]\r\nA=1\r\nB=\"q\"\r\nC=y\r\n"},
            {"a,1.txt", "b.txt"});
        const QString a = app.dir.filePath("a,1.txt"), b = app.dir.filePath("b.txt");
        const QString out = app.dir.filePath("out.csv");
        app.prompts->saveAnswers << out;
        w->findChild<QPushButton*>(QStringLiteral("ExportCsv"))->click();
        QCOMPARE(app.prompts->saves.size(), 1);
        QFile f(out);
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QString header = ",\"" + a + "\"," + b + "\r\n";
        QCOMPARE(QString::fromUtf8(f.readAll()),
                 header + "S;A,1,1\r\nS;B,\"\"\"q\"\"\",\"\"\"q\"\"\"\r\nS;C,\u20ac,y\r\n");
        f.close();
        // Differences only: only what is shown. A cancelled dialog writes nothing.
        w->findChild<QCheckBox*>(QStringLiteral("DifferencesOnly"))->setChecked(true);
        app.prompts->saveAnswers << out << std::nullopt;
        w->exportCsv();
        w->exportCsv();
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(QString::fromUtf8(f.readAll()), header + "S;C,\u20ac,y\r\n");
        // A failed write is reported and leaves no file.
        const QString bad = app.dir.filePath("no-such-dir/out.csv");
        app.prompts->saveAnswers << bad;
        w->exportCsv();
        QCOMPARE(app.prompts->errors.size(), 1);
        QVERIFY(!QFile::exists(bad));
    }
};

QTEST_MAIN(TstCompare)
#include "tst_compare.moc"
