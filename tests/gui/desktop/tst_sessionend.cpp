// A kill or a logout ends the desktop program in order: the settings are
// written as at File > Exit, with nothing asked. Run as a child process.
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>

namespace {

// True once the process handles sig itself (its caught-signal mask in /proc
// shows it), so a signal sent now reaches the program's handler.
bool catches(qint64 pid, int sig)
{
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return false;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("SigCgt:"))
            return (line.mid(7).trimmed().toULongLong(nullptr, 16) >> (sig - 1)) & 1;
    return false;
}

} // namespace

class TstSessionEnd : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void signalRunsTheOrderlyExit_data()
    {
        QTest::addColumn<int>("sig");
        QTest::newRow("SIGTERM") << int(SIGTERM);
        QTest::newRow("SIGHUP") << int(SIGHUP);
    }
    void signalRunsTheOrderlyExit()
    {
        QFETCH(int, sig);
        QTemporaryDir dir;
        // No file yet: the exit creates it, so the file shows the exit ran.
        const QString settings = dir.filePath(QStringLiteral("QMXRead.ini"));
        QProcess child;
        child.setProcessChannelMode(QProcess::ForwardedChannels);
        child.start(QStringLiteral(QMX_DESKTOP_PATH), {QStringLiteral("--settings"), settings});
        QVERIFY(child.waitForStarted());
        QTRY_VERIFY_WITH_TIMEOUT(catches(child.processId(), sig), 60000);
        ::kill(static_cast<pid_t>(child.processId()), sig);
        QVERIFY(child.waitForFinished(60000));
        QCOMPARE(child.exitStatus(), QProcess::NormalExit);
        QCOMPARE(child.exitCode(), 0);
        QVERIFY(QFile::exists(settings));
    }
};

QTEST_MAIN(TstSessionEnd)
#include "tst_sessionend.moc"
