// Icons of the tool bar's edit and window commands. Each comes from the
// desktop's icon theme where the theme has one; where it has none, the
// program draws a small picture in the palette's colours, so the tool bar
// never shows a bare word among its pictures.
#pragma once

#include <QIcon>

class QPalette;

namespace qmx {

enum class ToolPicture { Cut, Copy, Paste, Cascade, TileHorizontally, TileVertically };

QIcon toolIcon(ToolPicture picture, const QPalette& palette);

} // namespace qmx
