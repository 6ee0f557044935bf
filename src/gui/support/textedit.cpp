#include "gui/support/textedit.h"

#include <QMimeData>
#include <QTextBlock>

#include <algorithm>

namespace qmx {

QString TextEdit::textBetween(int from, int to) const
{
    if (from > to)
        std::swap(from, to);
    QString out;
    out.reserve(to - from);
    for (QTextBlock b = document()->findBlock(from); b.isValid() && b.position() <= to;
         b = b.next()) {
        if (b.position() > from)
            out += QLatin1Char('\n');
        const int begin = std::max(from - b.position(), 0);
        const int end = std::min(to - b.position(), b.length() - 1);
        if (end > begin)
            out += QStringView(b.text()).mid(begin, end - begin);
    }
    return out;
}

QMimeData* TextEdit::createMimeDataFromSelection() const
{
    const QTextCursor c = textCursor();
    auto* data = new QMimeData;
    data->setText(textBetween(c.selectionStart(), c.selectionEnd()));
    return data;
}

} // namespace qmx
