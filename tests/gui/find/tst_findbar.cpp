// The find bar: case-blind matching, next and previous with wrapping, the
// keys that drive it, and its place in the windows that carry one.
#include "fakeprompts.h"
#include "named.h"

#include "gui/find/findbar.h"
#include "gui/report/childwin.h"
#include "gui/scanedit/qmxgen.h"
#include "gui/server/srvcfg.h"
#include "gui/shell/mainform.h"

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <QVBoxLayout>

using namespace qmx;

namespace {

// A window holding one wrapped text view, as the child windows hold theirs.
struct Host {
    QWidget window;
    QPlainTextEdit* view = nullptr;
    FindBar* bar = nullptr;

    explicit Host(const QString& text)
    {
        auto* layout = new QVBoxLayout(&window);
        view = new QPlainTextEdit(&window);
        view->setObjectName(QStringLiteral("Text"));
        view->setPlainText(text);
        layout->addWidget(FindBar::wrap(view));
        bar = named<FindBar>(&window, "TextFindBar");
        window.resize(500, 300);
    }
    QLineEdit* edit() const { return named<QLineEdit>(bar, "FindEdit"); }
    QString status() const { return named<QLabel>(bar, "FindStatus")->text(); }
    void caretAt(int position)
    {
        QTextCursor c = view->textCursor();
        c.setPosition(position);
        view->setTextCursor(c);
    }
    // "start+length" of the selection; "" when nothing is selected.
    QString selection() const
    {
        const QTextCursor c = view->textCursor();
        if (!c.hasSelection())
            return {};
        return QStringLiteral("%1+%2")
            .arg(c.selectionStart())
            .arg(c.selectionEnd() - c.selectionStart());
    }
    void activate()
    {
        window.show();
        QApplication::setActiveWindow(&window);
        QVERIFY(QTest::qWaitForWindowActive(&window));
    }
};

// 0: "alpha one", 10: "Beta ALPHA", 21: "ärger Ärger x", 34: the end.
const QString kText = QString::fromUtf8("alpha one\nBeta ALPHA\n\xc3\xa4rger \xc3\x84rger x");

} // namespace

class TstFindBar : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void steps_data()
    {
        QTest::addColumn<QString>("search");
        QTest::addColumn<int>("caret");
        // Each step: 'n' next, 'p' previous; then the selection after it.
        QTest::addColumn<QString>("steps");
        QTest::addColumn<QStringList>("selections");
        QTest::addColumn<QString>("status");
        QTest::newRow("next finds any case, then wraps")
            << "ALPHA" << 0 << "nnn" << QStringList({"0+5", "15+5", "0+5"})
            << "Continued from the start";
        QTest::newRow("previous from the start wraps to the last")
            << "alpha" << 0 << "pp" << QStringList({"15+5", "0+5"}) << "";
        QTest::newRow("letters beyond ASCII fold") << QString::fromUtf8("\xc3\x84RGER") << 0 << "nn"
                                                   << QStringList({"21+5", "27+5"}) << "";
        QTest::newRow("last character of the text")
            << "X" << 0 << "nn" << QStringList({"33+1", "33+1"}) << "Continued from the start";
        QTest::newRow("first character from the end")
            << "a" << 34 << "p" << QStringList({"19+1"}) << "";
        QTest::newRow("across a line break is no match")
            << "one Beta" << 0 << "n" << QStringList({""}) << "Not found";
        QTest::newRow("absent") << "zeta" << 4 << "np" << QStringList({"", ""}) << "Not found";
    }

    void steps()
    {
        QFETCH(QString, search);
        QFETCH(int, caret);
        QFETCH(QString, steps);
        QFETCH(QStringList, selections);
        QFETCH(QString, status);
        Host host(kText);
        host.caretAt(caret);
        host.bar->open();
        host.edit()->setText(search);
        for (int i = 0; i < steps.size(); ++i) {
            const bool found =
                steps.at(i) == QLatin1Char('n') ? host.bar->findNext() : host.bar->findPrevious();
            QCOMPARE(found, !selections.at(i).isEmpty());
            QCOMPARE(host.selection(), selections.at(i));
        }
        QCOMPARE(host.status(), status);
    }

    void buttonsStepThroughMatches()
    {
        Host host(kText);
        host.bar->open();
        host.edit()->setText(QStringLiteral("alpha"));
        QTest::mouseClick(named<QToolButton>(host.bar, "FindNext"), Qt::LeftButton);
        QTest::mouseClick(named<QToolButton>(host.bar, "FindNext"), Qt::LeftButton);
        QCOMPARE(host.selection(), QStringLiteral("15+5"));
        QTest::mouseClick(named<QToolButton>(host.bar, "FindPrevious"), Qt::LeftButton);
        QCOMPARE(host.selection(), QStringLiteral("0+5"));
        QTest::mouseClick(named<QToolButton>(host.bar, "FindClose"), Qt::LeftButton);
        QVERIFY(host.bar->isHidden());
    }

    void keysOpenFindAndClose()
    {
        Host host(kText);
        host.activate();
        host.view->setFocus();
        QVERIFY(host.bar->isHidden());
        QTest::keyClick(host.view, Qt::Key_F, Qt::ControlModifier);
        QVERIFY(host.bar->isVisible());
        QVERIFY(host.edit()->hasFocus());
        // Typing searches as it goes, growing the current match.
        QTest::keyClicks(host.edit(), QStringLiteral("be"));
        QCOMPARE(host.selection(), QStringLiteral("10+2"));
        QTest::keyClicks(host.edit(), QStringLiteral("ta"));
        QCOMPARE(host.selection(), QStringLiteral("10+4"));
        QTest::keyClick(host.edit(), Qt::Key_Return);
        QCOMPARE(host.selection(), QStringLiteral("10+4"));
        QCOMPARE(host.status(), QStringLiteral("Continued from the start"));
        host.edit()->setText(QStringLiteral("alpha"));
        QTest::keyClick(host.edit(), Qt::Key_F3);
        QCOMPARE(host.selection(), QStringLiteral("15+5"));
        QTest::keyClick(host.edit(), Qt::Key_F3, Qt::ShiftModifier);
        QCOMPARE(host.selection(), QStringLiteral("0+5"));
        QTest::keyClick(host.edit(), Qt::Key_Return, Qt::ShiftModifier);
        QCOMPARE(host.selection(), QStringLiteral("15+5"));
        QTest::keyClick(host.edit(), Qt::Key_Escape);
        QVERIFY(host.bar->isHidden());
        QVERIFY(host.view->hasFocus());
        // F3 in the view goes on with the same text after the bar closed.
        QTest::keyClick(host.view, Qt::Key_F3);
        QCOMPARE(host.selection(), QStringLiteral("0+5"));
    }

    void selectionOnOneLineBecomesTheSearchText()
    {
        Host host(kText);
        QTextCursor c = host.view->textCursor();
        c.setPosition(10);
        c.setPosition(14, QTextCursor::KeepAnchor);
        host.view->setTextCursor(c);
        host.bar->open();
        QCOMPARE(host.bar->searchText(), QStringLiteral("Beta"));
        c.setPosition(5);
        c.setPosition(14, QTextCursor::KeepAnchor);
        host.view->setTextCursor(c);
        host.bar->open();
        QCOMPARE(host.bar->searchText(), QStringLiteral("Beta"));
    }

    void windowsCarryABarOnTheirText()
    {
        QTemporaryDir dir;
        TMainForm main(QStringList(), std::make_unique<FakePrompts>());
        main.createSharedDialogs(dir.filePath(QStringLiteral("QMXRead.ini")));
        TForm1* report = main.NewReportChild(QStringLiteral(QMX_TEST_DATA "/gui/report1.txt"));
        TCFGGen* editor = main.NewEditorChild(dir.filePath(QStringLiteral("new.ini")));
        Tsrvrcfg* server = main.NewServerChild(QStringLiteral(QMX_SAMPLES "/srv-main.txt"));
        const std::pair<ChildWindow*, QStringList> windows[] = {
            {report, {"RichEdit1"}},
            {editor, {"RichEdit1"}},
            {server, {"Memo1", "Memo2", "Memo3", "Memo4", "Memo5"}},
        };
        for (const auto& [window, texts] : windows) {
            QCOMPARE(window->findChildren<FindBar*>().size(), texts.size());
            for (const QString& text : texts) {
                auto* bar = named<FindBar>(window, (text + "FindBar").toUtf8().constData());
                QCOMPARE(bar->view(), named<QWidget>(window, text.toUtf8().constData()));
                QVERIFY(bar->isHidden());
            }
        }
        // The server window's bar finds in the text loaded into it.
        auto* bar = named<FindBar>(server, "Memo2FindBar");
        bar->open();
        named<QLineEdit>(bar, "FindEdit")->setText(QStringLiteral("load"));
        QVERIFY(bar->findNext());
        QCOMPARE(bar->target()->selectedText().toLower(), QStringLiteral("load"));
    }
};

QTEST_MAIN(TstFindBar)
#include "tst_findbar.moc"
