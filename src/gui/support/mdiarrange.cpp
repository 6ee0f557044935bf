#include "gui/support/mdiarrange.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QStyle>

namespace qmx {

void tileSubWindows(QMdiArea* mdi, Qt::Orientation direction)
{
    const auto windows = mdi->subWindowList();
    if (windows.isEmpty())
        return;
    const QSize area = mdi->viewport()->size();
    const int count = static_cast<int>(windows.size());
    int at = 0;
    for (QMdiSubWindow* w : windows) {
        w->showNormal();
        if (direction == Qt::Vertical) {
            const int h = area.height() / count;
            w->setGeometry(0, at, area.width(), h);
            at += h;
        } else {
            const int width = area.width() / count;
            w->setGeometry(at, 0, width, area.height());
            at += width;
        }
    }
}

void arrangeMinimized(QMdiArea* mdi)
{
    int x = 0;
    const int bottom = mdi->viewport()->height();
    for (QMdiSubWindow* w : mdi->subWindowList()) {
        if (!w->isMinimized())
            continue;
        const QSize s = w->size();
        if (x > 0 && x + s.width() > mdi->viewport()->width())
            x = 0;
        w->move(x, bottom - s.height());
        x += s.width();
    }
}

QRect placeNewWindow(const QSize& area, const QSize& wanted, const std::optional<QPoint>& previous,
                     int step)
{
    const QSize size = wanted.boundedTo(area);
    QPoint at = previous ? *previous + QPoint(step, step) : QPoint(0, 0);
    if (at.x() < 0 || at.y() < 0 || at.x() + size.width() > area.width()
        || at.y() + size.height() > area.height())
        at = QPoint(0, 0);
    return QRect(at, size);
}

void placeNewSubWindow(QMdiArea* mdi, QMdiSubWindow* window)
{
    std::optional<QPoint> previous;
    const auto windows = mdi->subWindowList(QMdiArea::CreationOrder);
    for (QMdiSubWindow* w : windows) {
        if (w != window && !w->isMinimized() && !w->isMaximized())
            previous = w->pos();
    }
    const int step = window->style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, window);
    window->setGeometry(placeNewWindow(mdi->viewport()->size(), window->size(), previous, step));
}

} // namespace qmx
