// The server report window: its pages and controls before a load, a sample
// report shown exactly as the core parses it, the missing and unreadable
// file cases, and a close asked for while the window loads.
#include "fakeprompts.h"
#include "named.h"

#include "core/server/serverreport.h"
#include "gui/report/childwin.h"
#include "gui/scanedit/qmxgen.h"
#include "gui/server/srvcfg.h"
#include "gui/shell/mainform.h"
#include "gui/support/lineview.h"
#include "gui/support/textcodec.h"

#include <QAction>
#include <QDir>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QScrollBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

using namespace qmx;

namespace {

const QString kMain = QStringLiteral(QMX_SAMPLES "/srv-main.txt");

struct App {
    FakePrompts* prompts = nullptr;
    std::unique_ptr<TMainForm> main;

    App()
    {
        auto p = std::make_unique<FakePrompts>();
        prompts = p.get();
        main = std::make_unique<TMainForm>(QStringList{}, std::move(p));
    }
    QAction* fileEntry(int index) const
    {
        const auto actions = named<QMenu>(main.get(), "File1")->actions();
        return index < actions.size() ? actions.at(index) : nullptr;
    }
    // Save, Save As, Run and Compare.
    QList<bool> states() const
    {
        return {fileEntry(4)->isEnabled(), fileEntry(5)->isEnabled(),
                named<QAction>(main.get(), "RunRun1")->isEnabled(),
                named<QAction>(main.get(), "Compare1")->isEnabled()};
    }
    void activate(QWidget* child)
    {
        main->mdiArea()->setActiveSubWindow(qobject_cast<QMdiSubWindow*>(child->parentWidget()));
    }
};

QStringList items(const QListWidget* list)
{
    QStringList out;
    for (int i = 0; i < list->count(); ++i)
        out << list->item(i)->text();
    return out;
}

QStringList headers(const QTreeWidget* t)
{
    QStringList out;
    for (int c = 0; c < t->columnCount(); ++c)
        out << t->headerItem()->text(c) + QLatin1Char('/') + QString::number(t->columnWidth(c));
    return out;
}

QList<QStringList> rows(const QTreeWidget* t)
{
    QList<QStringList> out;
    for (int r = 0; r < t->topLevelItemCount(); ++r) {
        QStringList cells;
        for (int c = 0; c < t->columnCount(); ++c)
            cells << t->topLevelItem(r)->text(c);
        out << cells;
    }
    return out;
}

template <class Rows> QList<QStringList> coreRows(const Rows& rs)
{
    QList<QStringList> out;
    for (const auto& row : rs) {
        QStringList cells;
        for (const std::string_view c : row)
            cells << toQString(c);
        out << cells;
    }
    return out;
}

QStringList texts(const TextLines& lines)
{
    QStringList out;
    for (const std::string_view l : lines)
        out << toQString(l);
    return out;
}

QString memoText(const TextLines& lines)
{
    return texts(lines).join(QLatin1Char('\n'));
}

bool isEmptyWindow(const Tsrvrcfg& w)
{
    bool empty = w.ListBox1->count() == 0 && w.ListBox2->count() == 0
                 && w.ListView1->topLevelItemCount() == 0 && w.ListView2->topLevelItemCount() == 0
                 && w.Label2->text() == QLatin1String("Other ZLMs:");
    for (const LineView* m : {w.Memo1, w.Memo2, w.Memo3, w.Memo4, w.Memo5})
        empty = empty && m->toPlainText().isEmpty();
    for (const QLineEdit* e : {w.Edit1, w.Edit2, w.Edit3, w.Edit4, w.Edit5, w.Edit6})
        empty = empty && e->text().isEmpty();
    for (int k = 0; k < 5; ++k)
        empty = empty && w.panelText(k).isEmpty();
    return empty;
}

} // namespace

class TestServerWindow : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void pagesAndControlsBeforeLoading()
    {
        App app;
        Tsrvrcfg w(app.main->workspace());
        QStringList captions;
        for (int i = 0; i < w.PageControl1->count(); ++i)
            captions << w.PageControl1->tabText(i);
        QCOMPARE(captions.size(), 8);
        QCOMPARE(captions.at(1), QStringLiteral("Config Text"));
        QCOMPARE(captions.at(4), QStringLiteral("Vols/Ints"));
        QCOMPARE(w.PageControl1->currentIndex(), 0);
        // The three last pages hold nothing.
        for (int i = 5; i < 8; ++i)
            QVERIFY(w.PageControl1->widget(i)->children().isEmpty());

        QCOMPARE(headers(w.ListView1),
                 (QStringList{"Volume Name/150", "Volume Size/150", "Free Blocks/100",
                              "Purgable Blocks/150", "Purgable Vol Space/300"}));
        QCOMPARE(headers(w.ListView2), (QStringList{"Interrupt/70", "Device Type/150", "Driver/120",
                                                    "Mirror Status/513"}));
        QVERIFY(!w.ListView1->rootIsDecorated());

        for (const LineView* m : {w.Memo1, w.Memo2, w.Memo3, w.Memo4, w.Memo5}) {
            QVERIFY(!m->wordWrap());
            QCOMPARE(m->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
            QCOMPARE(m->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
        }
        QCOMPARE(w.Label9->text(), QStringLiteral("- Config created"));
        QCOMPARE(w.Label10->text(), QStringLiteral("- Produced by CONFIG.ZLM "));
        QVERIFY(w.findChild<QLabel*>(QStringLiteral("Label12"))
                    ->text()
                    .startsWith("Priority of Ints: 0, 1, 2/9"));
        QCOMPARE(w.findChild<QLabel*>(QStringLiteral("Label13"))->text(),
                 QStringLiteral("Click for C:AUTOEXEC.ZCF"));
        QVERIFY(isEmptyWindow(w));

        w.resize(874, 606);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        const int widths[] = {125, 84, 50, 160, 160};
        for (int k = 0; k < 5; ++k)
            QCOMPARE(w.panelWidth(k), widths[k]);
    }

    void samplesShowWhatTheCoreParses_data()
    {
        QTest::addColumn<QString>("path");
        const QDir samples(QStringLiteral(QMX_SAMPLES));
        for (const QString& name : samples.entryList({QStringLiteral("srv-*.txt")}))
            QTest::newRow(qPrintable(name)) << samples.filePath(name);
    }
    void samplesShowWhatTheCoreParses()
    {
        QFETCH(QString, path);
        App app;
        Tsrvrcfg w(app.main->workspace());
        w.loadall(path);
        QVERIFY(app.prompts->errors.isEmpty());
        const ServerReport r = loadServerReport(path.toStdString());

        const QLineEdit* edits[] = {w.Edit1, w.Edit2, w.Edit3, w.Edit4, w.Edit5, w.Edit6};
        const std::string* values[] = {&r.osVersion, &r.serverName, &r.totalMemory,
                                       &r.license,   &r.engineType, &r.internalNet};
        for (int k = 0; k < 6; ++k)
            QCOMPARE(edits[k]->text(), toQString(*values[k]));
        QCOMPARE(w.Label2->text(), toQString(r.label2));
        QCOMPARE(w.Label9->text(), toQString(r.label9));
        QCOMPARE(w.Label10->text(), toQString(r.label10));
        QCOMPARE(items(w.ListBox1), texts(r.patches));
        QCOMPARE(items(w.ListBox2), texts(r.modules));
        QCOMPARE(w.ListBox3->count(), 0);
        QCOMPARE(w.Memo1->lineCount(), static_cast<qsizetype>(r.lines.size()));
        QCOMPARE(w.Memo2->toPlainText(), memoText(r.startupZcf));
        QCOMPARE(w.Memo3->toPlainText(), memoText(r.autoexecZcf));
        QCOMPARE(w.Memo4->toPlainText(), memoText(r.configSys));
        QCOMPARE(w.Memo5->toPlainText(), memoText(r.autoexecBat));
        QCOMPARE(rows(w.ListView1), coreRows(r.volumes));
        QCOMPARE(rows(w.ListView2), coreRows(r.interrupts));
        QCOMPARE(w.panelText(0), QString());
        for (int k = 1; k < 5; ++k)
            QCOMPARE(w.panelText(k), toQString(r.status[static_cast<size_t>(k)]));
        QVERIFY(!QApplication::overrideCursor());
        QVERIFY(!app.main->busy());
    }

    void mainSampleDetails()
    {
        App app;
        Tsrvrcfg w(app.main->workspace());
        w.loadall(kMain);
        QCOMPARE(w.Edit5->text(), QStringLiteral("SMP"));
        QCOMPARE(w.Edit3->text(), QStringLiteral("256 MB"));
        QCOMPARE(w.ListView1->topLevelItemCount(), 2);
        QCOMPARE(w.ListView2->topLevelItem(2)->text(1), QStringLiteral("NE2000 Ethernet"));
        QCOMPARE(w.Memo1->lineText(0),
                 QStringLiteral("Quillon File Server Configuration Report.  [CONFIG.ZLM v2.14]"));
        QCOMPARE(w.panelText(3), QStringLiteral("1 module listing found."));
        QCOMPARE(w.PageControl1->currentIndex(), 0);
    }

    void filesThatCannotBeOpenedLeaveTheWindowEmpty_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("missing") << "missing";
        QTest::newRow("directory") << "directory";
        QTest::newRow("name with percent") << "percent";
    }
    void filesThatCannotBeOpenedLeaveTheWindowEmpty()
    {
        QFETCH(QString, kind);
        QTemporaryDir dir;
        QString path = dir.filePath(QStringLiteral("gone.txt"));
        if (kind == QLatin1String("directory"))
            path = dir.path();
        else if (kind == QLatin1String("percent"))
            path = dir.filePath(QStringLiteral("%1 %s 100%.txt"));
        App app;
        Tsrvrcfg w(app.main->workspace());
        w.loadall(path);
        QCOMPARE(app.prompts->errors, QStringList{QStringLiteral("Cannot open file ") + path});
        QVERIFY(isEmptyWindow(w));
        QVERIFY(!QApplication::overrideCursor());
        QVERIFY(!app.main->busy());
    }

    void aCloseDuringTheLoadWaitsForItsEnd()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("big.txt"));
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        for (int k = 0; k < 20000; ++k)
            f.write("Console log line\r\n");
        f.close();
        App app;
        auto* w = new Tsrvrcfg(app.main->workspace());
        w->show();
        QPointer<Tsrvrcfg> alive(w);
        bool closedEarly = false;
        QTimer::singleShot(0, w, [&] { closedEarly = w->close(); });
        w->loadall(path);
        QVERIFY(!closedEarly);
        QVERIFY(alive);
        QCOMPARE(w->panelText(1), QStringLiteral("20000 lines"));
        QTRY_VERIFY(!w->isVisible());
        delete w;
    }

    void fileMenuEntryOpensAServerWindow_data()
    {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<bool>("opens");
        QTest::addColumn<bool>("loads");
        QTest::newRow("sample") << kMain << true << true;
        QTest::newRow("cancelled") << QString() << false << false;
        QTest::newRow("missing") << QStringLiteral("/nonexistent/srv.txt") << true << false;
    }
    void fileMenuEntryOpensAServerWindow()
    {
        QFETCH(QString, answer);
        QFETCH(bool, opens);
        QFETCH(bool, loads);
        App app;
        app.main->resize(1280, 1024); // room for the window's own size
        app.main->show();
        QAction* entry = app.fileEntry(6);
        QCOMPARE(entry, named<QAction>(app.main.get(), "OpenServerConfigText1"));
        QCOMPARE(entry->text(), QStringLiteral("Open Server Config..."));
        QVERIFY(!entry->statusTip().isEmpty());
        QCOMPARE(app.fileEntry(4)->text(), QStringLiteral("&Save"));
        QCOMPARE(app.fileEntry(5)->text(), QStringLiteral("Save &As..."));
        if (!answer.isEmpty())
            app.prompts->openAnswers << answer;
        entry->trigger();

        QCOMPARE(app.prompts->opens.size(), 1);
        QCOMPARE(app.prompts->opens.first().defaultExt, QStringLiteral("*.TXT"));
        QCOMPARE(app.prompts->opens.first().filterIndex, 3);
        QVERIFY(app.prompts->errors.isEmpty());
        QCOMPARE(app.main->compareList().size(), 0);
        const auto windows = app.main->mdiArea()->subWindowList();
        QCOMPARE(windows.size(), opens ? 1 : 0);
        if (!opens)
            return;
        auto* w = qobject_cast<Tsrvrcfg*>(windows.first()->widget());
        QVERIFY(w);
        QCOMPARE(w->caption(), answer);
        QCOMPARE(windows.first()->size(), QSize(874, 606));
        QCOMPARE(w->panelText(1).isEmpty(), !loads);
        QCOMPARE(w->Edit2->text(), loads ? QStringLiteral("FS-MAIN") : QString());
    }

    // The server window leaves Save, Save As, Run and Compare as the window
    // before it set them.
    void activationLeavesTheMenuStates_data()
    {
        QTest::addColumn<QString>("before");
        QTest::addColumn<QList<bool>>("states");
        QTest::newRow("first window") << QString() << QList<bool>{false, false, false, true};
        QTest::newRow("after a report") << "report" << QList<bool>{false, true, false, true};
        QTest::newRow("after an editor") << "editor" << QList<bool>{true, true, true, false};
    }
    void activationLeavesTheMenuStates()
    {
        QFETCH(QString, before);
        QFETCH(QList<bool>, states);
        App app;
        app.main->show();
        QWidget* other = nullptr;
        if (before == QLatin1String("report"))
            other = app.main->NewReportChild(QStringLiteral("/nonexistent/report.txt"));
        else if (before == QLatin1String("editor"))
            other = app.main->NewEditorChild(QStringLiteral("NONAME1"));
        Tsrvrcfg* server = app.main->NewServerChild(kMain);
        QVERIFY(server);
        if (other)
            app.activate(other);
        QCOMPARE(app.states(), states);
        app.activate(server);
        QCOMPARE(app.main->activeChild(), server);
        QCOMPARE(app.states(), states);
        server->parentWidget()->close();
        QCOMPARE(app.states(), states);
        QVERIFY(app.prompts->confirms.isEmpty());
    }
};

QTEST_MAIN(TestServerWindow)
#include "tst_serverwindow.moc"
