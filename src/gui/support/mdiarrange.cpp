#include "support/mdiarrange.h"

#include <QMdiArea>
#include <QMdiSubWindow>

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

} // namespace qmx
