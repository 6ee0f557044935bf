// The registry and file entry dialogs: the result lines of every field
// combination, the reset after "&Ok", and a title-bar close that keeps both
// the fields and the previous line.
#include "gui/scanedit/entrydialog.h"
#include "gui/scanedit/radiogroup.h"

#include "entrycontrols.h"

#include <QSignalSpy>
#include <QTest>

using namespace qmx;

namespace {

struct Fields {
    int readOn = 0;
    bool checked = false;
    QString version;
    QString name; // key or file name
    int type = 0;
    QString defaultValue;
};

// Fills the fields as a user would: the check box is clicked, so Edit2
// follows it, and the version is typed whether Edit2 is usable or not.
void fill(EntryDialog& d, const Fields& f)
{
    group(&d, "RadioGroup1")->setItemIndex(f.readOn);
    if (box(&d)->isChecked() != f.checked)
        box(&d)->click();
    edit(&d, "Edit2")->setText(f.version);
    edit(&d, "Edit1")->setText(f.name);
    if (auto* reg = qobject_cast<Tfaddreg*>(&d)) {
        group(reg, "RadioGroup2")->setItemIndex(f.type);
        edit(reg, "Edit3")->setText(f.defaultValue);
    }
}

} // namespace

Q_DECLARE_METATYPE(Fields)

class TstEntryDialogs : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void resultLines_data()
    {
        QTest::addColumn<Fields>("fields");
        QTest::addColumn<QString>("registry");
        QTest::addColumn<QString>("file");
        auto row = [](const char* name, Fields f, const char* reg, const char* file) {
            QTest::newRow(name) << f << QString::fromUtf8(reg) << QString::fromUtf8(file);
        };
        row("all", {0, false, "V", "K", 0, "D"}, ";;STRING;K;D", ";;K");
        row("all, version", {0, true, "V", "K", 0, "D"}, ";V;STRING;K;D", ";V;K");
        row("NT", {1, false, "V", "K", 0, "D"}, "WINNT;;STRING;K;D", "WINNT;;K");
        row("NT, version", {1, true, "V", "K", 0, "D"}, "WINNT;V;STRING;K;D", "WINNT;V;K");
        row("9x", {2, false, "V", "K", 0, "D"}, "WIN9X;;STRING;K;D", "WIN9X;;K");
        row("9x, version", {2, true, "V", "K", 0, "D"}, "WIN9X;V;STRING;K;D", "WIN9X;V;K");
        row("binary", {0, false, "", "K", 1, ""}, ";;BINARY;K;", ";;K");
        row("integer", {0, false, "", "K", 2, "0"}, ";;INTEGER;K;0", ";;K");
        row("all values", {0, false, "", "K", 3, ""}, ";;ALLVALUES;K;", ";;K");
        row("all keys", {0, false, "", "K", 4, ""}, ";;ALLKEYS;K;", ";;K");
        row("everything empty", {}, ";;STRING;;", ";;");
        row("checked, empty version", {0, true, "", "K", 0, ""}, ";;STRING;K;", ";;K");
        row("delimiters at the edges", {0, true, ";1;", ";K;", 0, "=;"}, ";;1;;STRING;;K;;=;",
            ";;1;;;K;");
        row("no trimming", {1, true, " 4 ", " C:\\A B ", 0, " "}, "WINNT; 4 ;STRING; C:\\A B ; ",
            "WINNT; 4 ; C:\\A B ");
        row("Windows-1252 text", {0, false, "", "Cl\xc3\xa9", 0, "\xe2\x82\xac"},
            ";;STRING;Cl\xc3\xa9;\xe2\x82\xac", ";;Cl\xc3\xa9");
    }
    void resultLines()
    {
        QFETCH(Fields, fields);
        QFETCH(QString, registry);
        QFETCH(QString, file);
        Tfaddreg reg;
        TFFile ffile;
        for (EntryDialog* d : std::initializer_list<EntryDialog*>{&reg, &ffile}) {
            d->show();
            fill(*d, fields);
            okButton(d)->click();
            QVERIFY(!d->isVisible());
        }
        QCOMPARE(reg.resultLine(), registry);
        QCOMPARE(ffile.resultLine(), file);
    }

    void startStates()
    {
        Tfaddreg reg;
        TFFile ffile;
        QCOMPARE(reg.windowTitle(), QStringLiteral("Registry"));
        QCOMPARE(ffile.windowTitle(), QStringLiteral("File"));
        QCOMPARE(reg.size(), QSize(427, 185));
        QCOMPARE(ffile.size(), QSize(385, 114));
        QVERIFY(!reg.isModal() && !ffile.isModal());
        QCOMPARE(group(&reg, "RadioGroup2")->count(), 5);
        QCOMPARE(group(&reg, "RadioGroup2")->itemIndex(), 0);
        QCOMPARE(group(&reg, "RadioGroup1")->itemIndex(), 0);
        QCOMPARE(group(&ffile, "RadioGroup1")->item(2), QStringLiteral("Windows 9x only"));
        QVERIFY(!edit(&reg, "Edit2")->isEnabled());
        // The file dialog's version field starts usable, yet is ignored
        // while the box is clear.
        QVERIFY(edit(&ffile, "Edit2")->isEnabled());
        edit(&ffile, "Edit2")->setText(QStringLiteral("4.83"));
        edit(&ffile, "Edit1")->setText(QStringLiteral("F"));
        okButton(&ffile)->click();
        QCOMPARE(ffile.resultLine(), QStringLiteral(";;F"));
        QVERIFY(!edit(&ffile, "Edit2")->isEnabled());
        QVERIFY(reg.resultLine().isEmpty());
    }

    void checkBoxDrivesTheVersionField()
    {
        TFFile ffile;
        box(&ffile)->click();
        QVERIFY(edit(&ffile, "Edit2")->isEnabled());
        box(&ffile)->click();
        QVERIFY(!edit(&ffile, "Edit2")->isEnabled());
        Tfaddreg reg;
        box(&reg)->click();
        QVERIFY(edit(&reg, "Edit2")->isEnabled());
    }

    void okResetsEveryField()
    {
        Tfaddreg reg;
        TFFile ffile;
        const Fields f{2, true, "V", "K", 4, "D"};
        for (EntryDialog* d : std::initializer_list<EntryDialog*>{&reg, &ffile}) {
            d->show();
            fill(*d, f);
            okButton(d)->click();
            QVERIFY(!d->isVisible());
            QVERIFY(edit(d, "Edit1")->text().isEmpty());
            QVERIFY(edit(d, "Edit2")->text().isEmpty());
            QVERIFY(!edit(d, "Edit2")->isEnabled());
            QVERIFY(!box(d)->isChecked());
            QCOMPARE(group(d, "RadioGroup1")->itemIndex(), 0);
        }
        QVERIFY(edit(&reg, "Edit3")->text().isEmpty());
        QCOMPARE(group(&reg, "RadioGroup2")->itemIndex(), 0);
    }

    void titleBarCloseKeepsFieldsAndLine()
    {
        Tfaddreg reg;
        TFFile ffile;
        for (EntryDialog* d : std::initializer_list<EntryDialog*>{&reg, &ffile}) {
            d->show();
            fill(*d, {1, false, "", "FIRST", 1, "D"});
            okButton(d)->click();
            const QString first = d->resultLine();
            d->show();
            fill(*d, {2, true, "9", "SECOND", 3, "E"});
            QSignalSpy hidden(d, &EntryDialog::hidden);
            QVERIFY(d->close());
            QVERIFY(!d->isVisible());
            QCOMPARE(hidden.count(), 1);
            QCOMPARE(d->resultLine(), first);
            QCOMPARE(edit(d, "Edit1")->text(), QStringLiteral("SECOND"));
            QCOMPARE(edit(d, "Edit2")->text(), QStringLiteral("9"));
            QVERIFY(box(d)->isChecked() && edit(d, "Edit2")->isEnabled());
            QCOMPARE(group(d, "RadioGroup1")->itemIndex(), 2);
        }
        QCOMPARE(group(&reg, "RadioGroup2")->itemIndex(), 3);
        QCOMPARE(reg.resultLine(), QStringLiteral("WINNT;;BINARY;FIRST;D"));
        QCOMPARE(ffile.resultLine(), QStringLiteral("WINNT;;FIRST"));
    }
};

QTEST_MAIN(TstEntryDialogs)
#include "tst_entrydialogs.moc"
