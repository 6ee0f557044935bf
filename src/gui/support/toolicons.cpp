#include "gui/support/toolicons.h"

#include <QPainter>
#include <QPalette>
#include <QPixmap>

#include <initializer_list>

namespace qmx {

namespace {

// The theme's name for each picture. Themes have none for arranging windows
// as such: these are the pictures of overlapping windows and of a view split
// in two that common themes draw.
const char* themeName(ToolPicture picture)
{
    switch (picture) {
    case ToolPicture::Cut: return "edit-cut";
    case ToolPicture::Copy: return "edit-copy";
    case ToolPicture::Paste: return "edit-paste";
    case ToolPicture::Cascade: return "window-duplicate";
    case ToolPicture::TileHorizontally: return "view-split-top-bottom";
    case ToolPicture::TileVertically: return "view-split-left-right";
    }
    return "";
}

// A page or a window on the 16-unit square: filled, outlined, and either a
// title strip along its top or ruled lines across it.
// Outlines a shade lighter than text, as theme icons draw them.
QColor outline(const QPalette& palette)
{
    QColor c = palette.color(QPalette::WindowText);
    c.setAlpha(150);
    return c;
}

void sheet(QPainter& p, const QPalette& palette, const QRectF& r, bool titled)
{
    p.setPen(outline(palette));
    p.setBrush(palette.color(QPalette::Base));
    p.drawRect(r);
    if (titled) {
        p.fillRect(QRectF(r.x(), r.y(), r.width(), r.height() / 4),
                   palette.color(QPalette::Highlight));
        return;
    }
    for (qreal y = r.y() + 2.5; y < r.bottom() - 1; y += 2)
        p.drawLine(QPointF(r.x() + 2, y), QPointF(r.right() - 2, y));
}

void draw(QPainter& p, ToolPicture picture, const QPalette& palette)
{
    switch (picture) {
    case ToolPicture::Cut: {
        p.setPen(QPen(outline(palette), 1.4));
        p.drawLine(QPointF(5.5, 10), QPointF(11, 1.5));
        p.drawLine(QPointF(10.5, 10), QPointF(5, 1.5));
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(palette.color(QPalette::Highlight), 1.6));
        p.drawEllipse(QPointF(4.5, 12.2), 2.2, 2.2);
        p.drawEllipse(QPointF(11.5, 12.2), 2.2, 2.2);
        break;
    }
    case ToolPicture::Copy:
        sheet(p, palette, QRectF(1.5, 1.5, 8, 10), false);
        sheet(p, palette, QRectF(6.5, 4.5, 8, 10), false);
        break;
    case ToolPicture::Paste:
        p.setPen(outline(palette));
        p.setBrush(palette.color(QPalette::Mid));
        p.drawRoundedRect(QRectF(2.5, 2.5, 11, 12.5), 1, 1);
        p.setBrush(palette.color(QPalette::Highlight));
        p.drawRect(QRectF(5.5, 1, 5, 3));
        sheet(p, palette, QRectF(4.5, 5.5, 7, 8), false);
        break;
    case ToolPicture::Cascade:
        sheet(p, palette, QRectF(1.5, 1.5, 9, 8), true);
        sheet(p, palette, QRectF(5.5, 6.5, 9, 8), true);
        break;
    case ToolPicture::TileHorizontally:
        sheet(p, palette, QRectF(1.5, 1.5, 13, 6), true);
        sheet(p, palette, QRectF(1.5, 8.5, 13, 6), true);
        break;
    case ToolPicture::TileVertically:
        sheet(p, palette, QRectF(1.5, 1.5, 6, 13), true);
        sheet(p, palette, QRectF(8.5, 1.5, 6, 13), true);
        break;
    }
}

QPixmap drawn(ToolPicture picture, int size, const QPalette& palette)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 16.0, size / 16.0);
    draw(p, picture, palette);
    return pixmap;
}

} // namespace

QIcon toolIcon(ToolPicture picture, const QPalette& palette)
{
    QIcon own;
    for (int size : {16, 22, 24, 32, 48})
        own.addPixmap(drawn(picture, size, palette));
    return QIcon::fromTheme(QLatin1String(themeName(picture)), own);
}

} // namespace qmx
