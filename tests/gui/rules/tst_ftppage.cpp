// The Options dialog's FTP page: "&Update Now" against a real FTP server and
// the scripted fake, the number checks before anything is sent, the status
// texts, the button's states, and closing or destroying the dialog while an
// update waits.
#include "../../core/update/fakeftp.h"
#include "fakeprompts.h"
#include "named.h"
#include "testframe.h"

#include "gui/rules/rules.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace qmx;
using qmx::test::FakeFtpServer;
using qmx::test::FakeStep;

namespace {

QByteArray settingsText(const QString& host, int port,
                        const QString& timeout = QStringLiteral("3000"),
                        const QString& rule = QStringLiteral("PRINT old"))
{
    return QStringLiteral(
               "[QMXREAD_PARAMETERS]\r\nHost=%1\r\nPort=%2\r\nUser_Name=tester\r\nPassword="
               "secret\r\n"
               "Directory=incoming\r\nProxy_Server=\r\nProxy_Port=0\r\nTimeout=%3\r\nUse_Proxy="
               "0\r\n"
               "Default_Rule_Set=DEFAULT\r\n[RULE_LIST_SETTINGS]\r\nCount=1\r\n0=DEFAULT\r\n"
               "[DEFAULT]\r\nCount=1\r\n0=%4\r\n")
        .arg(host)
        .arg(port)
        .arg(timeout, rule)
        .toLatin1();
}

void writeFile(const QString& path, const QByteArray& data)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(data);
}

QByteArray readFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

class TestFtpPage : public QObject {
    Q_OBJECT

private:
    QTemporaryDir dir_;
    QString settingsPath() const { return dir_.filePath(QStringLiteral("QMXRead.ini")); }

private Q_SLOTS:
    void init()
    {
        QDir(dir_.path()).removeRecursively();
        QDir().mkpath(dir_.path());
    }

    void buttonFollowsHost()
    {
        writeFile(settingsPath(), settingsText(QString(), 21));
        FakePrompts prompts;
        const auto workspace = openWorkspace(settingsPath(), prompts);
        Tfrules d(*workspace);
        QVERIFY(!named<QPushButton>(&d, "Button1")->isEnabled());
        named<QLineEdit>(&d, "Edit1")->setText(QStringLiteral("h"));
        QVERIFY(named<QPushButton>(&d, "Button1")->isEnabled());
        named<QLineEdit>(&d, "Edit1")->setText(QString());
        QVERIFY(!named<QPushButton>(&d, "Button1")->isEnabled());
    }

    void numberFieldsCheckedBeforeSending_data()
    {
        QTest::addColumn<QString>("port");
        QTest::addColumn<QString>("timeout");
        QTest::addColumn<bool>("proxy");
        QTest::addColumn<QString>("message");
        QTest::newRow("port") << "abc"
                              << "3000" << false << "'abc' is not a valid integer value";
        QTest::newRow("port blank") << " 21"
                                    << "3000" << false << "' 21' is not a valid integer value";
        QTest::newRow("timeout") << "PORT"
                                 << "5s" << false << "'5s' is not a valid integer value";
        QTest::newRow("proxy port") << "PORT"
                                    << "3000" << true << "'1p' is not a valid integer value";
    }
    void numberFieldsCheckedBeforeSending()
    {
        QFETCH(QString, port);
        QFETCH(QString, timeout);
        QFETCH(bool, proxy);
        QFETCH(QString, message);
        FakeFtpServer server(qmx::test::say("220 hi\r\n"), qmx::test::serveFiles({}));
        writeFile(settingsPath(), settingsText(QStringLiteral("127.0.0.1"), server.port()));
        FakePrompts prompts;
        const auto workspace = openWorkspace(settingsPath(), prompts);
        Tfrules d(*workspace);
        named<QLineEdit>(&d, "Edit2")
            ->setText(port == QLatin1String("PORT") ? QString::number(server.port()) : port);
        named<QLineEdit>(&d, "Edit9")->setText(timeout);
        named<QCheckBox>(&d, "CheckBox1")->setChecked(proxy);
        named<QLineEdit>(&d, "Edit8")->setText(QStringLiteral("1p"));
        d.Button1Click();
        QCOMPARE(prompts.errors, QStringList{message});
        QTest::qWait(50);
        QCOMPARE(server.connections(), 0);
        QCOMPARE(named<QStatusBar>(&d, "StatusBar1")->currentMessage(), QString());
    }

    void fullUpdateFromRealServerReloadsSettings()
    {
        QTemporaryDir served;
        QDir(served.path()).mkdir(QStringLiteral("incoming"));
        writeFile(served.filePath(QStringLiteral("incoming/QMXRead.ini")),
                  settingsText(QStringLiteral("fetched.example"), 2121, QStringLiteral("4000"),
                               QStringLiteral("PRINT fetched")));
        writeFile(served.filePath(QStringLiteral("incoming/QMXScan.ini")), "[SCAN]\r\n");
        qmx::test::PyFtpServer server(served.path().toStdString(), "tester", "secret");
        writeFile(settingsPath(), settingsText(QStringLiteral("127.0.0.1"), server.port()));
        FakePrompts prompts;
        const auto workspace = openWorkspace(settingsPath(), prompts);
        Tfrules d(*workspace);
        QStringList statuses;
        connect(named<QStatusBar>(&d, "StatusBar1"), &QStatusBar::messageChanged, this,
                [&](const QString& m) { statuses << m; });
        d.Button1Click();
        QCOMPARE(prompts.errors, QStringList());
        QCOMPARE(statuses,
                 (QStringList{"Connecting", "Changing Directory", "Retrieving File QMXRead.ini",
                              "Retrieving File QMXScan.ini", "Disconnecting", ""}));
        QCOMPARE(named<QLineEdit>(&d, "Edit1")->text(), QStringLiteral("fetched.example"));
        QCOMPARE(named<QLineEdit>(&d, "Edit9")->text(), QStringLiteral("4000"));
        QCOMPARE(named<QPlainTextEdit>(&d, "Memo1")->toPlainText(),
                 QStringLiteral("PRINT fetched"));
        QCOMPARE(readFile(dir_.filePath(QStringLiteral("QMXScan.ini"))), QByteArray("[SCAN]\r\n"));
        QCOMPARE(d.fileNames().size(), size_t(2));
        QVERIFY(named<QPushButton>(&d, "Button1")->isEnabled());
    }

    void errorBecomesStatusWithoutReload()
    {
        FakeFtpServer server(
            qmx::test::say("220 hi\r\n"),
            qmx::test::serveFiles({}, {{"CWD", qmx::test::say("550 No such directory.\r\n")}}));
        writeFile(settingsPath(), settingsText(QStringLiteral("127.0.0.1"), server.port()));
        FakePrompts prompts;
        const auto workspace = openWorkspace(settingsPath(), prompts);
        Tfrules d(*workspace);
        named<QPlainTextEdit>(&d, "Memo1")->setPlainText(QStringLiteral("PRINT edited"));
        d.Button1Click();
        QCOMPARE(named<QStatusBar>(&d, "StatusBar1")->currentMessage(),
                 QStringLiteral("550 No such directory."));
        QCOMPARE(prompts.errors, QStringList());
        QCOMPARE(named<QPlainTextEdit>(&d, "Memo1")->toPlainText(), QStringLiteral("PRINT edited"));
        // The message goes once the user changes a field.
        QTest::keyClick(named<QLineEdit>(&d, "Edit2"), Qt::Key_1);
        QCOMPARE(named<QStatusBar>(&d, "StatusBar1")->currentMessage(), QString());
    }

    void closingTheDialogCancelsAWaitingUpdate()
    {
        FakeFtpServer server(FakeStep{}, qmx::test::serveFiles({})); // never greets
        writeFile(settingsPath(),
                  settingsText(QStringLiteral("127.0.0.1"), server.port(), QStringLiteral("0")));
        FakePrompts prompts;
        const auto workspace = openWorkspace(settingsPath(), prompts);
        Tfrules d(*workspace);
        d.show();
        bool disabledWhileRunning = false;
        QTimer::singleShot(150, &d, [&] {
            disabledWhileRunning = d.updating() && !named<QPushButton>(&d, "Button1")->isEnabled();
            d.close();
        });
        d.Button1Click();
        QVERIFY(disabledWhileRunning);
        QCOMPARE(named<QStatusBar>(&d, "StatusBar1")->currentMessage(),
                 QStringLiteral("Socket readln aborted"));
        QVERIFY(!d.updating());
        QVERIFY(named<QPushButton>(&d, "Button1")->isEnabled());
    }

    void destroyingTheDialogDuringAnUpdateIsSafe()
    {
        FakeFtpServer server(FakeStep{}, qmx::test::serveFiles({}));
        writeFile(settingsPath(),
                  settingsText(QStringLiteral("127.0.0.1"), server.port(), QStringLiteral("0")));
        FakePrompts prompts;
        const auto workspace = openWorkspace(settingsPath(), prompts);
        auto* d = new Tfrules(*workspace);
        QTimer::singleShot(100, [d] { delete d; });
        d->Button1Click();
        // The settings file is intact, and no fetched file appeared.
        QVERIFY(readFile(settingsPath()).contains("Host=127.0.0.1"));
        QVERIFY(!QFile::exists(dir_.filePath(QStringLiteral("QMXScan.ini"))));
    }
};

QTEST_MAIN(TestFtpPage)
#include "tst_ftppage.moc"
