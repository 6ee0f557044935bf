// The report window over a small report: pages, General fields, grids and
// their colours, the coloured Config Text, browsing, attached files, the
// Suggestions page and the progress window.
#include "fakeprompts.h"
#include "named.h"
#include "testframe.h"

#include "core/rules/interpreter.h"
#include "gui/report/checkgrid.h"
#include "gui/report/childwin.h"
#include "gui/report/prgres.h"
#include "gui/rules/rules.h"
#include "gui/shell/mainform.h"
#include "gui/shell/workspace.h"
#include "gui/support/lineview.h"
#include "gui/support/longload.h"
#include "gui/support/textcodec.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFocusEvent>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

using namespace qmx;

namespace {

const QString kReport = QStringLiteral(QMX_TEST_DATA "/gui/report1.txt");
const QString kSettings = QStringLiteral(QMX_TEST_DATA "/gui/settings.ini");

const QColor kRed(255, 0, 0), kGreen(0, 128, 0), kYellow(255, 255, 0), kBlue(0, 0, 255),
    kWhite(255, 255, 255), kBlack(0, 0, 0);

struct App : TestApp {
    explicit App(const QStringList& args = {}, const QString& settings = kSettings)
        : TestApp(settings, args)
    {}
};

QStringList tabCaptions(const QTabWidget* tabs)
{
    QStringList out;
    for (int i = 0; i < tabs->count(); ++i)
        out << tabs->tabText(i);
    return out;
}

QStringList listItems(const QListWidget* list)
{
    QStringList out;
    for (int i = 0; i < list->count(); ++i)
        out << list->item(i)->text();
    return out;
}

QVariant cell(const QTableView* grid, int row, int col, int role = Qt::DisplayRole)
{
    return grid->model()->data(grid->model()->index(row, col), role);
}

QColor colourOf(const QVariant& v)
{
    return v.isValid() ? v.value<QBrush>().color() : QColor();
}

// A main window whose progress display counts and calls onStep after every
// step, and path, a report of the given number of keys in sections of 100.
struct Recording : ProgressDisplay, App {
    std::function<void()> onStep = [] {};
    int max = 0, pos = 0, finished = 0;
    const QString path = dir.filePath(QStringLiteral("large.txt"));
    explicit Recording(int keys)
    {
        main->workspace().setProgressDisplay(this);
        QFile f(path);
        f.open(QIODevice::WriteOnly);
        for (int k = 0; k < keys; ++k) {
            if (k % 100 == 0)
                f.write(QStringLiteral("[Section%1]\r\n").arg(k / 100).toLatin1());
            f.write(QStringLiteral("Key%1=Value%1\r\n").arg(k).toLatin1());
        }
    }
    void start() override {}
    void finish() override { ++finished; }
    void setMaximum(int maximum) override { max = maximum; }
    void step() override { ++pos, onStep(); }
};

} // namespace

class TstReportWindow : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void pagesWithAndWithoutDebug()
    {
        const QStringList all = {"General", "Config Text",    "Sections",    "Registry Keys",
                                 "Files",   "Attached Files", "Suggestions", "Variables"};
        {
            App app;
            TForm1* f = app.main->NewReportChild(kReport);
            QCOMPARE(tabCaptions(named<QTabWidget>(f, "PageControl1")), all.mid(0, 7));
            QTRY_VERIFY(!f->findChild<QWidget*>(QStringLiteral("ListBox4")));
            QCOMPARE(named<QTabWidget>(f, "PageControl1")->currentWidget(),
                     named<QWidget>(f, "TabSheet1"));
        }
        {
            App app({"/d"});
            TForm1* f = app.main->NewReportChild(kReport);
            QCOMPARE(tabCaptions(named<QTabWidget>(f, "PageControl1")), all);
            const QStringList vars =
                named<LineView>(f, "ListBox4")->toPlainText().split(QLatin1Char('\n'));
            QVERIFY(vars.contains(QStringLiteral("%OS%=WIN98")));
            QVERIFY(vars.contains(QStringLiteral("%RUNS%=1")));
            QCOMPARE(vars.count(QStringLiteral("%OWNER%=J Smith")), 2);
            QStringList sorted = vars;
            std::sort(sorted.begin(), sorted.end(), [](const QString& a, const QString& b) {
                return QString::compare(a, b, Qt::CaseInsensitive) < 0;
            });
            QCOMPARE(vars, sorted);
            // The trace lines of debug mode reach the Suggestions text.
            QVERIFY(named<LineView>(f, "Output")->toPlainText().contains(QStringLiteral("Rule: ")));
        }
    }

    void generalPage()
    {
        App app;
        // Room for the window at the size it opens at.
        app.main->resize(1000, 800);
        QTest::qWait(0);
        TForm1* f = app.main->NewReportChild(kReport);
        QCOMPARE(named<QLineEdit>(f, "Edit1")->text(), QStringLiteral("12/03/1999"));
        QCOMPARE(named<QLineEdit>(f, "Edit2")->text(), QStringLiteral("10:15:00"));
        QCOMPARE(named<QLineEdit>(f, "Edit3")->text(), QStringLiteral("WS-ACCOUNTS-7"));
        QCOMPARE(named<QLineEdit>(f, "Edit4")->text(), QStringLiteral("Windows 98;4.10.1998"));
        QCOMPARE(named<QLineEdit>(f, "Edit5")->text(), QStringLiteral("64 MB"));
        QCOMPARE(named<QLineEdit>(f, "Edit6")->text(), QStringLiteral("Pentium II"));
        QCOMPARE(named<QLineEdit>(f, "Edit7")->text(), QStringLiteral("jsmith"));
        QCOMPARE(named<QLineEdit>(f, "Edit9")->text(), QStringLiteral("3 days"));
        QCOMPARE(named<QComboBox>(f, "ComboBox1")->count(), 2);
        QCOMPARE(named<QComboBox>(f, "ComboBox1")->currentText(),
                 QStringLiteral("Intel EtherExpress Pro"));
        QCOMPARE(f->size(), QSize(644, 398));
        QVERIFY(app.prompts->errors.isEmpty());
    }

    void progressWindow()
    {
        App app;
        TForm2* p = app.main->progressWindow();
        app.main->NewReportChild(kReport);
        QVERIFY(!p->isVisible());
        QCOMPARE(p->windowTitle(), QStringLiteral("Processing File"));
        QCOMPARE(p->size(), QSize(449, 32));
        QVERIFY(p->windowFlags() & Qt::WindowStaysOnTopHint);
        // Placed with its centre over the main window's centre.
        const QPoint mainCentre = app.main->frameGeometry().center();
        const QPoint ownCentre = p->frameGeometry().center();
        QVERIFY2((mainCentre - ownCentre).manhattanLength() <= 4,
                 qPrintable(QStringLiteral("%1,%2").arg(ownCentre.x()).arg(ownCentre.y())));
        const QProgressBar* bar = named<QProgressBar>(p, "ProgressBar1");
        QCOMPARE(bar->value(), bar->maximum());
    }

    void progressEndsWhenTheWindowIsReady()
    {
        Recording app(3000);
        QList<bool> readyAtEnd;
        app.onStep = [&] {
            if (app.pos < app.max)
                return;
            auto* f = qobject_cast<TForm1*>(app.main->workspace().documents().value(0));
            readyAtEnd << (f
                           && named<QTabWidget>(f, "PageControl1")->currentWidget()
                                  == named<QWidget>(f, "TabSheet1"));
        };
        app.main->NewReportChild(app.path);
        QCOMPARE(readyAtEnd, QList<bool>{true});
        QCOMPARE(app.finished, 1);
    }

    // Closing the window while its report opens stops the load at its next
    // pump, with no error; the window takes its compare entry with it.
    void closeDuringOpenStopsTheLoad()
    {
        Recording app(40000);
        int askedAt = -1;
        QPointer<ChildWindow> child;
        app.onStep = [&] {
            if (askedAt >= 0 || app.pos < app.max / 10)
                return;
            askedAt = app.pos;
            child = app.main->workspace().documents().value(0);
            child->parentWidget()->close();
        };
        app.prompts->openAnswers << app.path;
        named<QAction>(app.main.get(), "FileOpen1")->trigger();
        QVERIFY(askedAt > 0);
        QVERIFY2(app.pos - askedAt < app.max / 10, qPrintable(QString::number(app.pos - askedAt)));
        QTRY_VERIFY(child.isNull());
        QVERIFY(app.main->compareList().paths().isEmpty());
        QVERIFY(app.prompts->errors.isEmpty());
    }

    void registryGrid()
    {
        App app;
        TForm1* f = app.main->NewReportChild(kReport);
        const QTableView* g = named<QTableView>(f, "StringGrid1");
        QCOMPARE(g->model()->columnCount(), 3);
        QCOMPARE(g->model()->headerData(1, Qt::Horizontal).toString(), QStringLiteral("Value"));
        QCOMPARE(g->model()->rowCount(), 4);
        QCOMPARE(g->columnWidth(0), 372);
        QCOMPARE(g->columnWidth(2), 115);

        // Missing key with an unknown verdict: stays red.
        QCOMPARE(cell(g, 0, 1).toString(), QStringLiteral("Registry Key/Value not found"));
        QCOMPARE(colourOf(cell(g, 0, 0, Qt::BackgroundRole)), kRed);
        // DEFAULT: white row, green verdict.
        QCOMPARE(colourOf(cell(g, 1, 2, Qt::BackgroundRole)), kWhite);
        QCOMPARE(colourOf(cell(g, 1, 2, Qt::ForegroundRole)), kGreen);
        QCOMPARE(colourOf(cell(g, 1, 0, Qt::ForegroundRole)), kBlack);
        // NON-DEFAULT: yellow row.
        QCOMPARE(colourOf(cell(g, 2, 1, Qt::BackgroundRole)), kYellow);
        // Value holding ";" and a blue ASSUMED DEFAULT verdict.
        QCOMPARE(cell(g, 3, 1).toString(), QStringLiteral("a;b"));
        QCOMPARE(colourOf(cell(g, 3, 2, Qt::ForegroundRole)), kBlue);
        QVERIFY(g->horizontalHeader()->sectionsMovable());
    }

    void filesGrid()
    {
        App app;
        TForm1* f = app.main->NewReportChild(kReport);
        const QTableView* g = named<QTableView>(f, "StringGrid2");
        QCOMPARE(g->model()->columnCount(), 10);
        QStringList headers;
        for (int c = 0; c < 10; ++c)
            headers << g->model()->headerData(c, Qt::Horizontal).toString();
        QCOMPARE(headers, QStringList({"Name", "Full Name", "Size", "Date", "Time", "Company",
                                       "Internal File Version", "Internal Name", "Product Version",
                                       "Default"}));
        QCOMPARE(g->model()->rowCount(), 3);
        QCOMPARE(cell(g, 0, 0).toString(), QStringLiteral("Kernel"));
        QCOMPARE(cell(g, 0, 2).toString(), QStringLiteral("471040"));
        QCOMPARE(cell(g, 0, 9).toString(), QStringLiteral("NEWER"));
        QCOMPARE(colourOf(cell(g, 0, 5, Qt::BackgroundRole)), kGreen);
        QCOMPARE(cell(g, 1, 1).toString(), QStringLiteral("C:\\WINDOWS\\SYSTEM\\VREDIR.VXD"));
        QCOMPARE(cell(g, 1, 2).toString(), QString());
        QCOMPARE(colourOf(cell(g, 1, 9, Qt::BackgroundRole)), kRed);
        QCOMPARE(colourOf(cell(g, 2, 0, Qt::BackgroundRole)), kYellow);
        QCOMPARE(g->columnWidth(1), 198);
        QCOMPARE(g->columnWidth(9), 122);
    }

    void emptyWindowGrids()
    {
        App app;
        const QString path = app.dir.filePath(QStringLiteral("none.txt"));
        TForm1* f = app.main->NewReportChild(path);
        QCOMPARE(named<QStatusBar>(f, "StatusBar1")->currentMessage(),
                 QStringLiteral("File not found: ") + path);
        // The header row and one empty row, as before any load.
        QCOMPARE(named<QTableView>(f, "StringGrid1")->model()->rowCount(), 1);
        QCOMPARE(named<QTableView>(f, "StringGrid2")->model()->rowCount(), 1);
        QCOMPARE(named<QListWidget>(f, "ListBox1")->count(), 0);
        QCOMPARE(named<QListWidget>(f, "ListBox3")->count(), 0);
    }

    void configTextColours()
    {
        App app;
        TForm1* f = app.main->NewReportChild(kReport);
        LineView* t = named<LineView>(f, "RichEdit1");
        named<QTabWidget>(f, "PageControl1")->setCurrentWidget(named<QWidget>(f, "TabSheet2"));
        QCOMPARE(t->lineCount(), 30);
        QCOMPARE(t->lineText(3), QStringLiteral("Name=COMPUTERNAME;WS-ACCOUNTS-7"));
        QCOMPARE(t->colourAt(0, 0), kRed);     // [General]
        QCOMPARE(t->colourAt(15, 0), kGreen);  // Shell=REGISTRY
        QCOMPARE(t->colourAt(18, 0), kGreen);  // Proto_0=REGISTRY_MULTIVALUE
        QCOMPARE(t->colourAt(21, 0), kBlue);   // Kernel=FILE
        QVERIFY(!t->colourAt(3, 0).isValid()); // plain entry
        QCOMPARE(t->caretPosition(), 0);
        QVERIFY(!t->hasSelection());
    }

    void sectionAndKeyBrowsing()
    {
        App app;
        TForm1* f = app.main->NewReportChild(kReport);
        QCOMPARE(listItems(named<QListWidget>(f, "ListBox1")),
                 QStringList({"General", "Network", "Registry", "Files", "Attached"}));
        QCOMPARE(named<QLabel>(f, "Label10")->text(), QStringLiteral("Sections: 5"));

        named<QListWidget>(f, "ListBox1")->setCurrentRow(2);
        QCOMPARE(listItems(named<QListWidget>(f, "ListBox2")),
                 QStringList({"Run", "Shell", "Cache", "Tz", "Proto_0", "Proto_1"}));
        QCOMPARE(named<QLabel>(f, "Label11")->text(), QStringLiteral("Keys: 6"));
        QVERIFY(named<LineView>(f, "Memo1")
                    ->toPlainText()
                    .startsWith(QStringLiteral(
                        "Run=REGISTRY;Registry Key/Value not found;MISSING\nShell=")));

        named<QListWidget>(f, "ListBox2")->setCurrentRow(3);
        QCOMPARE(named<LineView>(f, "Edit10")->toPlainText(),
                 QStringLiteral("a;b;ASSUMED DEFAULT"));
        named<QListWidget>(f, "ListBox2")->setCurrentRow(1);
        QCOMPARE(named<LineView>(f, "Edit10")->toPlainText(),
                 QStringLiteral("explorer.exe;DEFAULT"));

        // A new section leaves the value field alone.
        named<QListWidget>(f, "ListBox1")->setCurrentRow(1);
        QCOMPARE(listItems(named<QListWidget>(f, "ListBox2")), QStringList({"Card1", "Card2"}));
        QCOMPARE(named<LineView>(f, "Edit10")->toPlainText(),
                 QStringLiteral("explorer.exe;DEFAULT"));

        f->loadasection(QStringLiteral("files"));
        QCOMPARE(listItems(named<QListWidget>(f, "ListBox2")),
                 QStringList({"Kernel", "Vredir", "Msnp"}));
        QCOMPARE(named<QLabel>(f, "Label11")->text(), QStringLiteral("Keys: 2"));
        QCOMPARE(f->LoadaValue(QStringLiteral("GENERAL"), QStringLiteral("cpu")),
                 QStringLiteral("CPU;Pentium II"));
        QCOMPARE(f->LoadaValue(QStringLiteral("General"), QStringLiteral("nokey")), QString());
    }

    void attachedFiles()
    {
        App app;
        TForm1* f = app.main->NewReportChild(kReport);
        QCOMPARE(listItems(named<QListWidget>(f, "ListBox3")),
                 QStringList({"Autoexec", "Config", "Broken"}));
        // The list taking the focus chooses nothing.
        named<QTabWidget>(f, "PageControl1")->setCurrentWidget(named<QWidget>(f, "TabSheet6"));
        QFocusEvent focus(QEvent::FocusIn, Qt::TabFocusReason);
        QApplication::sendEvent(named<QListWidget>(f, "ListBox3"), &focus);
        QCOMPARE(named<QListWidget>(f, "ListBox3")->currentRow(), 0);
        QCOMPARE(named<LineView>(f, "memo2")->toPlainText(), QString());

        named<QListWidget>(f, "ListBox3")->setCurrentRow(0);
        QCOMPARE(named<LineView>(f, "memo2")->toPlainText(),
                 QStringLiteral("@ECHO OFF\nPATH C:\\WINDOWS\n"));
        QCOMPARE(named<LineView>(f, "memo2")->lineCount(), 3);

        named<QListWidget>(f, "ListBox3")->setCurrentRow(1);
        QCOMPARE(named<LineView>(f, "memo2")->toPlainText(), QStringLiteral("FILE NOT FOUND!!!"));
        QVERIFY(app.prompts->errors.isEmpty());

        named<QListWidget>(f, "ListBox3")->setCurrentRow(2);
        QCOMPARE(app.prompts->errors, QStringList({"'two' is not a valid integer value"}));
        QCOMPARE(named<LineView>(f, "memo2")->toPlainText(), QString());
        QVERIFY(!QApplication::overrideCursor());
    }

    void wordWrapToggle()
    {
        App app;
        TForm1* f = app.main->NewReportChild(kReport);
        QVERIFY(named<QCheckBox>(f, "CheckBox1")->isChecked());
        QVERIFY(named<LineView>(f, "Output")->wordWrap());
        QCOMPARE(named<LineView>(f, "Output")->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
        QCOMPARE(named<LineView>(f, "Output")->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);

        named<QTabWidget>(f, "PageControl1")->setCurrentWidget(named<QWidget>(f, "TabSheet7"));
        QTest::mouseClick(named<QCheckBox>(f, "CheckBox1"), Qt::LeftButton, {},
                          QPoint(4, named<QCheckBox>(f, "CheckBox1")->height() / 2));
        QVERIFY(!named<QCheckBox>(f, "CheckBox1")->isChecked());
        QVERIFY(!named<LineView>(f, "Output")->wordWrap());
        QCOMPARE(named<LineView>(f, "Output")->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
        QCOMPARE(named<LineView>(f, "Output")->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);

        named<QCheckBox>(f, "CheckBox1")->click();
        QVERIFY(named<LineView>(f, "Output")->wordWrap());
    }

    void suggestionsAndReprocess()
    {
        App app;
        TForm1* f = app.main->NewReportChild(kReport);
        QCOMPARE(named<LineView>(f, "Output")->toPlainText(),
                 QStringLiteral("NAME WS-ACCOUNTS-7\n\nWINDOWS 98 FOUND\n"));

        // The SET of the first run is still there: the first rule now fires.
        named<QPushButton>(f, "Button1")->click();
        QCOMPARE(named<LineView>(f, "Output")->toPlainText(),
                 QStringLiteral("SECOND RUN\n\nNAME WS-ACCOUNTS-7\n\nWINDOWS 98 FOUND\n"));

        // The editor's text runs, saved or not.
        named<QPlainTextEdit>(app.main->rules(), "Memo1")
            ->setPlainText(QStringLiteral("PRINT \"EDITED\";"));
        named<QPushButton>(f, "Button1")->click();
        QCOMPARE(named<LineView>(f, "Output")->toPlainText(), QStringLiteral("EDITED\n"));
        QVERIFY(app.prompts->errors.isEmpty());
    }

    void unreadableReportKeepsTheWindow()
    {
        App app;
        // A directory exists but cannot be read as a report.
        TForm1* f = app.main->NewReportChild(app.dir.path());
        QCOMPARE(app.prompts->errors.size(), 1);
        QVERIFY(!app.prompts->errors.first().isEmpty());
        // It is there, only unreadable: the error says so, not the status bar.
        QCOMPARE(named<QStatusBar>(f, "StatusBar1")->currentMessage(), QString());
        QCOMPARE(app.main->childWindows().size(), 1);
        QVERIFY(!f->loading());
        QVERIFY(!app.main->progressWindow()->isVisible());
        QVERIFY(!QApplication::overrideCursor());
    }

    // A FIFO would block the window for ever if it were opened for reading.
    void irregularFilesAreRefused()
    {
        App app;
        const QString fifo = app.dir.filePath(QStringLiteral("fifo.txt"));
        QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
        app.main->NewReportChild(fifo);
        QCOMPARE(
            app.prompts->errors,
            QStringList{
                QStringLiteral("Cannot open file \"%1\": it is not a regular file").arg(fifo)});
        QVERIFY(!QApplication::overrideCursor());
    }

    // A 10 MB line is shown and copied whole by every view it reaches, the
    // debug mode's Variables page included, without stalling the window.
    void longLineReachesEveryViewWhole()
    {
        App app({"/d"});
        const std::string longValue(10'000'000, 'v');
        const std::string text =
            "[General]\r\nMemory=TOTALMEMORY;" + longValue + "\r\nCPU=CPU;486\r\n";
        const QString path = app.dir.filePath(QStringLiteral("long.txt"));
        QFile out(path);
        QVERIFY(out.open(QIODevice::WriteOnly));
        out.write(text.data(), qint64(text.size()));
        out.close();
        TForm1* f = app.main->NewReportChild(path);
        QVERIFY(f->lastLoadMaxGapNs() < 1'000'000'000);
        LineView* t = named<LineView>(f, "RichEdit1");
        QCOMPARE(t->lineText(1).size(), qsizetype(19 + longValue.size()));
        t->selectAll();
        QTest::keyClick(t, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(
            QApplication::clipboard()->text(),
            QString::fromStdString("[General]\nMemory=TOTALMEMORY;" + longValue + "\nCPU=CPU;486"));

        // Edit > Copy reaches the view with the focus.
        named<QListWidget>(f, "ListBox1")->setCurrentRow(0);
        LineView* keys = named<LineView>(f, "Memo1");
        named<QTabWidget>(f, "PageControl1")->setCurrentWidget(named<QWidget>(f, "TabSheet3"));
        QApplication::setActiveWindow(app.main.get());
        keys->setFocus();
        QTRY_COMPARE(QApplication::focusWidget(), keys);
        keys->selectRange(0, 7);
        named<QAction>(app.main.get(), "EditCopy1")->trigger();
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("Memory="));
        QCOMPARE(keys->lineText(0).size(), qsizetype(19 + longValue.size()));
        named<QListWidget>(f, "ListBox2")->setCurrentRow(0);
        QCOMPARE(named<LineView>(f, "Edit10")->toPlainText(), QString::fromStdString(longValue));
        for (int page = 0; page < named<QTabWidget>(f, "PageControl1")->count(); ++page) {
            named<QTabWidget>(f, "PageControl1")->setCurrentIndex(page);
            QApplication::processEvents();
        }
    }

    // Each sample report shows exactly what the core loader makes of it.
    void samplesMatchTheCore_data()
    {
        QTest::addColumn<QString>("path");
        const QDir samples(QStringLiteral(QMX_SAMPLES));
        // Workstation reports only; the server samples are another kind.
        for (const QString& name : samples.entryList({QStringLiteral("ws-*.txt")}))
            QTest::newRow(qPrintable(name)) << samples.filePath(name);
    }
    void samplesMatchTheCore()
    {
        QFETCH(QString, path);
        App app({}, QStringLiteral(QMX_SAMPLES "/QMXRead.ini"));
        TForm1* f = app.main->NewReportChild(path);
        QVERIFY(app.prompts->errors.isEmpty());

        ReportDocument doc;
        const std::string rules = app.main->rules()->ruleText();
        QVERIFY(!rules.empty());
        LoadOptions options;
        options.runRules = [&](ReportDocument& d) {
            runRules(d.variables, d.suggestions, false, rules);
        };
        loadall(doc, fromQString(path), options);

        QCOMPARE(named<QLineEdit>(f, "Edit3")->text(), toQString(doc.general.name));
        QCOMPARE(named<QLineEdit>(f, "Edit4")->text(), toQString(doc.general.os));
        QCOMPARE(listItems(named<QListWidget>(f, "ListBox1")), toQStringList(doc.sections));
        QCOMPARE(listItems(named<QListWidget>(f, "ListBox3")), toQStringList(doc.attached));
        QCOMPARE(named<LineView>(f, "Output")->toPlainText(),
                 toQStringList(doc.suggestions).join(QLatin1Char('\n')));
        QVERIFY(!doc.suggestions.empty());

        const std::pair<const QTableView*, const CheckTable*> grids[] = {
            {named<QTableView>(f, "StringGrid1"), &doc.registry},
            {named<QTableView>(f, "StringGrid2"), &doc.files}};
        for (const auto& [grid, table] : grids) {
            QCOMPARE(size_t(grid->model()->rowCount()), table->rows.size());
            for (size_t c = 0; c < table->columns; ++c)
                QCOMPARE(grid->model()->headerData(int(c), Qt::Horizontal).toString(),
                         toQString(table->header[c]));
            for (size_t r = 0; r < table->rows.size(); ++r) {
                const GridRow& row = table->rows[r];
                const int gr = int(r);
                for (size_t c = 0; c < table->columns; ++c) {
                    const int gc = int(c);
                    const QString text = c < row.cells.size() ? toQString(row.cells[c]) : QString();
                    QCOMPARE(cell(grid, gr, gc).toString(), text);
                    const QColor bg = colourOf(cell(grid, gr, gc, Qt::BackgroundRole));
                    QCOMPARE(bg,
                             row.background == Colour::None ? QColor() : toQColor(row.background));
                    const Colour fg = c < row.colors.size() ? row.colors[c] : Colour::None;
                    QCOMPARE(colourOf(cell(grid, gr, gc, Qt::ForegroundRole)),
                             fg == Colour::None ? QColor() : toQColor(fg));
                }
            }
        }

        const LineView* text = named<LineView>(f, "RichEdit1");
        QCOMPARE(size_t(text->lineCount()), doc.lines.size());
        QVERIFY(!doc.textColours.empty());
        for (const TextColour& t : doc.textColours) {
            const int line = int(t.atLine);
            QCOMPARE(text->lineText(line), toQString(doc.lines[t.atLine]));
            QVERIFY2(text->colourAt(line, int(t.column)) == toQColor(t.color)
                         && text->colourAt(line, int(t.column + t.length - 1)) == toQColor(t.color),
                     qPrintable(toQString(doc.lines[t.line])));
        }
    }
};

QTEST_MAIN(TstReportWindow)
#include "tst_reportwindow.moc"
