// What the main window tells at start-up about its settings file, and the
// About box's version and settings file lines.
#include "fakeprompts.h"

#include "core/setup/programinfo.h"
#include "gui/shell/about.h"
#include "gui/shell/mainform.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

using namespace qmx;

namespace {

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

QByteArray readFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

class TstStartupNotice : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void statusBarAtStartUp_data()
    {
        QTest::addColumn<bool>("exists");
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("expected"); // %1: the settings path
        QTest::addColumn<bool>("backup");
        QTest::newRow("no file") << false << QByteArray()
                                 << "No rules run: no settings file found at \"%1\"" << false;
        QTest::newRow("empty default set")
            << true
            << QByteArray("[QMXREAD_PARAMETERS]\nDefault_Rule_Set=Lab\n[RULE_LIST_SETTINGS]\nCount="
                          "1\n0=Lab\n")
            << "No rules run: the rule set \"Lab\" in \"%1\" is empty" << false;
        QTest::newRow("lf-only settings with rules")
            << true
            << QByteArray(
                   "[QMXREAD_PARAMETERS]\nDefault_Rule_Set=Lab\n[Lab]\nCount=1\n0=PRINT \"x\";\n")
            << "" << false;
        QTest::newRow("reserved name listed and chosen")
            << true
            << QByteArray("[QMXREAD_PARAMETERS]\nHost=h\nDefault_Rule_Set=qmxread_parameters\n"
                          "[RULE_LIST_SETTINGS]\nCount=2\n0=Lab\n1=QMXREAD_PARAMETERS\n")
            << "'QMXREAD_PARAMETERS' is reserved for the program's own settings and not shown as a "
               "rule set. No rules run: the rule set \"\" in \"%1\" is empty"
            << false;
        QTest::newRow("notes, not settings")
            << true << QByteArray("my notes\n[Lab]\nCount=1\n0=PRINT \"x\";\n")
            << "\"%1\" could not be read as settings; the old file is kept as \"%1.bak\". "
               "No rules run: the rule set \"DEFAULT\" in \"%1\" is empty"
            << true;
    }
    void statusBarAtStartUp()
    {
        QFETCH(bool, exists);
        QFETCH(QByteArray, content);
        QFETCH(QString, expected);
        QFETCH(bool, backup);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("QMXRead.ini"));
        if (exists)
            writeFile(path, content);
        {
            TMainForm main({}, std::make_unique<FakePrompts>());
            main.createSharedDialogs(path);
            QCOMPARE(main.statusBar()->currentMessage(),
                     expected.isEmpty() ? QString() : expected.arg(path));
            QCOMPARE(QFile::exists(path + QStringLiteral(".bak")), backup);
            if (backup)
                QCOMPARE(readFile(path + QStringLiteral(".bak")), content);
        }
        // Closing wrote the settings; a backup still holds the notes.
        if (backup)
            QCOMPARE(readFile(path + QStringLiteral(".bak")), content);
    }

    // A FIFO in the settings file's place is named as such, not taken for a
    // missing file, and is still a FIFO after the program has ended.
    void fifoInTheSettingsPlaceIsLeftAlone()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("QMXRead.ini"));
        QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        {
            TMainForm main({}, std::make_unique<FakePrompts>());
            main.createSharedDialogs(path);
            QCOMPARE(
                main.statusBar()->currentMessage(),
                QStringLiteral("No rules run: Cannot open file \"%1\": it is not a regular file")
                    .arg(path));
        }
        struct stat st {};
        QCOMPARE(::lstat(QFile::encodeName(path).constData(), &st), 0);
        QVERIFY(S_ISFIFO(st.st_mode));
    }

    void aboutBoxShowsVersionAndSettingsFile()
    {
        QTemporaryDir dir;
        const QString path =
            dir.filePath(QStringLiteral("a/very/long/folder/name/for/the/settings/QMXRead.ini"));
        TMainForm main({}, std::make_unique<FakePrompts>());
        main.createSharedDialogs(path);
        TAboutBox* about = main.aboutBox();
        auto* version = about->findChild<QLabel*>(QStringLiteral("Version"));
        auto* settings = about->findChild<QLabel*>(QStringLiteral("SettingsFile"));
        QVERIFY(version && settings);
        QVERIFY(version->text().endsWith(QString::fromLatin1(programVersion())));
        QCOMPARE(settings->toolTip(), path);
        QString shown = settings->text();
        shown.remove(QChar(0x200b));
        QCOMPARE(shown, QStringLiteral("Settings file: ") + path);
        // The label wraps inside the fixed-size box instead of being cut.
        about->show();
        QVERIFY(settings->geometry().right() <= about->width());
        QVERIFY(settings->heightForWidth(settings->width()) <= settings->height());
    }
};

QTEST_MAIN(TstStartupNotice)
#include "tst_startupnotice.moc"
