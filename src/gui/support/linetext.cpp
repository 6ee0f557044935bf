#include "gui/support/linetext.h"

#include "core/util/cp1252.h"

#include <algorithm>

namespace qmx {

void LineText::setLines(std::vector<std::string_view> lines, std::shared_ptr<const void> owner)
{
    lines_ = std::move(lines);
    owner_ = std::move(owner);
    colours_.clear();
    starts_.clear();
    starts_.reserve(lines_.size());
    qsizetype at = 0;
    longest_ = 0;
    for (const std::string_view line : lines_) {
        starts_.push_back(at);
        at += static_cast<qsizetype>(line.size()) + 1;
        longest_ = std::max(longest_, line.size());
    }
    wrap(wrapColumns_);
}

void LineText::setColouring(std::vector<Colouring> colours)
{
    colours_ = std::move(colours);
    std::stable_sort(colours_.begin(), colours_.end(),
                     [](const Colouring& a, const Colouring& b) { return a.line < b.line; });
}

qsizetype LineText::length() const
{
    return lines_.empty() ? 0 : starts_.back() + static_cast<qsizetype>(lines_.back().size());
}

std::pair<size_t, size_t> LineText::lineColumnAt(qsizetype position) const
{
    if (lines_.empty())
        return {0, 0};
    position = std::clamp<qsizetype>(position, 0, length());
    const auto it = std::upper_bound(starts_.begin(), starts_.end(), position);
    const size_t line = static_cast<size_t>(it - starts_.begin()) - 1;
    return {line, static_cast<size_t>(position - starts_[line])};
}

QString LineText::text(qsizetype from, qsizetype to) const
{
    if (from > to)
        std::swap(from, to);
    from = std::clamp<qsizetype>(from, 0, length());
    to = std::clamp<qsizetype>(to, 0, length());
    if (from == to)
        return {};
    const auto [firstLine, firstColumn] = lineColumnAt(from);
    const auto [lastLine, lastColumn] = lineColumnAt(to);
    // One allocation and one pass: the selection's length is known.
    QString out(to - from, Qt::Uninitialized);
    QChar* p = out.data();
    for (size_t i = firstLine; i <= lastLine; ++i) {
        const std::string_view line = lines_[i];
        const size_t begin = i == firstLine ? firstColumn : 0;
        const size_t end = i == lastLine ? lastColumn : line.size();
        for (size_t c = begin; c < end; ++c)
            *p++ = QChar(cp1252ToUnicode(static_cast<unsigned char>(line[c])));
        if (i < lastLine)
            *p++ = QLatin1Char('\n');
    }
    return out;
}

QColor LineText::colourAt(size_t line, size_t column) const
{
    std::vector<QColor> one;
    colourColumns(line, column, column + 1, one);
    return one.front();
}

void LineText::colourColumns(size_t line, size_t begin, size_t end, std::vector<QColor>& out) const
{
    out.assign(end - begin, QColor());
    auto it = std::lower_bound(colours_.begin(), colours_.end(), line,
                               [](const Colouring& c, size_t l) { return c.line < l; });
    const size_t lineEnd = line < lines_.size() ? lines_[line].size() : 0;
    for (; it != colours_.end() && it->line == line; ++it) {
        const size_t from = std::max(begin, it->column);
        const size_t to = std::min({end, lineEnd, it->column + std::min(it->length, lineEnd)});
        for (size_t c = from; c < to; ++c)
            out[c - begin] = it->colour;
    }
}

void LineText::wrap(size_t columns)
{
    wrapColumns_ = columns;
    rows_.clear();
    if (columns == 0)
        return;
    for (size_t i = 0; i < lines_.size(); ++i) {
        const std::string_view line = lines_[i];
        size_t start = 0;
        rows_.emplace_back(i, 0);
        while (line.size() - start > columns) {
            // Break after the last blank that fits; a word longer than the
            // row is cut where the row ends.
            size_t next = start + columns;
            const size_t blank = line.substr(start + 1, columns - 1).find_last_of(' ');
            if (blank != std::string_view::npos)
                next = start + 1 + blank + 1;
            rows_.emplace_back(i, next);
            start = next;
        }
    }
}

size_t LineText::rowCount() const
{
    return wrapColumns_ == 0 ? lines_.size() : rows_.size();
}

LineText::Row LineText::row(size_t index) const
{
    if (wrapColumns_ == 0)
        return {index, 0, lines_[index].size()};
    const auto [line, begin] = rows_[index];
    const bool lastOfLine = index + 1 == rows_.size() || rows_[index + 1].first != line;
    return {line, begin, lastOfLine ? lines_[line].size() : rows_[index + 1].second};
}

size_t LineText::rowOf(qsizetype position) const
{
    const std::pair<size_t, size_t> at = lineColumnAt(position);
    if (wrapColumns_ == 0 || rows_.empty())
        return at.first;
    const auto it = std::upper_bound(rows_.begin(), rows_.end(), at);
    return static_cast<size_t>(it - rows_.begin()) - 1;
}

QString shownText(std::string_view bytes)
{
    QString out(static_cast<qsizetype>(bytes.size()), Qt::Uninitialized);
    QChar* p = out.data();
    for (const char b : bytes) {
        char16_t c = cp1252ToUnicode(static_cast<unsigned char>(b));
        if (c == u'\t')
            c = u' ';
        else if (c < 0x20 || c == 0x7F || (c >= 0x80 && c < 0xA0))
            c = u'\u00B7';
        else if (c == 0xAD)
            c = u'-';
        *p++ = QChar(c);
    }
    return out;
}

std::pair<std::vector<std::string_view>, std::shared_ptr<const void>>
ownedLines(const std::vector<std::string>& lines)
{
    auto owner = std::make_shared<std::string>();
    size_t total = 0;
    for (const std::string& line : lines)
        total += line.size();
    owner->reserve(total);
    for (const std::string& line : lines)
        owner->append(line);
    std::vector<std::string_view> views;
    views.reserve(lines.size());
    size_t at = 0;
    for (const std::string& line : lines) {
        views.emplace_back(owner->data() + at, line.size());
        at += line.size();
    }
    return {std::move(views), std::move(owner)};
}

} // namespace qmx
