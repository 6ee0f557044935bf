// The Options dialog over a settings file in a temporary program directory:
// reading it, switching, adding and removing rule sets, the FTP page, and
// the file written when the dialog goes at program end.
#include "fakeprompts.h"
#include "named.h"
#include "testframe.h"

#include "gui/rules/rules.h"
#include "gui/update/configupdate.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTextCursor>

using namespace qmx;

namespace {

const QString kSettings = QStringLiteral(QMX_TEST_DATA "/gui/settings.ini");

QStringList chooser(const Tfrules& d)
{
    QStringList out;
    for (int i = 0; i < named<QComboBox>(&d, "ComboBox1")->count(); ++i)
        out << named<QComboBox>(&d, "ComboBox1")->itemText(i);
    return out;
}

// The settings file's lines.
QStringList fileLines(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    const QByteArray data = f.readAll();
    QStringList lines = QString::fromLatin1(data).split(QStringLiteral("\r\n"));
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

// The lines of one section of the file, without its header.
QStringList section(const QString& path, const QString& name)
{
    QStringList out;
    bool in = false;
    for (const QString& l : fileLines(path)) {
        if (l.startsWith(QLatin1Char('['))) {
            in = l.compare(QLatin1Char('[') + name + QLatin1Char(']'), Qt::CaseInsensitive) == 0;
            continue;
        }
        if (in && !l.isEmpty())
            out << l;
    }
    return out;
}

struct Fixture {
    QTemporaryDir dir;
    QString ini;
    FakePrompts prompts;
    std::unique_ptr<Workspace> workspace;
    std::unique_ptr<Tfrules> dialog;

    explicit Fixture(bool withFile = true)
    {
        ini = dir.filePath(QStringLiteral("QMXRead.ini"));
        if (withFile)
            copySettings(dir, kSettings);
        workspace = openWorkspace(ini, prompts);
        dialog = std::make_unique<Tfrules>(*workspace);
    }
    // Program end.
    void destroy()
    {
        dialog.reset();
        workspace.reset();
    }
};

} // namespace

class TstOptions : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void readsTheSettingsFile()
    {
        Fixture fx;
        Tfrules& d = *fx.dialog;
        QCOMPARE(d.windowTitle(), QStringLiteral("Options"));
        QCOMPARE(named<QTabWidget>(&d, "PageControl1")->tabText(0), QStringLiteral("Rules"));
        QCOMPARE(named<QTabWidget>(&d, "PageControl1")->tabText(1), QStringLiteral("FTP"));
        QCOMPARE(named<QLineEdit>(&d, "Edit1")->text(), QStringLiteral("ftp.test.example"));
        QCOMPARE(named<QLineEdit>(&d, "Edit2")->text(), QStringLiteral("2121"));
        QCOMPARE(named<QLineEdit>(&d, "Edit3")->text(), QStringLiteral("tester"));
        QCOMPARE(named<QLineEdit>(&d, "Edit4")->text(), QStringLiteral("secret"));
        QCOMPARE(named<QLineEdit>(&d, "Edit4")->echoMode(), QLineEdit::Password);
        QCOMPARE(named<QLineEdit>(&d, "Edit5")->text(), QStringLiteral("pub"));
        QCOMPARE(named<QLineEdit>(&d, "Edit7")->text(), QStringLiteral("proxy.test"));
        QCOMPARE(named<QLineEdit>(&d, "Edit8")->text(), QStringLiteral("8080"));
        QCOMPARE(named<QLineEdit>(&d, "Edit9")->text(), QStringLiteral("7000"));
        QVERIFY(named<QCheckBox>(&d, "CheckBox1")->isChecked());
        QVERIFY(named<QLineEdit>(&d, "Edit7")->isEnabled()
                && named<QLabel>(&d, "Label8")->isEnabled());
        QCOMPARE(chooser(d), QStringList({"Site", "Other"}));
        QCOMPARE(named<QComboBox>(&d, "ComboBox1")->currentText(), QStringLiteral("Site"));
        QCOMPARE(named<QPlainTextEdit>(&d, "Memo1")->document()->blockCount(), 4);
        QVERIFY(named<QPlainTextEdit>(&d, "Memo1")
                    ->toPlainText()
                    .startsWith(QStringLiteral("IF (%RUNS%=1)")));
        QCOMPARE(d.ruleText().find("SET %RUNS%=1;\r\nPRINT"), size_t(40));
        QVERIFY(fx.prompts.errors.isEmpty());
    }

    void withoutAFile()
    {
        Fixture fx(false);
        Tfrules& d = *fx.dialog;
        QCOMPARE(named<QComboBox>(&d, "ComboBox1")->count(), 0);
        QCOMPARE(named<QPlainTextEdit>(&d, "Memo1")->toPlainText(), QString());
        QCOMPARE(named<QLineEdit>(&d, "Edit2")->text(), QStringLiteral("21"));
        QCOMPARE(named<QLineEdit>(&d, "Edit3")->text(), QStringLiteral("anonymous"));
        QCOMPARE(named<QLineEdit>(&d, "Edit5")->text(), QStringLiteral("incoming"));
        QCOMPARE(named<QLineEdit>(&d, "Edit8")->text(), QStringLiteral("0"));
        QCOMPARE(named<QLineEdit>(&d, "Edit9")->text(), QStringLiteral("5000"));
        QVERIFY(!named<QLineEdit>(&d, "Edit1")->text().isEmpty());
        QVERIFY(!named<QCheckBox>(&d, "CheckBox1")->isChecked());
        QVERIFY(!QFile::exists(fx.ini));

        named<QPlainTextEdit>(&d, "Memo1")->setPlainText(QStringLiteral("PRINT \"X\";"));
        fx.destroy();
        QCOMPARE(section(fx.ini, QStringLiteral("RULE_LIST_SETTINGS")), QStringList({"Count=0"}));
        QVERIFY(fileLines(fx.ini).contains(QStringLiteral("Default_Rule_Set=")));
        QVERIFY(fileLines(fx.ini).contains(QStringLiteral("0=PRINT \"X\";")));
    }

    void ftpPageControls()
    {
        Fixture fx(false);
        Tfrules& d = *fx.dialog;
        QCOMPARE(named<QCheckBox>(&d, "CheckBox1")->text(), QStringLiteral("Use Proxy Server"));
        QCOMPARE(named<QLabel>(&d, "Label7")->text(), QStringLiteral("Server"));
        QCOMPARE(named<QLabel>(&d, "Label8")->text(), QStringLiteral("Port"));
        for (QWidget* w : std::initializer_list<QWidget*>{
                 named<QLabel>(&d, "Label7"), named<QLabel>(&d, "Label8"),
                 named<QLineEdit>(&d, "Edit7"), named<QLineEdit>(&d, "Edit8")})
            QVERIFY(!w->isEnabled());
        named<QCheckBox>(&d, "CheckBox1")->click();
        for (QWidget* w : std::initializer_list<QWidget*>{
                 named<QLabel>(&d, "Label7"), named<QLabel>(&d, "Label8"),
                 named<QLineEdit>(&d, "Edit7"), named<QLineEdit>(&d, "Edit8")})
            QVERIFY(w->isEnabled());
        named<QCheckBox>(&d, "CheckBox1")->click();
        QVERIFY(!named<QLineEdit>(&d, "Edit7")->isEnabled()
                && !named<QLabel>(&d, "Label7")->isEnabled());

        QCOMPARE(named<QPushButton>(&d, "Button1")->text(), QStringLiteral("&Update Now"));
        // Update Now is available whenever a host is given.
        QCOMPARE(named<QPushButton>(&d, "Button1")->isEnabled(),
                 !named<QLineEdit>(&d, "Edit1")->text().isEmpty());
        QCOMPARE(named<QGroupBox>(&d, "GroupBox1")->title(), QStringLiteral("Files to Retieve"));
        QCOMPARE(named<QCheckBox>(&d, "CheckBox2")->text(), QStringLiteral("QMXRead.exe"));
        QVERIFY(!named<QCheckBox>(&d, "CheckBox2")->isChecked()
                && !named<QCheckBox>(&d, "CheckBox2")->isEnabled());
        QVERIFY(named<QCheckBox>(&d, "CheckBox3")->isChecked()
                && named<QCheckBox>(&d, "CheckBox3")->isEnabled());
        QVERIFY(!named<QCheckBox>(&d, "CheckBox4")->isChecked()
                && !named<QCheckBox>(&d, "CheckBox4")->isEnabled());
        QVERIFY(named<QCheckBox>(&d, "CheckBox5")->isChecked());
    }

    void switchingSavesTheEditor()
    {
        Fixture fx;
        Tfrules& d = *fx.dialog;
        named<QPlainTextEdit>(&d, "Memo1")
            ->setPlainText(QStringLiteral("PRINT \"CHANGED\";\nPRINT \"TWICE\";"));
        named<QComboBox>(&d, "ComboBox1")->setCurrentIndex(1);
        d.ComboBox1Change(1);
        QCOMPARE(named<QPlainTextEdit>(&d, "Memo1")->toPlainText(),
                 QStringLiteral("PRINT \"OTHER RULES\";"));
        QCOMPARE(section(fx.ini, QStringLiteral("Site")),
                 QStringList({"Count=2", "0=PRINT \"CHANGED\";", "1=PRINT \"TWICE\";"}));

        d.ComboBox1Change(0);
        QCOMPARE(named<QPlainTextEdit>(&d, "Memo1")->toPlainText(),
                 QStringLiteral("PRINT \"CHANGED\";\nPRINT \"TWICE\";"));
    }

    void addingARuleSet()
    {
        Fixture fx;
        Tfrules& d = *fx.dialog;
        fx.prompts.inputAnswers << QStringLiteral("Night");
        named<QPushButton>(&d, "BitBtn2")->click();
        QCOMPARE(fx.prompts.inputs, QStringList({"Add Rule Set|Enter the rule set name to add."}));
        QCOMPARE(chooser(d), QStringList({"Site", "Other", "Night"}));
        QCOMPARE(named<QComboBox>(&d, "ComboBox1")->currentText(), QStringLiteral("Night"));
        QCOMPARE(named<QPlainTextEdit>(&d, "Memo1")->toPlainText(), QString());

        // Cancelled: nothing changes.
        named<QPushButton>(&d, "BitBtn2")->click();
        QCOMPARE(named<QComboBox>(&d, "ComboBox1")->count(), 3);
        QVERIFY(fx.prompts.errors.isEmpty());

        named<QPlainTextEdit>(&d, "Memo1")->setPlainText(QStringLiteral("PRINT \"NIGHT\";"));
        fx.destroy();
        QCOMPARE(section(fx.ini, QStringLiteral("RULE_LIST_SETTINGS")),
                 QStringList({"Count=3", "0=Site", "1=Other", "2=Night"}));
        QCOMPARE(section(fx.ini, QStringLiteral("Night")),
                 QStringList({"Count=1", "0=PRINT \"NIGHT\";"}));
        QVERIFY(fileLines(fx.ini).contains(QStringLiteral("Default_Rule_Set=Night")));
    }

    void refusedNames_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("message");
        QTest::newRow("empty") << QString() << QStringLiteral("Please enter a rule set name.");
        QTest::newRow("listed, other case")
            << QStringLiteral("SITE") << QStringLiteral("A rule set named 'Site' already exists.");
        QTest::newRow("settings section")
            << QStringLiteral("qmxread_parameters")
            << QStringLiteral("'qmxread_parameters' is reserved for the program's own settings; "
                              "choose another name.");
        QTest::newRow("list section")
            << QStringLiteral("RULE_LIST_SETTINGS")
            << QStringLiteral("'RULE_LIST_SETTINGS' is reserved for the program's own settings; "
                              "choose another name.");
    }
    void refusedNames()
    {
        QFETCH(QString, name);
        QFETCH(QString, message);
        Fixture fx;
        Tfrules& d = *fx.dialog;
        const QString before = named<QPlainTextEdit>(&d, "Memo1")->toPlainText();
        fx.prompts.inputAnswers << name;
        d.BitBtn2Click();
        QCOMPARE(fx.prompts.errors, QStringList({message}));
        QCOMPARE(chooser(d), QStringList({"Site", "Other"}));
        QCOMPARE(named<QComboBox>(&d, "ComboBox1")->currentText(), QStringLiteral("Site"));
        QCOMPARE(named<QPlainTextEdit>(&d, "Memo1")->toPlainText(), before);
    }

    void removingARuleSet()
    {
        Fixture fx;
        Tfrules& d = *fx.dialog;
        fx.prompts.confirmAnswers << false;
        named<QPushButton>(&d, "BitBtn1")->click();
        QCOMPARE(fx.prompts.confirms,
                 QStringList({"Are you sure you want to delete the Site rule set?"}));
        QCOMPARE(named<QComboBox>(&d, "ComboBox1")->count(), 2);

        fx.prompts.confirmAnswers << true;
        named<QPushButton>(&d, "BitBtn1")->click();
        QCOMPARE(chooser(d), QStringList({"Other"}));
        QCOMPARE(named<QComboBox>(&d, "ComboBox1")->currentText(), QStringLiteral("Other"));
        QCOMPARE(named<QPlainTextEdit>(&d, "Memo1")->toPlainText(),
                 QStringLiteral("PRINT \"OTHER RULES\";"));
        QCOMPARE(section(fx.ini, QStringLiteral("Site")), QStringList());

        fx.destroy();
        QCOMPARE(section(fx.ini, QStringLiteral("RULE_LIST_SETTINGS")),
                 QStringList({"Count=1", "0=Other"}));
        QVERIFY(fileLines(fx.ini).contains(QStringLiteral("Default_Rule_Set=Other")));
    }

    void programEndWritesEverything()
    {
        Fixture fx;
        Tfrules& d = *fx.dialog;
        named<QLineEdit>(&d, "Edit1")->setText(QStringLiteral("ftp.new.example"));
        named<QLineEdit>(&d, "Edit9")->setText(QStringLiteral("abc"));
        named<QCheckBox>(&d, "CheckBox1")->setChecked(false);
        fx.destroy();
        QCOMPARE(
            section(fx.ini, QStringLiteral("QMXREAD_PARAMETERS")),
            QStringList({"Host=ftp.new.example", "Port=2121", "User_Name=tester", "Password=secret",
                         "Directory=pub", "Proxy_Server=proxy.test", "Proxy_Port=8080",
                         "Timeout=abc", "Use_Proxy=0", "Default_Rule_Set=Site"}));

        // The next start reads what was written.
        FakePrompts prompts;
        const auto workspace = openWorkspace(fx.ini, prompts);
        Tfrules again(*workspace);
        QCOMPARE(named<QLineEdit>(&again, "Edit1")->text(), QStringLiteral("ftp.new.example"));
        QVERIFY(!named<QCheckBox>(&again, "CheckBox1")->isChecked());
        QCOMPARE(named<QComboBox>(&again, "ComboBox1")->currentText(), QStringLiteral("Site"));
    }

    void closeButtonWritesTheFile()
    {
        Fixture fx;
        Tfrules& d = *fx.dialog;
        d.show();
        named<QLineEdit>(&d, "Edit1")->setText(QStringLiteral("ftp.closed.example"));
        QTest::mouseClick(named<QPushButton>(&d, "CloseButton"), Qt::LeftButton);
        QVERIFY(!d.isVisible());
        QVERIFY(section(fx.ini, QStringLiteral("QMXREAD_PARAMETERS"))
                    .contains(QStringLiteral("Host=ftp.closed.example")));
        QCOMPARE(QDir(fx.dir.path()).entryList(QDir::Files), QStringList({"QMXRead.ini"}));
    }

    // What the settings file cannot hold is refused where it is typed.
    void editorEdgeRefusesWhatCannotBeStored()
    {
        Fixture fx;
        Tfrules& d = *fx.dialog;
        auto* memo = named<QPlainTextEdit>(&d, "Memo1");
        memo->setPlainText(QStringLiteral("PRINT \"A\";"));
        memo->moveCursor(QTextCursor::End);
        memo->insertPlainText(QStringLiteral("\x1a\tPRINT \"B\";\x01"));
        QCOMPARE(memo->toPlainText(), QStringLiteral("PRINT \"A\";\tPRINT \"B\";"));
        QVERIFY(
            named<QStatusBar>(&d, "StatusBar1")->currentMessage().contains(QStringLiteral("2")));
        const struct {
            QString name;
            bool added;
        } names[] = {{QStringLiteral("Br\u00fcck\u20ac"), true}, // both in the code page
                     {QStringLiteral("\u03a9mega"), false},
                     {QStringLiteral("a\u2603b\u2603"), false}};
        for (const auto& n : names) {
            fx.prompts.inputAnswers << n.name;
            fx.prompts.errors.clear();
            d.BitBtn2Click();
            QCOMPARE(named<QComboBox>(&d, "ComboBox1")->findText(n.name) >= 0, n.added);
            QCOMPARE(fx.prompts.errors.size(), n.added ? 0 : 1);
        }
        QVERIFY(fx.prompts.errors.first().contains(QStringLiteral("U+2603")));
        QCOMPARE(fx.prompts.errors.first().count(QStringLiteral("U+2603")), 1);
    }

    // A fetched settings file is read as soon as it is written, so the exit
    // does not write the old settings over it.
    void fetchedSettingsAreReadAtOnce()
    {
        Fixture fx;
        QStringList lines = fileLines(fx.ini);
        lines.replaceInStrings(QStringLiteral("Host=ftp.test.example"),
                               QStringLiteral("Host=ftp.fetched.example"));
        QFile f(fx.ini);
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(lines.join(QStringLiteral("\r\n")).toLatin1());
        f.close();
        Q_EMIT fx.workspace->configUpdate().settingsWritten(fx.ini);
        QCOMPARE(named<QLineEdit>(fx.dialog.get(), "Edit1")->text(),
                 QStringLiteral("ftp.fetched.example"));
        fx.destroy();
        QVERIFY(section(fx.ini, QStringLiteral("QMXREAD_PARAMETERS"))
                    .contains(QStringLiteral("Host=ftp.fetched.example")));
    }

    void failedWriteIsReported()
    {
        Fixture fx;
        // The settings path turns into a directory: no file can be written
        // there, and the user is told.
        QFile::remove(fx.ini);
        QVERIFY(QDir().mkdir(fx.ini));
        fx.destroy();
        QCOMPARE(fx.prompts.errors.size(), 1);
    }
};

QTEST_MAIN(TstOptions)
#include "tst_options.moc"
