// The scanner input editor inside the main window: the palette, insertion at
// the caret (with and without an entry dialog), the save question on close,
// saving and its failures, Save and Save As, and the exit question.
#include "entrycontrols.h"
#include "fakeprompts.h"
#include "testframe.h"

#include "core/scanedit/scaninput.h"
#include "gui/find/findbar.h"
#include "gui/scanedit/entrydialog.h"
#include "gui/scanedit/qmxgen.h"
#include "gui/scanedit/radiogroup.h"
#include "gui/shell/application.h"
#include "gui/shell/mainform.h"
#include "gui/support/textcodec.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTimer>

#include <unistd.h>

using namespace qmx;

namespace {

const auto palette = [](QObject* w) { return named<QListWidget>(w, "ListBox1"); };
const auto textOf = [](QObject* w) { return named<QPlainTextEdit>(w, "RichEdit1"); };

// A main window with scripted prompts and its shared dialogs.
class Frame {
public:
    Frame()
    {
        main = startMainForm(ask, scratch.filePath(QStringLiteral("QMXRead.ini")));
        main->resize(1000, 800);
    }
    TCFGGen* editor(const QString& caption = QStringLiteral("NONAME1"))
    {
        return main->NewEditorChild(caption);
    }
    QString path(const char* name) const { return scratch.filePath(QLatin1String(name)); }
    static QByteArray bytes(const QString& file)
    {
        QFile f(file);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    }
    static void put(const QString& file, const QByteArray& data)
    {
        QFile f(file);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(data);
    }

    QTemporaryDir scratch;
    FakePrompts* ask = nullptr;
    std::unique_ptr<TMainForm> main;
};

void select(TCFGGen* e, const QString& command)
{
    const auto found = palette(e)->findItems(command, Qt::MatchExactly);
    QVERIFY(!found.isEmpty());
    palette(e)->setCurrentItem(found.first());
}

void placeCaret(TCFGGen* e, int position, int anchor = -1)
{
    QTextCursor c = textOf(e)->textCursor();
    c.setPosition(anchor < 0 ? position : anchor);
    if (anchor >= 0)
        c.setPosition(position, QTextCursor::KeepAnchor);
    textOf(e)->setTextCursor(c);
}

const QString kNewText = QStringLiteral(
    "[QMXSCAN_PARAMETERS]\nOutput_File=%Application_Path\\ipx.txt\nWrite_Type=OverWrite\n\n"
    "[Report]\nDate=CURRENTDate\nTime=CURRENTTime");

} // namespace

class TstScanEdit : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void newEditorLayout()
    {
        Frame f;
        TCFGGen* e = f.editor();
        QCOMPARE(textOf(e)->toPlainText(), kNewText);
        QVERIFY(!e->changed());
        QCOMPARE(palette(e)->count(), 33);
        QCOMPARE(palette(e)->item(2)->text(), QStringLiteral("BIOSInfo"));
        QCOMPARE(palette(e)->selectionMode(), QAbstractItemView::SingleSelection);
        QCOMPARE(textOf(e)->lineWrapMode(), QPlainTextEdit::NoWrap);
        QCOMPARE(palette(e)->width(), 134);
        QCOMPARE(e->parentWidget()->size(), QSize(469, 317));
        QVERIFY(!f.main->faddreg()->isVisible() && !f.main->ffile()->isVisible());
        textOf(e)->insertPlainText(QStringLiteral("x"));
        QVERIFY(e->changed());
    }

    void findBarKeepsThePaletteAndStaysInView_data()
    {
        QTest::addColumn<QString>("search");
        QTest::addColumn<int>("steps");
        QTest::newRow("not found") << QStringLiteral("zzz") << 1;
        QTest::newRow("continued from the start") << QStringLiteral("Date") << 2;
    }

    void findBarKeepsThePaletteAndStaysInView()
    {
        QFETCH(QString, search);
        QFETCH(int, steps);
        Frame f;
        TCFGGen* e = f.editor();
        const int paletteWidth = palette(e)->width();
        auto* bar = named<FindBar>(e, "RichEdit1FindBar");
        bar->open();
        QTest::keyClicks(named<QLineEdit>(bar, "FindEdit"), search);
        for (int i = 0; i < steps; ++i)
            bar->findNext();
        QTest::qWait(0);
        QCOMPARE(palette(e)->width(), paletteWidth);
        QWidget* sub = e->parentWidget();
        QVERIFY(bar->isVisible()
                && sub->contentsRect().contains(QRect(bar->mapTo(sub, QPoint()), bar->size())));
    }

    void insertion_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("anchor");
        QTest::addColumn<int>("caret");
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("expected");
        const QString t = QStringLiteral("[Report]\n\nX=X");
        // clang-format off
        QTest::newRow("start") << t << -1 << 0 << "Beep" << "Beep=Beep[Report]\n\nX=X";
        QTest::newRow("empty middle line") << t << -1 << 9 << "CPU" << "[Report]\nCPU=CPU\nX=X";
        QTest::newRow("inside a word") << t << -1 << 3 << "NIC" << "[ReNIC=NICport]\n\nX=X";
        QTest::newRow("end") << t << -1 << 13 << "VideoCard"
                             << "[Report]\n\nX=XVideoCard=VideoCard";
        QTest::newRow("selection kept") << t << 0 << 8 << "CPU" << "CPU=CPU[Report]\n\nX=X";
        QTest::newRow("backward selection") << t << 8 << 1 << "CPU" << "[CPU=CPUReport]\n\nX=X";
        QTest::newRow("empty text") << QString() << -1 << 0 << "UpTime" << "UpTime=UpTime";
        // clang-format on
    }
    void insertion()
    {
        QFETCH(QString, text);
        QFETCH(int, anchor);
        QFETCH(int, caret);
        QFETCH(QString, command);
        QFETCH(QString, expected);
        Frame f;
        TCFGGen* e = f.editor();
        textOf(e)->setPlainText(text);
        placeCaret(e, caret, anchor);
        const int at = textOf(e)->textCursor().selectionStart();
        select(e, command);
        e->ListBox1DblClick();
        QCOMPARE(textOf(e)->toPlainText(), expected);
        const std::string line = command.toStdString() + "=" + command.toStdString();
        QCOMPARE(textOf(e)->toPlainText(),
                 toQString(insertAtCaret(fromQString(text), static_cast<size_t>(at), line)));
        QCOMPARE(textOf(e)->textCursor().position(), at + static_cast<int>(line.size()));
        QVERIFY(e->changed());
        // One undo step takes the insertion back.
        textOf(e)->undo();
        QCOMPARE(textOf(e)->toPlainText(), text);
    }

    void nothingSelectedInsertsNothing()
    {
        Frame f;
        TCFGGen* e = f.editor();
        palette(e)->clearSelection();
        e->ListBox1DblClick();
        QCOMPARE(textOf(e)->toPlainText(), kNewText);
        QVERIFY(!e->changed());
    }

    void insertionWaitsForTheDialog_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<QString>("expected");
        QTest::newRow("registry ok") << "Registry" << true << "Registry=Registry;WINNT;;STRING;K;D";
        QTest::newRow("file ok") << "File" << true << "File=File;WINNT;;K";
        QTest::newRow("getfile ok") << "GetFile" << true << "GetFile=GetFile;WINNT;;K";
        // Closed by the title bar: the previous line (none yet) is used.
        QTest::newRow("registry closed") << "Registry" << false << "Registry=Registry;";
        QTest::newRow("getfile closed") << "GetFile" << false << "GetFile=GetFile;";
    }
    void insertionWaitsForTheDialog()
    {
        QFETCH(QString, command);
        QFETCH(bool, ok);
        QFETCH(QString, expected);
        Frame f;
        TCFGGen* e = f.editor();
        textOf(e)->setPlainText(QString());
        select(e, command);
        EntryDialog* d = command == QLatin1String("Registry")
                             ? static_cast<EntryDialog*>(f.main->faddreg())
                             : static_cast<EntryDialog*>(f.main->ffile());
        bool answered = false;
        QTimer::singleShot(0, d, [&] {
            // The editor is still waiting, with the text untouched.
            QVERIFY(d->isVisible() && e->awaitingEntry());
            QVERIFY(textOf(e)->toPlainText().isEmpty());
            // Closing the editor now is refused.
            QVERIFY(!e->parentWidget()->close());
            QVERIFY(!f.main->statusBar()->currentMessage().isEmpty());
            group(d, "RadioGroup1")->setItemIndex(1);
            edit(d, "Edit1")->setText(QStringLiteral("K"));
            if (auto* reg = qobject_cast<Tfaddreg*>(d))
                edit(reg, "Edit3")->setText(QStringLiteral("D"));
            answered = true;
            if (ok)
                okButton(d)->click();
            else
                d->close();
        });
        e->ListBox1DblClick();
        QVERIFY(answered);
        QVERIFY(!e->awaitingEntry());
        QCOMPARE(textOf(e)->toPlainText(), expected);
        QCOMPARE(textOf(e)->textCursor().position(), expected.size());
    }

    void closingUnchangedAsksNothing()
    {
        Frame f;
        TCFGGen* fresh = f.editor();
        f.put(f.path("in.ini"), "[Report]\r\nA=B\r\n");
        TCFGGen* loaded = f.editor(f.path("in.ini"));
        QVERIFY(!loaded->changed());
        QVERIFY(fresh->parentWidget()->close());
        QVERIFY(loaded->parentWidget()->close());
        QVERIFY(f.ask->confirms.isEmpty());
        QVERIFY(f.ask->saves.isEmpty());
    }

    void closeQuestion_data()
    {
        QTest::addColumn<bool>("yes");
        QTest::addColumn<bool>("chooses");
        QTest::addColumn<bool>("closed");
        QTest::newRow("no discards") << false << false << true;
        QTest::newRow("yes saves") << true << true << true;
        QTest::newRow("yes, cancelled dialog keeps it") << true << false << false;
    }
    void closeQuestion()
    {
        QFETCH(bool, yes);
        QFETCH(bool, chooses);
        QFETCH(bool, closed);
        Frame f;
        TCFGGen* e = f.editor();
        textOf(e)->appendPlainText(QStringLiteral("CPU=CPU"));
        f.ask->confirmAnswers << yes;
        if (chooses)
            f.ask->saveAnswers << f.path("out.ini");
        // The question names the editor it is about.
        const QString question = e->caption() + "\n\nWould you like to save the changes?";
        QCOMPARE(e->parentWidget()->close(), closed);
        QCOMPARE(f.ask->confirms, QStringList({question}));
        QCOMPARE(f.ask->saves.size(), yes ? 1 : 0);
        QCOMPARE(QFile::exists(f.path("out.ini")), chooses);
        if (!closed)
            QVERIFY(e->changed());
    }

    void savedBytes()
    {
        Frame f;
        TCFGGen* e = f.editor();
        textOf(e)->setPlainText(QStringLiteral("[Report]\nA=caf\u00e9 \u20ac\u00a0x\n"));
        f.ask->saveAnswers << f.path("out.ini");
        QVERIFY(e->saveAs());
        QCOMPARE(Frame::bytes(f.path("out.ini")),
                 QByteArray("[Report]\r\nA=caf\xe9 \x80\xa0x\r\n\r\n"));
        const FileDialogOptions& asked = f.ask->saves.first();
        QCOMPARE(asked.fileName, QStringLiteral("qmxscan.ini"));
        QCOMPARE(asked.defaultExt, QStringLiteral("*.ini"));
        QCOMPARE(asked.filter,
                 QStringLiteral("Client Config Generator Files (*.ini)|*.ini|All Files (*.*)|*.*"));
        // The dialog remembers the last name chosen.
        QCOMPARE(f.main->SaveDialog1().fileName, f.path("out.ini"));
        QVERIFY(QDir(f.scratch.path())
                    .entryList(QStringList{".qmxtmp*"}, QDir::Hidden | QDir::Files)
                    .isEmpty());
    }

    void failedSaveKeepsEverything_data()
    {
        QTest::addColumn<QString>("target");
        QTest::newRow("read-only directory") << "ro/old.ini";
        QTest::newRow("a directory in the way") << "ro/sub";
        QTest::newRow("missing directory") << "none/old.ini";
    }
    void failedSaveKeepsEverything()
    {
        QFETCH(QString, target);
        Frame f;
        QDir(f.scratch.path()).mkpath(QStringLiteral("ro/sub"));
        f.put(f.path("ro/old.ini"), "OLD\r\n");
        QFile::setPermissions(f.path("ro"), QFile::ReadOwner | QFile::ExeOwner);
        if (target.startsWith(QLatin1String("ro/old")) && ::geteuid() == 0)
            QSKIP("the superuser writes into a read-only directory");
        TCFGGen* e = f.editor();
        textOf(e)->appendPlainText(QStringLiteral("NEW=NEW"));
        f.ask->confirmAnswers << true;
        f.ask->saveAnswers << f.path(target.toUtf8().constData());
        QVERIFY(!e->parentWidget()->close());
        QCOMPARE(f.ask->errors.size(), 1);
        QVERIFY(e->changed());
        QVERIFY(textOf(e)->toPlainText().endsWith(QStringLiteral("NEW=NEW")));
        QCOMPARE(e->caption(), QStringLiteral("NONAME1"));
        QCOMPARE(f.main->mdiArea()->subWindowList().size(), 1);
        QCOMPARE(Frame::bytes(f.path("ro/old.ini")), QByteArray("OLD\r\n"));
        QCOMPARE(
            QDir(f.path("ro")).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
            QStringList({"old.ini", "sub"}));
        QFile::setPermissions(f.path("ro"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        // Asked again on the next close.
        f.ask->confirmAnswers << false;
        QVERIFY(e->parentWidget()->close());
        QCOMPARE(f.ask->confirms.size(), 2);
    }

    void saveAndSaveAs()
    {
        Frame f;
        TCFGGen* e = f.editor();
        textOf(e)->setPlainText(QStringLiteral("A=A"));
        // Save of a new editor asks for the name, then keeps the file.
        f.ask->saveAnswers << f.path("first.ini");
        named<QAction>(f.main.get(), "FileSave1")->trigger();
        QCOMPARE(e->caption(), f.path("first.ini"));
        QVERIFY(!e->changed());
        textOf(e)->appendPlainText(QStringLiteral("B=B"));
        named<QAction>(f.main.get(), "FileSave1")->trigger();
        QCOMPARE(f.ask->saves.size(), 1);
        QCOMPARE(Frame::bytes(f.path("first.ini")), QByteArray("A=A\r\nB=B\r\n\r\n"));
        // Save As always asks and moves the caption; Save follows it.
        f.ask->saveAnswers << f.path("second.ini");
        named<QAction>(f.main.get(), "FileSaveAs1")->trigger();
        QCOMPARE(f.ask->saves.size(), 2);
        QCOMPARE(f.ask->saves.last().fileName, f.path("first.ini"));
        QCOMPARE(e->caption(), f.path("second.ini"));
        textOf(e)->appendPlainText(QStringLiteral("C=C"));
        named<QAction>(f.main.get(), "FileSave1")->trigger();
        QCOMPARE(Frame::bytes(f.path("second.ini")), QByteArray("A=A\r\nB=B\r\nC=C\r\n\r\n"));
        QCOMPARE(Frame::bytes(f.path("first.ini")), QByteArray("A=A\r\nB=B\r\n\r\n"));
        // A cancelled Save As changes nothing.
        textOf(e)->appendPlainText(QStringLiteral("D=D"));
        named<QAction>(f.main.get(), "FileSaveAs1")->trigger();
        QVERIFY(e->changed());
        QCOMPARE(e->caption(), f.path("second.ini"));
        QCOMPARE(f.main->mdiArea()->subWindowList().size(), 1);
        QVERIFY(f.ask->confirms.isEmpty());
    }

    void saveWritesBackToTheOpenedFile()
    {
        Frame f;
        f.put(f.path("in.ini"), "[Report]\r\nA=B\r\n\r\n");
        TCFGGen* e = f.editor(f.path("in.ini"));
        QCOMPARE(textOf(e)->toPlainText(), QStringLiteral("[Report]\nA=B\n"));
        placeCaret(e, 9);
        select(e, QStringLiteral("CPU"));
        e->ListBox1DblClick();
        named<QAction>(f.main.get(), "FileSave1")->trigger();
        QVERIFY(f.ask->saves.isEmpty());
        QCOMPARE(Frame::bytes(f.path("in.ini")), QByteArray("[Report]\r\nCPU=CPUA=B\r\n\r\n"));
        QCOMPARE(e->caption(), f.path("in.ini"));
        QVERIFY(!e->changed());
    }

    void exitAsksForEachChangedEditor()
    {
        Frame f;
        TCFGGen* first = f.editor(QStringLiteral("NONAME1"));
        f.editor(QStringLiteral("NONAME2"));
        TCFGGen* third = f.editor(QStringLiteral("NONAME3"));
        textOf(first)->appendPlainText(QStringLiteral("ONE=ONE"));
        textOf(third)->appendPlainText(QStringLiteral("THREE=THREE"));

        // Yes for the first, then its save is cancelled: nothing closes and
        // the third is not asked.
        f.ask->confirmAnswers << true;
        QVERIFY(!f.main->close());
        QCOMPARE(f.ask->confirms.size(), 1);
        QCOMPARE(f.main->mdiArea()->subWindowList().size(), 3);

        // Yes and a failing save: still open.
        f.ask->confirmAnswers << true;
        f.ask->saveAnswers << f.path("missing/one.ini");
        QVERIFY(!f.main->close());
        QCOMPARE(f.ask->errors.size(), 1);

        // Yes with a name, then No: the first is saved and the program ends.
        f.ask->confirmAnswers << true << false;
        f.ask->saveAnswers << f.path("one.ini");
        QVERIFY(f.main->close());
        QCOMPARE(f.ask->confirms.size(), 4);
        QVERIFY(Frame::bytes(f.path("one.ini")).endsWith("ONE=ONE\r\n\r\n"));
        QVERIFY(!f.main->isVisible());
    }

    void exitDuringAWaitGivesUpTheInsertion()
    {
        Frame f;
        TCFGGen* e = f.editor();
        select(e, QStringLiteral("Registry"));
        bool closed = false;
        QTimer::singleShot(0, f.main.get(), [&] {
            QVERIFY(e->awaitingEntry());
            closed = f.main->close();
        });
        e->ListBox1DblClick();
        QVERIFY(closed);
        QVERIFY(!f.main->faddreg()->isVisible());
        QCOMPARE(textOf(e)->toPlainText(), kNewText);
        QVERIFY(f.ask->confirms.isEmpty());
    }
};

int main(int argc, char** argv)
{
    qmx::Application app(argc, argv);
    TstScanEdit test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_scanedit.moc"
