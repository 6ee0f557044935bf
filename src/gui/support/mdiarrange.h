// Arranging the windows of a multiple-document area as the Window menu
// does: tiled to fill the area, or the minimized ones lined up.
#pragma once

#include <QRect>
#include <Qt>

#include <optional>

class QMdiArea;
class QMdiSubWindow;

namespace qmx {

// Tiled one above the other (Qt::Vertical), each the full width of the
// area, or side by side (Qt::Horizontal), each its full height.
void tileSubWindows(QMdiArea* mdi, Qt::Orientation direction);
// Minimized windows are lined up along the bottom of the area.
void arrangeMinimized(QMdiArea* mdi);

// Where a new window of the wanted size goes in a visible area of the given
// size: one step down and right of the previous new window, back to the
// top-left once it would cross the right or bottom edge, and shrunk to the
// area when it is larger.
QRect placeNewWindow(const QSize& area, const QSize& wanted, const std::optional<QPoint>& previous,
                     int step);
// Places a window just added to the area, after the one added before it.
void placeNewSubWindow(QMdiArea* mdi, QMdiSubWindow* window);

} // namespace qmx
