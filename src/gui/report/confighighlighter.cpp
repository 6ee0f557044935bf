#include "report/confighighlighter.h"

#include "report/checkgrid.h"

#include <QTextBlock>

#include <algorithm>

namespace qmx {

ConfigHighlighter::ConfigHighlighter(QTextDocument* document) : QSyntaxHighlighter(document)
{
    for (int c = 0; c < 7; ++c)
        formats_[c].setForeground(toQColor(static_cast<Colour>(c)));
}

void ConfigHighlighter::setRanges(const std::vector<TextColour>& ranges)
{
    ranges_.clear();
    ranges_.reserve(ranges.size());
    size_t order = 0;
    for (const TextColour& t : ranges)
        ranges_.push_back({t.atLine, order++, static_cast<int>(t.column),
                           static_cast<int>(t.length), t.color});
    std::sort(ranges_.begin(), ranges_.end(), [](const Range& a, const Range& b) {
        return a.line != b.line ? a.line < b.line : a.order < b.order;
    });
}

void ConfigHighlighter::highlightBlock(const QString& text)
{
    if (ranges_.empty())
        return;
    const size_t line = static_cast<size_t>(currentBlock().blockNumber());
    auto it = std::lower_bound(ranges_.begin(), ranges_.end(), line,
                               [](const Range& r, size_t l) { return r.line < l; });
    const int len = static_cast<int>(text.size());
    for (; it != ranges_.end() && it->line == line; ++it) {
        if (it->column >= len || it->color == Colour::None)
            continue;
        const int n = std::min(it->length, len - it->column);
        setFormat(it->column, n, formats_[static_cast<int>(it->color)]);
    }
}

} // namespace qmx
