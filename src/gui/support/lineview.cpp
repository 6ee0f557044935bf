#include "gui/support/lineview.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QFontDatabase>
#include <QKeyEvent>
#include <QMenu>
#include <QPainter>
#include <QScrollBar>

#include <algorithm>
#include <climits>
#include <cmath>
#include <optional>

namespace qmx {

namespace {

// Blank space left of the first column, as text controls leave it.
constexpr int kMargin = 3;

bool isWordByte(char c)
{
    const auto b = static_cast<unsigned char>(c);
    return b == '_' || b >= 0xC0 || (b >= '0' && b <= '9')
           || ((b | 0x20) >= 'a' && (b | 0x20) <= 'z');
}

} // namespace

LineView::LineView(QWidget* parent) : QAbstractScrollArea(parent)
{
    setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setBackgroundRole(QPalette::Base);
    viewport()->setAutoFillBackground(true);
    viewport()->setCursor(Qt::IBeamCursor);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
}

LineView* LineView::singleLine(QWidget* parent)
{
    auto* view = new LineView(parent);
    view->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    view->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    view->setFixedHeight(view->rowHeight() + 2 * view->frameWidth()
                         + view->horizontalScrollBar()->sizeHint().height() + 2);
    return view;
}

void LineView::setLines(std::vector<std::string_view> lines, std::shared_ptr<const void> owner)
{
    text_.setLines(std::move(lines), std::move(owner));
    anchor_ = caret_ = 0;
    ++revision_;
    relayout();
    verticalScrollBar()->setValue(0);
    horizontalScrollBar()->setValue(0);
    Q_EMIT selectionChanged();
}

void LineView::setLines(const std::vector<std::string>& lines)
{
    auto [views, owner] = ownedLines(lines);
    setLines(std::move(views), std::move(owner));
}

void LineView::setColouring(std::vector<Colouring> colours)
{
    text_.setColouring(std::move(colours));
    viewport()->update();
}

void LineView::setWordWrap(bool on)
{
    if (wrap_ == on)
        return;
    wrap_ = on;
    relayout();
    ensureCaretVisible();
}

QString LineView::lineText(qsizetype line) const
{
    if (line < 0 || line >= lineCount())
        return {};
    const qsizetype start = text_.lineStart(static_cast<size_t>(line));
    return text_.text(start,
                      start + static_cast<qsizetype>(text_.line(static_cast<size_t>(line)).size()));
}

QColor LineView::colourAt(qsizetype line, qsizetype column) const
{
    if (line < 0 || line >= lineCount() || column < 0)
        return {};
    return text_.colourAt(static_cast<size_t>(line), static_cast<size_t>(column));
}

qsizetype LineView::firstVisibleRow() const
{
    return verticalScrollBar()->value();
}

void LineView::selectRange(qsizetype anchor, qsizetype caret)
{
    anchor_ = std::clamp<qsizetype>(anchor, 0, text_.length());
    moveTo(caret, true);
    viewport()->update();
    Q_EMIT selectionChanged();
}

void LineView::copy()
{
    if (hasSelection())
        QApplication::clipboard()->setText(selectedText());
}

void LineView::selectAll()
{
    anchor_ = 0;
    caret_ = text_.length();
    viewport()->update();
    Q_EMIT selectionChanged();
}

qreal LineView::charWidth() const
{
    return std::max<qreal>(1, QFontMetricsF(font()).horizontalAdvance(QLatin1Char('M')));
}

int LineView::rowHeight() const
{
    return std::max(1, fontMetrics().lineSpacing());
}

int LineView::visibleRows() const
{
    return std::max(1, viewport()->height() / rowHeight());
}

void LineView::relayout()
{
    const int width = viewport()->width();
    const qreal cw = charWidth();
    const size_t columns =
        wrap_ ? std::max<size_t>(1, static_cast<size_t>((width - 2 * kMargin) / cw)) : 0;
    if (columns != text_.wrapColumns())
        text_.wrap(columns);
    QScrollBar* v = verticalScrollBar();
    const qint64 rows = static_cast<qint64>(text_.rowCount());
    v->setRange(0, static_cast<int>(std::clamp<qint64>(rows - visibleRows(), 0, INT_MAX)));
    v->setPageStep(visibleRows());
    v->setSingleStep(1);
    QScrollBar* h = horizontalScrollBar();
    const qint64 contentWidth =
        wrap_ ? 0
              : static_cast<qint64>(std::ceil(static_cast<qreal>(text_.longestLine()) * cw))
                    + 2 * kMargin + 1;
    h->setRange(0, static_cast<int>(std::clamp<qint64>(contentWidth - width, 0, INT_MAX)));
    h->setPageStep(std::max(1, width));
    h->setSingleStep(std::max(1, static_cast<int>(cw)));
    viewport()->update();
}

void LineView::ensureCaretVisible()
{
    if (text_.lineCount() == 0)
        return;
    const qint64 row = static_cast<qint64>(text_.rowOf(caret_));
    QScrollBar* v = verticalScrollBar();
    if (row < v->value())
        v->setValue(static_cast<int>(row));
    else if (row >= v->value() + visibleRows())
        v->setValue(static_cast<int>(row - visibleRows() + 1));
    if (wrap_)
        return;
    const qreal cw = charWidth();
    const qreal x = kMargin + static_cast<qreal>(text_.lineColumnAt(caret_).second) * cw;
    QScrollBar* h = horizontalScrollBar();
    const int width = viewport()->width();
    if (x - cw < h->value())
        h->setValue(static_cast<int>(x - width / 4));
    else if (x + cw > h->value() + width)
        h->setValue(static_cast<int>(x + cw - width + width / 4));
}

void LineView::moveTo(qsizetype position, bool extend)
{
    position = std::clamp<qsizetype>(position, 0, text_.length());
    if (position == caret_ && (extend || anchor_ == caret_))
        return;
    caret_ = position;
    if (!extend)
        anchor_ = position;
    ensureCaretVisible();
    viewport()->update();
    Q_EMIT selectionChanged();
}

void LineView::paintEvent(QPaintEvent*)
{
    QPainter painter(viewport());
    painter.setFont(font());
    const int height = viewport()->height();
    const size_t rows = text_.rowCount();
    int y = 0;
    for (size_t r = static_cast<size_t>(verticalScrollBar()->value()); r < rows && y < height;
         ++r) {
        paintRow(painter, text_.row(r), y);
        y += rowHeight();
    }
}

void LineView::paintRow(QPainter& painter, const LineText::Row& row, int y)
{
    const qreal cw = charWidth();
    const int h = rowHeight();
    const int offset = wrap_ ? 0 : horizontalScrollBar()->value();
    // Only the columns on screen are converted and drawn.
    const size_t begin = std::min(row.end, row.begin + static_cast<size_t>(offset / cw));
    const size_t end = std::min(row.end, begin + static_cast<size_t>(viewport()->width() / cw) + 2);
    const auto xOf = [&](size_t column) {
        return kMargin + static_cast<qreal>(column - row.begin) * cw - offset;
    };
    const qsizetype lineStart = text_.lineStart(row.line);
    const qsizetype lineEnd = static_cast<qsizetype>(text_.line(row.line).size());
    const qsizetype selFrom = selectionStart() - lineStart;
    const qsizetype selTo = selectionEnd() - lineStart;
    const QPalette& pal = palette();
    const auto selBegin =
        static_cast<size_t>(std::clamp<qsizetype>(selFrom, qsizetype(begin), qsizetype(end)));
    const auto selEnd =
        static_cast<size_t>(std::clamp<qsizetype>(selTo, qsizetype(begin), qsizetype(end)));
    const QColor highlight = pal.color(QPalette::Active, QPalette::Highlight);
    if (selEnd > selBegin)
        painter.fillRect(QRectF(xOf(selBegin), y, static_cast<qreal>(selEnd - selBegin) * cw, h),
                         highlight);
    // A selected line break shows as a selected blank after the line.
    if (qsizetype(row.end) == lineEnd && selFrom <= lineEnd && selTo > lineEnd)
        painter.fillRect(QRectF(xOf(row.end), y, cw, h), highlight);

    text_.colourColumns(row.line, begin, end, colours_);
    const QString shown = shownText(text_.line(row.line).substr(begin, end - begin));
    const qreal baseline = y + fontMetrics().ascent();
    for (size_t i = 0; i < size_t(shown.size());) {
        const bool selected = begin + i >= selBegin && begin + i < selEnd;
        size_t j = i + 1;
        while (j < size_t(shown.size()) && colours_[j] == colours_[i]
               && (begin + j >= selBegin && begin + j < selEnd) == selected)
            ++j;
        painter.setPen(selected ? pal.color(QPalette::Active, QPalette::HighlightedText)
                       : colours_[i].isValid() ? colours_[i]
                                               : pal.color(QPalette::Text));
        painter.drawText(QPointF(xOf(begin + i), baseline),
                         shown.mid(qsizetype(i), qsizetype(j - i)));
        i = j;
    }

    const auto [caretLine, caretColumn] = text_.lineColumnAt(caret_);
    if (hasFocus() && caretLine == row.line && caretColumn >= row.begin
        && (caretColumn < row.end || qsizetype(row.end) == lineEnd))
        painter.fillRect(QRectF(xOf(caretColumn), y, 1, h), pal.color(QPalette::Text));
}

qsizetype LineView::positionAt(const QPoint& point) const
{
    if (text_.lineCount() == 0)
        return 0;
    const qint64 row = verticalScrollBar()->value()
                       + static_cast<qint64>(std::floor(qreal(point.y()) / rowHeight()));
    const LineText::Row r =
        text_.row(static_cast<size_t>(std::clamp<qint64>(row, 0, qint64(text_.rowCount()) - 1)));
    const int offset = wrap_ ? 0 : horizontalScrollBar()->value();
    const qreal column =
        std::max<qreal>(0, std::round((point.x() - kMargin + offset) / charWidth()));
    const size_t c = std::min(r.end, r.begin + static_cast<size_t>(column));
    return text_.lineStart(r.line) + static_cast<qsizetype>(c);
}

std::optional<qsizetype> LineView::keyTarget(const QKeyEvent* event) const
{
    if (text_.lineCount() == 0)
        return std::nullopt;
    const bool ctrl = event->modifiers() & Qt::ControlModifier;
    const qint64 row = static_cast<qint64>(text_.rowOf(caret_));
    const LineText::Row here = text_.row(static_cast<size_t>(row));
    const qsizetype start = text_.lineStart(here.line);
    const size_t column = static_cast<size_t>(caret_ - start) - here.begin;
    // The same column in another row, or that row's end when it is shorter.
    const auto inRow = [&](qint64 target) {
        const LineText::Row r = text_.row(
            static_cast<size_t>(std::clamp<qint64>(target, 0, qint64(text_.rowCount()) - 1)));
        return text_.lineStart(r.line) + static_cast<qsizetype>(std::min(r.end, r.begin + column));
    };
    switch (event->key()) {
    case Qt::Key_Left: return caret_ - 1;
    case Qt::Key_Right: return caret_ + 1;
    case Qt::Key_Up: return row == 0 ? 0 : inRow(row - 1);
    case Qt::Key_Down: return row + 1 >= qint64(text_.rowCount()) ? text_.length() : inRow(row + 1);
    case Qt::Key_PageUp: return inRow(row - visibleRows());
    case Qt::Key_PageDown: return inRow(row + visibleRows());
    case Qt::Key_Home: return ctrl ? 0 : start + qsizetype(here.begin);
    case Qt::Key_End: return ctrl ? text_.length() : start + qsizetype(here.end);
    default: return std::nullopt;
    }
}

void LineView::keyPressEvent(QKeyEvent* event)
{
    if (event == QKeySequence::Copy) {
        copy();
        return;
    }
    if (event == QKeySequence::SelectAll) {
        selectAll();
        return;
    }
    const std::optional<qsizetype> target = keyTarget(event);
    if (!target) {
        QAbstractScrollArea::keyPressEvent(event);
        return;
    }
    moveTo(*target, event->modifiers() & Qt::ShiftModifier);
}

void LineView::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    moveTo(positionAt(event->position().toPoint()), event->modifiers() & Qt::ShiftModifier);
    dragging_ = true;
}

void LineView::mouseMoveEvent(QMouseEvent* event)
{
    if (dragging_ && (event->buttons() & Qt::LeftButton))
        moveTo(positionAt(event->position().toPoint()), true);
}

void LineView::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    dragging_ = false;
    QClipboard* clipboard = QApplication::clipboard();
    if (hasSelection() && clipboard->supportsSelection())
        clipboard->setText(selectedText(), QClipboard::Selection);
}

void LineView::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || text_.lineCount() == 0)
        return;
    const auto [line, column] = text_.lineColumnAt(positionAt(event->position().toPoint()));
    const std::string_view text = text_.line(line);
    size_t from = column;
    size_t to = column;
    while (from > 0 && isWordByte(text[from - 1]))
        --from;
    while (to < text.size() && isWordByte(text[to]))
        ++to;
    const qsizetype start = text_.lineStart(line);
    selectRange(start + qsizetype(from), start + qsizetype(to));
}

void LineView::contextMenuEvent(QContextMenuEvent* event)
{
    QMenu menu(this);
    menu.addAction(tr("&Copy"), QKeySequence::Copy, this, &LineView::copy)
        ->setEnabled(hasSelection());
    menu.addSeparator();
    menu.addAction(tr("Select All"), QKeySequence::SelectAll, this, &LineView::selectAll);
    menu.exec(event->globalPos());
}

void LineView::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    relayout();
}

void LineView::changeEvent(QEvent* event)
{
    QAbstractScrollArea::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        relayout();
}

void LineView::focusInEvent(QFocusEvent* event)
{
    QAbstractScrollArea::focusInEvent(event);
    viewport()->update();
}

void LineView::focusOutEvent(QFocusEvent* event)
{
    QAbstractScrollArea::focusOutEvent(event);
    viewport()->update();
}

} // namespace qmx
