#include "gui/support/celltips.h"

#include <QAbstractItemView>
#include <QEvent>
#include <QHeaderView>
#include <QHelpEvent>
#include <QStyle>
#include <QTableView>
#include <QToolTip>

namespace qmx {

namespace {

// The text under a point of the viewport and the rectangle it is drawn in;
// an empty text where there is no cell.
struct Cell {
    QString text;
    QRect rect;
    QFont font;
    int margin = 0;
};

Cell headerCell(const QHeaderView* header, const QPoint& pos)
{
    const int section = header->logicalIndexAt(pos);
    if (section < 0 || !header->model())
        return {};
    const bool across = header->orientation() == Qt::Horizontal;
    const int at = header->sectionViewportPosition(section);
    const int size = header->sectionSize(section);
    Cell c;
    c.text = header->model()->headerData(section, header->orientation()).toString();
    c.rect = across ? QRect(at, 0, size, header->height()) : QRect(0, at, header->width(), size);
    c.font = header->font();
    c.margin = header->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, header);
    return c;
}

Cell viewCell(const QAbstractItemView* view, const QPoint& pos)
{
    const QModelIndex index = view->indexAt(pos);
    if (!index.isValid())
        return {};
    Cell c;
    c.text = index.data().toString();
    c.rect = view->visualRect(index);
    const QVariant font = index.data(Qt::FontRole);
    c.font = font.isValid() ? font.value<QFont>() : view->font();
    // The item delegate's space either side of the text.
    c.margin = view->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, view) + 1;
    return c;
}

class ClippedTextTips : public QObject {
public:
    explicit ClippedTextTips(QAbstractItemView* view) : QObject(view), view_(view) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::ToolTip || watched != view_->viewport())
            return false;
        const auto* help = static_cast<QHelpEvent*>(event);
        const auto* header = qobject_cast<const QHeaderView*>(view_);
        const Cell c = header ? headerCell(header, help->pos()) : viewCell(view_, help->pos());
        const int needed = QFontMetrics(c.font).horizontalAdvance(c.text) + 2 * c.margin;
        if (c.text.isEmpty() || needed <= c.rect.width())
            QToolTip::hideText();
        else
            QToolTip::showText(help->globalPos(), c.text, view_->viewport(), c.rect);
        return true;
    }

private:
    QAbstractItemView* view_;
};

void install(QAbstractItemView* view)
{
    view->viewport()->installEventFilter(new ClippedTextTips(view));
}

} // namespace

void installClippedTextTips(QAbstractItemView* view)
{
    install(view);
    if (auto* table = qobject_cast<QTableView*>(view))
        install(table->horizontalHeader());
}

} // namespace qmx
