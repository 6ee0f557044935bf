// The configuration update object without any widget, against the scripted
// fake FTP server: the status texts and running state it announces, the
// settings file it reports written into a folder with non-ASCII letters,
// the error text it returns, and a cancel (with a second run refused) while
// it waits.
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

namespace {

enum class Server { Files, NoDirectory, Silent };

std::unique_ptr<FakeFtpServer> startServer(Server kind)
{
    switch (kind) {
    case Server::Files:
        return std::make_unique<FakeFtpServer>(
            say("220 hi\r\n"), serveFiles({{"QMXRead.ini", "[QMXREAD_PARAMETERS]\r\n"},
                                           {"QMXScan.ini", "[SCAN]\r\n"}}));
    case Server::NoDirectory:
        return std::make_unique<FakeFtpServer>(
            say("220 hi\r\n"), serveFiles({}, {{"CWD", say("550 No such directory.\r\n")}}));
    case Server::Silent: break;
    }
    return std::make_unique<FakeFtpServer>(FakeStep{}, serveFiles({}));
}

} // namespace

Q_DECLARE_METATYPE(Server)

class TestConfigUpdate : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void run_data()
    {
        QTest::addColumn<Server>("server");
        QTest::addColumn<bool>("cancel");
        QTest::addColumn<QString>("error");
        QTest::addColumn<QStringList>("statuses");
        QTest::addColumn<bool>("written");
        QTest::newRow("both files") << Server::Files << false << QString()
                                    << QStringList{"Connecting",
                                                   "Changing Directory",
                                                   "Retrieving File QMXRead.ini",
                                                   "Retrieving File QMXScan.ini",
                                                   "Disconnecting",
                                                   ""}
                                    << true;
        QTest::newRow("directory refused")
            << Server::NoDirectory << false << "550 No such directory."
            << QStringList{"Connecting", "Changing Directory"} << false;
        QTest::newRow("cancelled wait") << Server::Silent << true << "Socket readln aborted"
                                        << QStringList{"Connecting"} << false;
    }
    void run()
    {
        QFETCH(Server, server);
        QFETCH(bool, cancel);
        QFETCH(QString, error);
        QFETCH(QStringList, statuses);
        QFETCH(bool, written);
        const auto fake = startServer(server);
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
        QStringList seen, writtenPaths;
        QList<bool> running;
        connect(&update, &ConfigUpdate::statusChanged, this, [&](const QString& s) { seen << s; });
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
        QCOMPARE(seen.mid(0, statuses.size()), statuses);
        QCOMPARE(running, (QList<bool>{true, false}));
        QVERIFY(!update.running());
        QCOMPARE(again, cancel ? std::string() : std::string("not asked"));
        QCOMPARE(writtenPaths,
                 written ? QStringList{folder + QStringLiteral("/QMXRead.ini")} : QStringList());
        QCOMPARE(QFile::exists(folder + QStringLiteral("/QMXScan.ini")), written);
    }
};

QTEST_GUILESS_MAIN(TestConfigUpdate)
#include "tst_configupdate.moc"
