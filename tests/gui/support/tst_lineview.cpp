// The line view: what a selection made with the mouse or the keyboard
// copies, rows when wrapping, colours where ranges overlap, and the caret
// reaching the far end of a very long line; and what the editable text
// copies.
#include "core/util/lines.h"
#include "gui/support/linetext.h"
#include "gui/support/lineview.h"
#include "gui/support/textedit.h"

#include <QApplication>
#include <QClipboard>
#include <QScrollBar>
#include <QTest>

#include <functional>

using namespace qmx;

namespace {

const std::string kLong(1'000'000, 'x');

struct View {
    LineView view;
    explicit View(std::string_view text)
    {
        auto owner = std::make_shared<std::string>(text);
        view.setLines(splitLineViews(*owner), owner);
        view.resize(400, 200);
        view.show();
        view.setFocus();
    }
    // The point of a row and column on screen, scrolled to the top left.
    QPoint at(int row, int column) const
    {
        const qreal cw = QFontMetricsF(view.font()).horizontalAdvance(QLatin1Char('M'));
        return {3 + int(column * cw + cw / 4), row * view.fontMetrics().lineSpacing() + 2};
    }
    void keys(const QKeySequence& keys) { QTest::keySequence(&view, keys); }
};

} // namespace

class TstLineView : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void selectionsCopyTheTextBetweenThem()
    {
        // clang-format off
        const struct {
            const char* name;
            std::string text;
            std::function<void(View&)> select;
            QString copied;
        } cases[] = {
            {"Ctrl+A over CR LF, CR and LF ends", "ab\r\n\rcd\ne",
             [](View& v) { v.keys(QKeySequence::SelectAll); }, "ab\n\ncd\ne"},
            {"ending on a line's last character", "ab\r\ncd",
             [](View& v) { v.view.selectRange(3, 5); }, "cd"},
            {"across one line break, backwards", "ab\r\ncd",
             [](View& v) { v.view.selectRange(3, 2); }, "\n"},
            {"shift+End then shift+Right takes the break", "ab\r\ncd",
             [](View& v) { v.keys({Qt::SHIFT | Qt::Key_End, Qt::SHIFT | Qt::Key_Right}); }, "ab\n"},
            {"shift+Down keeps the column", "abc\r\ndef\r\n",
             [](View& v) { v.keys({QKeyCombination(Qt::Key_Right), Qt::SHIFT | Qt::Key_Down}); },
             "bc\nd"},
            {"shift+Ctrl+End from the middle", "abc\r\ndef", [](View& v) {
                 v.keys({QKeyCombination(Qt::Key_Right), Qt::SHIFT | Qt::CTRL | Qt::Key_End});
             }, "bc\ndef"},
            {"click then shift+click", "abc\r\n\r\ndef", [](View& v) {
                 QTest::mouseClick(v.view.viewport(), Qt::LeftButton, {}, v.at(0, 1));
                 QTest::mouseClick(v.view.viewport(), Qt::LeftButton, Qt::ShiftModifier,
                                   v.at(2, 2));
             }, "bc\n\nde"},
            {"drag over two rows", "abc\r\ndef", [](View& v) {
                 QWidget* port = v.view.viewport();
                 QTest::mousePress(port, Qt::LeftButton, {}, v.at(0, 2));
                 QMouseEvent move(QEvent::MouseMove, v.at(1, 1), port->mapToGlobal(v.at(1, 1)),
                                  Qt::NoButton, Qt::LeftButton, {});
                 QApplication::sendEvent(port, &move);
                 QTest::mouseRelease(port, Qt::LeftButton, {}, v.at(1, 1));
             }, "c\nd"},
            {"double-click takes a word", "one two_2 three",
             [](View& v) { QTest::mouseDClick(v.view.viewport(), Qt::LeftButton, {}, v.at(0, 5)); },
             "two_2"},
            {"the end of a long line and the next", kLong + "\r\nyz",
             [](View& v) { v.view.selectRange(999'998, 1'000'003); }, "xx\nyz"},
            {"Windows-1252 bytes", "\x80\x9f\xe4", [](View& v) { v.keys(QKeySequence::SelectAll); },
             QString::fromUtf8("\u20ac\u0178\u00e4")},
            {"nothing selected copies nothing", "abc", [](View& v) { v.view.selectRange(1, 1); },
             "(none)"},
        };
        // clang-format on
        for (const auto& c : cases) {
            QTest::qWait(0);
            QApplication::clipboard()->setText(QStringLiteral("(none)"));
            View v(c.text);
            c.select(v);
            v.keys(QKeySequence::Copy);
            const QString copied = QApplication::clipboard()->text();
            QVERIFY2(copied == c.copied,
                     qPrintable(QStringLiteral("%1: %2").arg(c.name, copied.left(40))));
        }
    }

    void editableTextCopiesThePlainSelection()
    {
        const QString text = QString::fromUtf8("ab\ncd\n\nx y");
        const struct {
            int from, to;
            QString copied;
        } cases[] = {
            {0, 2, "ab"},                      // ends on a line's last character
            {5, 3, "cd"},                      // backwards
            {2, 3, "\n"},                      // one line break
            {1, 7, "b\ncd\n\n"},               // ends at the start of a line
            {7, 10, QString::fromUtf8("x y")}, // a no-break space stays one
        };
        TextEdit edit;
        edit.setPlainText(text);
        for (const auto& c : cases) {
            QTextCursor cursor = edit.textCursor();
            cursor.setPosition(c.from);
            cursor.setPosition(c.to, QTextCursor::KeepAnchor);
            edit.setTextCursor(cursor);
            edit.copy();
            QVERIFY2(QApplication::clipboard()->text() == c.copied,
                     qPrintable(QStringLiteral("%1-%2").arg(c.from).arg(c.to)));
        }
    }

    void wrappedRows()
    {
        const struct {
            std::string line;
            size_t columns;
            std::vector<std::string> rows;
        } cases[] = {
            {"abcd", 4, {"abcd"}},                   // exactly the width
            {"abcde", 4, {"abcd", "e"}},             // no blank: cut at the width
            {"ab cdef", 4, {"ab ", "cdef"}},         // break after the blank
            {"abc defgh", 4, {"abc ", "defg", "h"}}, // blank as the last that fits
            {" abcdefg", 4, {" abc", "defg"}},       // a leading blank is no break
            {"", 4, {""}},
        };
        for (const auto& c : cases) {
            LineText text;
            auto owner = std::make_shared<std::string>(c.line);
            text.setLines({*owner}, owner);
            text.wrap(c.columns);
            std::vector<std::string> rows;
            for (size_t r = 0; r < text.rowCount(); ++r) {
                const LineText::Row row = text.row(r);
                rows.emplace_back(c.line.substr(row.begin, row.end - row.begin));
            }
            QVERIFY2(rows == c.rows, c.line.c_str());
            QCOMPARE(text.rowOf(qsizetype(c.line.size())), text.rowCount() - 1);
        }
    }

    void laterColoursWinAndStopAtTheLineEnd()
    {
        LineText text;
        auto owner = std::make_shared<std::string>("abcdef");
        text.setLines({*owner}, owner);
        text.setColouring({{0, 0, 4, Qt::red},
                           {0, 2, 1, Qt::blue},
                           {0, 5, size_t(-1), Qt::green},
                           {1, 0, 1, Qt::red}});
        const QColor expected[] = {Qt::red,  Qt::red,   Qt::blue, Qt::red,
                                   QColor(), Qt::green, QColor()};
        for (size_t column = 0; column < std::size(expected); ++column)
            QCOMPARE(text.colourAt(0, column), expected[column]);
    }

    void theCaretReachesTheEndOfALongLine()
    {
        View v("a\r\n" + kLong);
        v.keys({Qt::Key_Down, Qt::Key_End});
        QCOMPARE(v.view.caretPosition(), qsizetype(2 + kLong.size()));
        QScrollBar* h = v.view.horizontalScrollBar();
        QCOMPARE(h->value(), h->maximum());
        v.keys(Qt::Key_Home);
        QCOMPARE(h->value(), 0);
    }
};

QTEST_MAIN(TstLineView)
#include "tst_lineview.moc"
