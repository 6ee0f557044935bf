// The configuration update object without any widget, against the scripted
// fake FTP server: the running state it announces, the settings file it
// reports written into a folder with non-ASCII letters, and a cancel (with a
// second run refused) while it waits. The status texts and a refused
// directory are checked through the Options dialog's FTP page.
#include "../../core/update/fakeftp.h"

#include "gui/support/filenames.h"
#include "gui/update/configupdate.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace qmx;
using namespace qmx::test;

class TestConfigUpdate : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void run_data()
    {
        QTest::addColumn<bool>("cancel");
        QTest::addColumn<QString>("error");
        QTest::newRow("both files") << false << QString();
        QTest::newRow("cancelled wait") << true << "Socket readln aborted";
    }
    void run()
    {
        QFETCH(bool, cancel);
        QFETCH(QString, error);
        // The cancelled run's server never greets.
        const auto fake =
            cancel ? std::make_unique<FakeFtpServer>(FakeStep{}, serveFiles({}))
                   : std::make_unique<FakeFtpServer>(
                       say("220 hi\r\n"), serveFiles({{"QMXRead.ini", "[QMXREAD_PARAMETERS]\r\n"},
                                                      {"QMXScan.ini", "[SCAN]\r\n"}}));
        QTemporaryDir dir;
        const QString folder = dir.filePath(QStringLiteral("Prüfung"));
        QVERIFY(QDir().mkpath(folder));
        UpdateRequest request;
        request.host = "127.0.0.1";
        request.port = fake->port();
        request.user = "tester";
        request.password = "secret";
        request.directory = "incoming";
        request.timeoutMs = cancel ? 0 : 3000;
        request.targetDir = localPath(folder) + "/";

        ConfigUpdate update;
        QStringList writtenPaths;
        QList<bool> running;
        connect(&update, &ConfigUpdate::runningChanged, this, [&](bool on) { running << on; });
        connect(&update, &ConfigUpdate::settingsWritten, this,
                [&](const QString& path) { writtenPaths << path; });
        std::string again = "not asked";
        if (cancel)
            QTimer::singleShot(100, this, [&] {
                again = update.run(request);
                update.cancel();
            });
        QCOMPARE(QString::fromStdString(update.run(request)), error);
        QCOMPARE(running, (QList<bool>{true, false}));
        QVERIFY(!update.running());
        QCOMPARE(again, cancel ? std::string() : std::string("not asked"));
        QCOMPARE(writtenPaths,
                 cancel ? QStringList() : QStringList{folder + QStringLiteral("/QMXRead.ini")});
        QCOMPARE(QFile::exists(folder + QStringLiteral("/QMXScan.ini")), !cancel);
    }
};

QTEST_GUILESS_MAIN(TestConfigUpdate)
#include "tst_configupdate.moc"
