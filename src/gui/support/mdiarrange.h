// Arranging the windows of a multiple-document area as the Window menu
// does: tiled to fill the area, or the minimized ones lined up.
#pragma once

#include <Qt>

class QMdiArea;

namespace qmx {

// Tiled one above the other (Qt::Vertical), each the full width of the
// area, or side by side (Qt::Horizontal), each its full height.
void tileSubWindows(QMdiArea* mdi, Qt::Orientation direction);
// Minimized windows are lined up along the bottom of the area.
void arrangeMinimized(QMdiArea* mdi);

} // namespace qmx
