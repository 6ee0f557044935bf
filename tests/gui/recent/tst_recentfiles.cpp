// The recent-file entries of the File menu, their storage in the settings
// file, and files dropped on the main window.
#include "fakeprompts.h"
#include "named.h"
#include "testframe.h"

#include "gui/recent/recentmenu.h"
#include "gui/report/childwin.h"
#include "gui/scanedit/qmxgen.h"
#include "gui/server/srvcfg.h"
#include "gui/shell/mainform.h"

#include <QAction>
#include <QDir>
#include <QDropEvent>
#include <QFile>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMimeData>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

using namespace qmx;

namespace {

const QString kReport = QStringLiteral(QMX_TEST_DATA "/gui/report1.txt");

struct App {
    FakePrompts* prompts = nullptr;
    std::unique_ptr<TMainForm> main;
    QTemporaryDir dir;

    QString path(const char* name) const { return dir.filePath(QLatin1String(name)); }
    QString settings() const { return path("QMXRead.ini"); }
    // A copy of the test report (or an empty file) under name in the scratch
    // directory.
    QString file(const char* name, bool report = true) const
    {
        const QString p = path(name);
        if (report)
            QFile::copy(kReport, p);
        else {
            QFile f(p);
            f.open(QIODevice::WriteOnly);
        }
        return p;
    }
    void start(const QByteArray& settingsText = {})
    {
        if (!settingsText.isEmpty()) {
            QFile f(settings());
            f.open(QIODevice::WriteOnly);
            f.write(settingsText);
        }
        main = startMainForm(prompts, settings());
    }
    QMenu* fileMenu() const { return named<QMenu>(main.get(), "File1"); }
    // The File menu's entries after E&xit, separators as "-".
    QStringList recentEntries() const
    {
        const auto actions = fileMenu()->actions();
        QStringList out;
        bool after = false;
        for (QAction* a : actions) {
            if (after)
                out << (a->isSeparator() ? QStringLiteral("-") : a->text());
            after = after || a->objectName() == QLatin1String("FileExit1");
        }
        return out;
    }
    QStringList captions() const
    {
        QStringList out;
        for (QMdiSubWindow* w : main->mdiArea()->subWindowList())
            out << w->windowTitle();
        return out;
    }
};

QByteArray settingsWith(const QString& section)
{
    return ("[QMXREAD_PARAMETERS]\r\nDefault_Rule_Set=Default\r\n\r\n" + section).toUtf8();
}

// Drags data over the main window and drops it there, as a file manager
// does; true when the window took the drag.
bool dropOn(TMainForm& main, QMimeData& data)
{
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, {});
    QApplication::sendEvent(&main, &enter);
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, {});
    QApplication::sendEvent(&main, &drop);
    return enter.isAccepted();
}

} // namespace

class TstRecentFiles : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void entriesFollowTheFixedOnesNewestFirst()
    {
        App app;
        const QString r1 = app.file("new&est.txt"), r2 = app.file("older.txt");
        const QString q = app.file("scan.ini", false), s = app.path("server.txt");
        app.start(settingsWith("[RECENT_FILES]\r\nReport1=" + r1 + "\r\nReport2=" + r2
                               + "\r\nServer1=" + s + "\r\nInput1=" + q + "\r\n"));
        const auto actions = app.fileMenu()->actions();
        QCOMPARE(actions.at(4)->objectName(), QStringLiteral("FileSave1"));
        QCOMPARE(actions.at(5)->objectName(), QStringLiteral("FileSaveAs1"));
        QString shownR1 = r1;
        shownR1.replace(QLatin1Char('&'), QLatin1String("&&"));
        // Groups in kind order, one numbering across them.
        QCOMPARE(app.recentEntries(),
                 QStringList({"-", "&1 " + shownR1, "&2 " + r2, "-", "&3 " + q, "-", "&4 " + s}));
        QCOMPARE(named<QAction>(app.fileMenu(), "MRUFileList1Item2")->text(), "&2 " + r2);
        QCOMPARE(named<QAction>(app.fileMenu(), "MRUFileList3Item1")->statusTip(),
                 "Open the server report " + s);
    }

    void deepPathIsCutInTheMiddleButOpensWhole()
    {
        App app;
        const QString deep = QStringLiteral("/deep") + QStringLiteral("/folder").repeated(40)
                             + QStringLiteral("/last-name.txt");
        app.start(settingsWith("[RECENT_FILES]\r\nReport1=" + deep + "\r\n"));
        QAction* entry = named<QAction>(app.fileMenu(), "MRUFileList1Item1");
        QVERIFY(entry->text().startsWith(QStringLiteral("&1 /deep/folder")));
        QVERIFY(entry->text().endsWith(QStringLiteral("/last-name.txt")));
        QVERIFY(entry->text().size() < deep.size() / 2);
        QCOMPARE(entry->statusTip(), "Open the workstation report " + deep);
        entry->trigger();
        QCOMPARE(app.captions(), QStringList({deep}));
        QCOMPARE(app.main->compareList().paths(), QStringList({deep}));
    }

    void reportEntryJoinsTheCompareListAndMovesToTheFront()
    {
        App app;
        const QString a = app.file("a.txt"), b = app.file("b.txt");
        app.start(settingsWith("[RECENT_FILES]\r\nReport1=" + a + "\r\nReport2=" + b + "\r\n"));
        app.main->compareList().append(b);
        named<QAction>(app.fileMenu(), "MRUFileList1Item2")->trigger();
        QCOMPARE(app.captions(), QStringList({b}));
        QVERIFY(qobject_cast<TForm1*>(app.main->activeChild()));
        // Appended again even though already listed, as the Open command does.
        QCOMPARE(app.main->compareList().paths(), QStringList({b, b}));
        QCOMPARE(app.recentEntries(), QStringList({"-", "&1 " + b, "&2 " + a}));
        QVERIFY(app.prompts->errors.isEmpty());
    }

    void missingFileOpensAnEmptyWindowAndLeavesTheList()
    {
        App app;
        const QString gone = app.path("gone.ini"), kept = app.file("kept.ini", false);
        app.start(settingsWith("[RECENT_FILES]\r\nInput1=" + gone + "\r\nInput2=" + kept + "\r\n"));
        named<QAction>(app.fileMenu(), "MRUFileList2Item1")->trigger();
        auto* editor = qobject_cast<TCFGGen*>(app.main->activeChild());
        QVERIFY(editor);
        QCOMPARE(editor->caption(), gone);
        QVERIFY(editor->filePath().isEmpty());
        QCOMPARE(app.recentEntries(), QStringList({"-", "&1 " + kept}));
        QVERIFY(app.main->compareList().paths().isEmpty());
        QVERIFY(app.prompts->errors.isEmpty());
    }

    void serverEntryOpensAServerWindowOutsideTheCompareList()
    {
        App app;
        const QString server = app.path("srv.txt"), gone = app.path("srv-gone.txt");
        QFile::copy(QStringLiteral(QMX_SAMPLES "/srv-main.txt"), server);
        app.start(
            settingsWith("[RECENT_FILES]\r\nServer1=" + gone + "\r\nServer2=" + server + "\r\n"));
        named<QAction>(app.fileMenu(), "MRUFileList3Item2")->trigger();
        QVERIFY(qobject_cast<Tsrvrcfg*>(app.main->activeChild()));
        QCOMPARE(app.recentEntries(), QStringList({"-", "&1 " + server, "&2 " + gone}));
        named<QAction>(app.fileMenu(), "MRUFileList3Item2")->trigger();
        QVERIFY(qobject_cast<Tsrvrcfg*>(app.main->activeChild()));
        QCOMPARE(app.captions(), QStringList({server, gone}));
        QCOMPARE(app.recentEntries(), QStringList({"-", "&1 " + server}));
        QVERIFY(app.main->compareList().paths().isEmpty());
        QVERIFY(app.prompts->errors.isEmpty());
        // A folder is there but cannot be read as a report: not listed.
        QVERIFY(QDir().mkdir(app.path("dir.txt")));
        app.prompts->openAnswers << app.path("dir.txt");
        app.main->OpenServerConfigText1Click();
        QCOMPARE(app.prompts->errors.size(), 1);
        QCOMPARE(app.recentEntries(), QStringList({"-", "&1 " + server}));
    }

    void openedFilesAreStoredWithTheSettingsAtExit()
    {
        App app;
        const QString report = app.file("x_01.txt"), input = app.file("x_1.ini", false);
        app.start();
        app.prompts->openAnswers << report << input << app.path("missing.txt");
        app.main->FileOpen1Execute();
        app.main->OpenQMXScanini1Click();
        app.main->FileOpen1Execute();
        QCOMPARE(app.recentEntries(), QStringList({"-", "&1 " + report, "-", "&2 " + input}));
        app.main.reset();
        QFile f(app.settings());
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QByteArray text = f.readAll();
        QVERIFY2(text.contains(
                     ("[RECENT_FILES]\r\nReport1=" + report + "\r\nInput1=" + input + "\r\n\r\n")
                         .toUtf8()),
                 text.constData());
    }

    void droppedFilesOpenByName_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("editor");
        QTest::newRow("report") << "a.txt" << false;
        QTest::newRow("upper-case ini") << "B.INI" << true;
        QTest::newRow("mixed-case ini") << "c.iNi" << true;
        QTest::newRow("ini before the extension") << "d.ini.txt" << false;
        QTest::newRow("longer extension") << "e.inix" << false;
        QTest::newRow("no dot") << "fini" << false;
        QTest::newRow("several dots") << "g.x.ini" << true;
    }

    void droppedFilesOpenByName()
    {
        QFETCH(QString, name);
        QFETCH(bool, editor);
        App app;
        const QString path = app.file(name.toUtf8().constData(), !editor);
        app.start();
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(path)});
        QVERIFY(dropOn(*app.main, data));
        QCOMPARE(app.captions(), QStringList({path}));
        ChildWindow* child = app.main->activeChild();
        QCOMPARE(qobject_cast<TCFGGen*>(child) != nullptr, editor);
        QCOMPARE(qobject_cast<TForm1*>(child) != nullptr, !editor);
        QCOMPARE(app.main->compareList().paths(), editor ? QStringList() : QStringList({path}));
        QCOMPARE(app.recentEntries(), QStringList({"-", "&1 " + path}));
    }

    void dropOfSeveralFilesOpensEachInOrder()
    {
        App app;
        const QString a = app.file("a.txt"), b = app.file("b.ini", false);
        app.start();
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(a), QUrl::fromLocalFile(b)});
        QVERIFY(dropOn(*app.main, data));
        QCOMPARE(app.captions(), QStringList({a, b}));
    }

    void dropWithoutLocalFilesIsRefused()
    {
        App app;
        app.start();
        QMimeData text;
        text.setText(QStringLiteral("/tmp/a.txt"));
        QMimeData remote;
        remote.setUrls({QUrl(QStringLiteral("https://example.com/a.txt")),
                        QUrl::fromLocalFile(app.file("b.txt"))});
        for (QMimeData* data : {&text, &remote})
            QVERIFY(!dropOn(*app.main, *data));
        QVERIFY(app.captions().isEmpty());
    }
};

QTEST_MAIN(TstRecentFiles)
#include "tst_recentfiles.moc"
