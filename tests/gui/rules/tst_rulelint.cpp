// The lint in the Options dialog's rule editor: warnings underlined where
// they stand with their text as tool-tip, the count line and its jump to the
// next warning, the colours of the rule language, and linting only once
// typing pauses. Which warnings a text gets is the core tests' business.
#include "named.h"
#include "testframe.h"

#include "gui/report/childwin.h"
#include "gui/rules/rules.h"

#include <QColor>
#include <QHelpEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTest>
#include <QTextBlock>
#include <QTextLayout>
#include <QToolButton>
#include <QToolTip>

using namespace qmx;

namespace {

const QString kSettings = QStringLiteral(QMX_TEST_DATA "/gui/settings.ini");

// The main window's Options dialog, shown, with its editor and lint line.
struct Fixture {
    TestApp app{kSettings};
    Tfrules* dialog = app.main->rules();
    QPlainTextEdit* memo = named<QPlainTextEdit>(dialog, "Memo1");
    QLabel* status = named<QLabel>(dialog, "LintStatus");
    QToolButton* next = named<QToolButton>(dialog, "LintNext");

    Fixture() { dialog->show(); }

    // The format Qt lays out at line:column (1-based).
    QTextCharFormat formatAt(int line, int column) const
    {
        const QTextBlock block = memo->document()->findBlockByNumber(line - 1);
        for (const QTextLayout::FormatRange& r : block.layout()->formats())
            if (column - 1 >= r.start && column - 1 < r.start + r.length)
                return r.format;
        return {};
    }

    std::pair<int, int> caret() const
    {
        const QTextCursor c = memo->textCursor();
        return {c.blockNumber() + 1, c.positionInBlock() + 1};
    }
};

// Line 2: R013 at column 8 (a warning); line 3: R010 over "PRNT" (an error).
const QString kRules = QStringLiteral("PRINT \"A\";\nSET %X% =1;\nPRNT \"B\";\nPRINT \"C\";");

} // namespace

class TstRuleLint : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void lintsOncePausedAndUnderlinesWithToolTips()
    {
        Fixture fx;
        // The rule set loaded with the dialog has no warning.
        QTRY_VERIFY(!fx.next->isEnabled());
        QCOMPARE(fx.status->text(), QStringLiteral("No warnings"));
        fx.memo->setPlainText(kRules);
        // Not yet: the text is linted after a pause, not on each change.
        QCOMPARE(fx.status->text(), QStringLiteral("No warnings"));
        QTRY_COMPARE(fx.status->text(), QStringLiteral("1 error, 1 warning"));
        QVERIFY(fx.next->isEnabled());
        // The underline's colour, none where there is no underline.
        const QColor warning(230, 140, 0), error(220, 0, 0);
        const struct {
            int line, column;
            QColor colour;
        } cases[] = {
            {2, 7, {}},    {2, 8, warning}, {2, 9, {}}, {3, 1, error},
            {3, 4, error}, {3, 5, {}},      {1, 1, {}},
        };
        for (const auto& c : cases) {
            const QTextCharFormat f = fx.formatAt(c.line, c.column);
            const QString where = QStringLiteral("%1:%2").arg(c.line).arg(c.column);
            QVERIFY2((f.underlineStyle() == QTextCharFormat::WaveUnderline) == c.colour.isValid(),
                     qPrintable(where));
            if (c.colour.isValid())
                QVERIFY2(f.underlineColor() == c.colour, qPrintable(where));
        }

        // Mending the line takes its underline away.
        QTextCursor cursor(fx.memo->document()->findBlockByNumber(2));
        cursor.insertText(QStringLiteral("PRINT \"B\";//"));
        cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
        cursor.removeSelectedText();
        QTRY_COMPARE(fx.status->text(), QStringLiteral("1 warning"));
        QVERIFY(fx.formatAt(3, 1).underlineStyle() != QTextCharFormat::WaveUnderline);

        // The tool-tip over the warning: its text, code and help.
        QTextCursor at(fx.memo->document()->findBlockByNumber(1));
        at.setPosition(at.position() + 7);
        const QPoint pos = fx.memo->cursorRect(at).center() + QPoint(2, 0);
        QHelpEvent tip(QEvent::ToolTip, pos, fx.memo->viewport()->mapToGlobal(pos));
        QCoreApplication::sendEvent(fx.memo->viewport(), &tip);
        QTRY_VERIFY(QToolTip::isVisible());
        QVERIFY(QToolTip::text().contains(QStringLiteral("R013")));
        QVERIFY(QToolTip::text().contains(QStringLiteral("blank included")));
        QVERIFY(QToolTip::text().contains(QStringLiteral("Wrong:")));
    }

    void nextJumpsFromWarningToWarningAndWrapsAround()
    {
        Fixture fx;
        fx.memo->setPlainText(kRules + QStringLiteral("\nPRINT \"D\"+ %X%;"));
        // Next before the pause lints first, so it goes to a fresh warning.
        for (const auto& at :
             {std::pair(2, 8), std::pair(3, 1), std::pair(5, 10), std::pair(2, 8)}) {
            QTest::mouseClick(fx.next, Qt::LeftButton);
            QCOMPARE(fx.caret(), at);
        }
        QVERIFY(fx.status->text().contains(QStringLiteral("2:8:")));
        QVERIFY(fx.status->text().contains(QStringLiteral("[R013]")));
        // From a caret between warnings, the next one after it.
        QTextCursor c(fx.memo->document()->findBlockByNumber(3));
        fx.memo->setTextCursor(c);
        QTest::keyClick(fx.memo, Qt::Key_F8);
        QCOMPARE(fx.caret(), std::make_pair(5, 10));
    }

    void checksReferencesAgainstTheReportInFront()
    {
        Fixture fx;
        fx.memo->setPlainText(QStringLiteral("PRINT %TOTALMEMROY%;"));
        QTRY_VERIFY(!fx.next->isEnabled()); // no report: nothing to check against

        TForm1* report = fx.app.main->NewReportChild(QStringLiteral(QMX_SAMPLES "/ws-lab.txt"));
        QTRY_COMPARE(fx.status->text(), QStringLiteral("1 warning"));
        fx.next->click();
        QVERIFY(fx.status->text().contains(QStringLiteral("closest: %TOTALMEMORY%")));

        report->parentWidget()->close();
        QTRY_VERIFY(!fx.next->isEnabled());
        QCOMPARE(fx.status->text(), QStringLiteral("No warnings"));
    }

    void coloursTheRuleLanguage()
    {
        Fixture fx;
        fx.memo->setPlainText(QStringLiteral("// note\nif (%X%=1) THEN begin PRINT \"A // B\n"
                                             "C\"; END;\nPRINT \"A\"; // after"));
        const QColor keyword(0, 0, 160), variable(0, 110, 110), literal(160, 0, 0),
            comment(110, 110, 110);
        const struct {
            int line, column;
            QColor colour;
        } cases[] = {
            {1, 1, comment}, {2, 1, keyword},  {2, 5, variable}, {2, 7, variable}, {2, 8, {}},
            {2, 17, {}},     {2, 23, keyword}, {2, 29, literal}, {2, 33, literal}, {3, 1, literal},
            {3, 2, literal}, {3, 3, {}},       {3, 5, keyword},  {4, 12, comment}, {4, 7, literal},
        };
        for (const auto& c : cases) {
            const QColor got = fx.formatAt(c.line, c.column).foreground().color();
            QVERIFY2(got == c.colour || (!c.colour.isValid() && got == QColor(Qt::black)),
                     qPrintable(
                         QStringLiteral("%1:%2 is %3").arg(c.line).arg(c.column).arg(got.name())));
        }
    }
};

QTEST_MAIN(TstRuleLint)
#include "tst_rulelint.moc"
