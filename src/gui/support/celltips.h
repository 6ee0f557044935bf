// Tool-tips for a grid whose columns keep fixed widths: a cell or header
// whose text is cut by its column shows the whole text as its tip, and one
// that fits shows none.
#pragma once

class QAbstractItemView;

namespace qmx {

// Installs the tips on the view's cells and on its horizontal header, when
// it is a table.
void installClippedTextTips(QAbstractItemView* view);

} // namespace qmx
