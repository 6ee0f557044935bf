// The Findings window over report windows opened for each test: the grid's
// headers, marks and evidence tips, sorting, activation of a report on a
// double-click, the comparison with a folder of older reports, the CSV
// export through the prompts, and the two commands that open the window.
#include "named.h"
#include "testframe.h"

#include "gui/compare/compare.h"
#include "gui/fleet/findingsmodel.h"
#include "gui/fleet/findingswin.h"
#include "gui/report/childwin.h"
#include "gui/rules/rules.h"
#include "gui/rules/settingsmodel.h"

#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QTest>

using namespace qmx;

namespace {

const QString kSettings = QStringLiteral(QMX_TEST_DATA "/gui/settings.ini");

QByteArray report(const char* computer, const char* memory)
{
    return QByteArray("[Workstation]\r\nName=COMPUTERNAME;") + computer + "\r\nMemory=TOTALMEMORY;"
           + memory + "\r\n";
}

// Three reports open: PC1 just under the limit, PC2 at it, PC3 well under it.
struct App : TestApp {
    App() : TestApp(kSettings)
    {
        // Typed into the editor, never saved.
        main->workspace().settings()->setEditorLines(
            {"IF (%TOTALMEMORY%<65536) THEN PRINT \"LOW\";", "PRINT \"ALL\";"});
        open(QStringLiteral("pc1.txt"), report("PC1", "65535"));
        open(QStringLiteral("pc2.txt"), report("PC2", "65536"));
        open(QStringLiteral("pc3.txt"), report("PC3", "32180"));
    }
    void open(const QString& name, const QByteArray& text)
    {
        prompts->openAnswers << write(name, text);
        main->FileOpen1Execute();
    }
    FindingsWindow* findings() { return main->NewFindingsChild(); }
    static QTableView* gridOf(FindingsWindow* w) { return named<QTableView>(w, "FindingsGrid"); }
    QString path(const char* name) const { return dir.filePath(QLatin1String(name)); }
};

// The cell of the row holding text under the column headed caption.
QModelIndex cellOf(QTableView* grid, const QString& text, const QString& caption)
{
    QAbstractItemModel* m = grid->model();
    for (int r = 0; r < m->rowCount(); ++r) {
        if (m->index(r, FindingsModel::kTextColumn).data().toString() != text)
            continue;
        for (int c = 0; c < m->columnCount(); ++c)
            if (m->headerData(c, Qt::Horizontal).toString() == caption)
                return m->index(r, c);
    }
    return {};
}

QStringList textColumn(QTableView* grid)
{
    QStringList texts;
    for (int r = 0; r < grid->model()->rowCount(); ++r)
        texts << grid->model()->index(r, FindingsModel::kTextColumn).data().toString();
    return texts;
}

} // namespace

class TestFindings : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void gridShowsMarksWithEvidence()
    {
        App app;
        // A window whose file went away after it opened cannot be read again.
        app.open(QStringLiteral("gone.txt"), report("GONE", "1"));
        QFile::remove(app.path("gone.txt"));
        QTableView* grid = app.gridOf(app.findings());
        QCOMPARE(grid->model()->columnCount(), FindingsModel::kFirstReport + 3);

        const struct {
            const char *finding, *report, *mark, *tip;
        } cases[] = {
            {"LOW", "pc1.txt", "X", "%TOTALMEMORY%=65535"},
            {"LOW", "pc2.txt", "", ""},
            {"LOW", "pc3.txt", "X", "%TOTALMEMORY%=32180"},
            {"ALL", "pc2.txt", "X", "No condition decided this finding."},
        };
        for (const auto& c : cases) {
            const QModelIndex cell = cellOf(grid, QLatin1String(c.finding), app.path(c.report));
            QVERIFY2(cell.isValid(), c.report);
            QCOMPARE(cell.data().toString(), QLatin1String(c.mark));
            QCOMPARE(cell.data(Qt::ToolTipRole).toString(), QLatin1String(c.tip));
        }
        // Count descending at first.
        QCOMPARE(textColumn(grid), QStringList({"ALL", "LOW"}));
        auto* summary = named<QLabel>(grid->window(), "Summary");
        QVERIFY(summary->text().contains(QStringLiteral("1 report(s) could not be read")));
        QVERIFY(summary->toolTip().contains(app.path("gone.txt")));
    }

    void headerClicksSortByCountOrText()
    {
        App app;
        app.open(QStringLiteral("pc4.txt"), report("PC4", "1"));
        app.main->workspace().settings()->setEditorLines(
            {"IF (%TOTALMEMORY%<65536) THEN PRINT \"B\";", "PRINT \"C\";",
             "IF (%COMPUTERNAME%=PC4) THEN PRINT \"A\";",
             "IF (%COMPUTERNAME%=PC3) THEN PRINT \"D\";"});
        QTableView* grid = app.gridOf(app.findings());
        // Equal counts stay in text order whichever way the counts go.
        const struct {
            int column;
            Qt::SortOrder order;
            QStringList expected;
        } cases[] = {
            {FindingsModel::kTextColumn, Qt::AscendingOrder, {"A", "B", "C", "D"}},
            {FindingsModel::kTextColumn, Qt::DescendingOrder, {"D", "C", "B", "A"}},
            {FindingsModel::kCountColumn, Qt::AscendingOrder, {"A", "D", "B", "C"}},
            {FindingsModel::kCountColumn, Qt::DescendingOrder, {"C", "B", "A", "D"}},
        };
        for (const auto& c : cases) {
            grid->horizontalHeader()->setSortIndicator(c.column, c.order);
            QCOMPARE(textColumn(grid), c.expected);
        }
        // The selected row moves with its finding.
        grid->selectRow(0);
        grid->horizontalHeader()->setSortIndicator(FindingsModel::kTextColumn, Qt::AscendingOrder);
        QCOMPARE(grid->currentIndex().row(), 2);
    }

    void doubleClickBringsTheReportForward()
    {
        App app;
        auto* pc1 = qobject_cast<TForm1*>(app.main->childWindows().at(0));
        auto* pages = named<QTabWidget>(pc1, "PageControl1");
        pages->setCurrentIndex(0);
        FindingsWindow* w = app.findings();
        QTableView* grid = app.gridOf(w);
        const struct {
            const char *finding, *report;
            bool activates;
        } cases[] = {
            {"LOW", "pc2.txt", false}, // an empty cell
            {"LOW", "pc1.txt", true},
        };
        for (const auto& c : cases) {
            app.main->mdiArea()->setActiveSubWindow(
                qobject_cast<QMdiSubWindow*>(w->parentWidget()));
            Q_EMIT grid->doubleClicked(cellOf(grid, QLatin1String(c.finding), app.path(c.report)));
            QCOMPARE(app.main->activeChild() == pc1, c.activates);
        }
        QCOMPARE(pages->currentWidget()->objectName(), QStringLiteral("TabSheet7"));

        // A report closed since the run: nothing to activate, nothing breaks.
        app.main->mdiArea()->setActiveSubWindow(qobject_cast<QMdiSubWindow*>(pc1->parentWidget()));
        app.main->mdiArea()->closeActiveSubWindow();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        app.main->mdiArea()->setActiveSubWindow(qobject_cast<QMdiSubWindow*>(w->parentWidget()));
        Q_EMIT grid->doubleClicked(cellOf(grid, QStringLiteral("LOW"), app.path("pc1.txt")));
        QCOMPARE(app.main->activeChild(), w);
    }

    void olderFolderMarksNewAndFixed()
    {
        App app;
        QDir(app.dir.path()).mkdir(QStringLiteral("old"));
        app.write(QStringLiteral("old/pc1.txt"), report("PC1", "65536"));
        app.write(QStringLiteral("old/pc2.txt"), report("pc2", "100")); // names match case-blind
        app.write(QStringLiteral("old/pc3.txt"), report("PC3", "32180"));
        FindingsWindow* w = app.findings();
        app.prompts->folderAnswers << app.path("old");
        named<QPushButton>(w, "CompareFolder")->click();
        QTableView* grid = app.gridOf(w);
        const struct {
            const char *report, *mark;
        } cases[] = {{"pc1.txt", "new"}, {"pc2.txt", "fixed"}, {"pc3.txt", "X"}};
        for (const auto& c : cases)
            QCOMPARE(cellOf(grid, QStringLiteral("LOW"), app.path(c.report)).data().toString(),
                     QLatin1String(c.mark));
        QVERIFY(!w->running());
    }

    void exportWritesTheMatrixWhereAsked()
    {
        App app;
        FindingsWindow* w = app.findings();
        const QString target = app.path("out.csv");
        app.prompts->saveAnswers << std::nullopt << target;
        auto* button = named<QPushButton>(w, "ExportCsv");
        button->click(); // cancelled
        QVERIFY(!QFile::exists(target));
        button->click();
        QFile f(target);
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QList<QByteArray> lines = f.readAll().split('\n');
        QCOMPARE(lines.value(0).trimmed(), QByteArray("path,computer,ALL,LOW"));
        QVERIFY(lines.value(2).trimmed().endsWith(",PC2,1,0"));
        QCOMPARE(app.prompts->errors, QStringList());
    }

    void rulesPageAndCompareDialogOpenTheWindow()
    {
        App app;
        const std::pair<QWidget*, const char*> buttons[] = {
            {app.main->rules(), "TestOnReports"},
            {app.main->compareChooser(), "FindingsButton"},
        };
        for (const auto& [dialog, name] : buttons) {
            const auto before = app.main->childWindows().size();
            named<QPushButton>(dialog, name)->click();
            QVERIFY2(qobject_cast<FindingsWindow*>(app.main->activeChild()), name);
            // The window is no document of its own.
            QCOMPARE(app.main->childWindows().size(), before + 1);
        }
    }
};

QTEST_MAIN(TestFindings)
#include "tst_findings.moc"
