#include "report/reporttext.h"

#include "support/textcodec.h"

#include <QMimeData>
#include <QTextBlock>

#include <algorithm>
#include <cstdlib>

namespace qmx {

namespace {

// A position in the shown text as a report line and a column in it.
std::pair<size_t, size_t> sourcePosition(const QTextDocument* doc, const std::vector<std::string_view>& lines,
                                         int position)
{
    const QTextBlock block = doc->findBlock(position);
    const size_t line = static_cast<size_t>(std::max(0, block.blockNumber()));
    if (line >= lines.size())
        return {lines.size(), 0};
    const size_t column = static_cast<size_t>(std::max(0, position - block.position()));
    const std::string_view text = lines[line];
    // Within the shown part the columns agree; the note stands for the rest.
    return {line, column <= static_cast<size_t>(ReportTextView::kShownChars) ? std::min(column, text.size())
                                                                            : text.size()};
}

} // namespace

ReportTextView::ReportTextView(QWidget* parent) : QPlainTextEdit(parent) {}

QString ReportTextView::shownText(std::string_view line)
{
    if (line.size() <= static_cast<size_t>(kShownChars))
        return toQString(line);
    return toQString(line.substr(0, kShownChars)) +
           QStringLiteral(" \u2026 [line cut for display: %1 more characters, copied in full]")
               .arg(line.size() - kShownChars);
}

QString ReportTextView::sourceText(int from, int to) const
{
    if (lines_.empty() || document()->isModified())
        return document()->toPlainText().mid(std::min(from, to), std::abs(to - from));
    const auto [firstLine, firstColumn] = sourcePosition(document(), lines_, std::min(from, to));
    const auto [lastLine, lastColumn] = sourcePosition(document(), lines_, std::max(from, to));
    QString out;
    for (size_t i = firstLine; i <= lastLine && i < lines_.size(); ++i) {
        const std::string_view line = lines_[i];
        const size_t begin = i == firstLine ? firstColumn : 0;
        const size_t end = i == lastLine ? lastColumn : line.size();
        if (i > firstLine)
            out += QLatin1Char('\n');
        if (end > begin)
            out += toQString(line.substr(begin, end - begin));
    }
    return out;
}

void ReportTextView::showLines(const std::vector<std::string>& lines)
{
    auto owner = std::make_shared<std::string>();
    for (const std::string& line : lines)
        owner->append(line);
    std::vector<std::string_view> views;
    views.reserve(lines.size());
    QStringList shown;
    shown.reserve(static_cast<qsizetype>(lines.size()));
    size_t at = 0;
    for (const std::string& line : lines) {
        views.emplace_back(owner->data() + at, line.size());
        at += line.size();
        shown << shownText(views.back());
    }
    setPlainText(shown.join(QLatin1Char('\n')));
    setSourceLines(std::move(views), std::move(owner));
}

QMimeData* ReportTextView::createMimeDataFromSelection() const
{
    const QTextCursor c = textCursor();
    if (!c.hasSelection())
        return QPlainTextEdit::createMimeDataFromSelection();
    auto* data = new QMimeData;
    data->setText(sourceText(c.selectionStart(), c.selectionEnd()));
    return data;
}

} // namespace qmx
