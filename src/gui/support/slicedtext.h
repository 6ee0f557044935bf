// Fills a text view with many lines a slice at a time, letting window
// events run between slices, so a large report appears without freezing the
// program. The lines are Windows-1252 bytes (strings or views).
#pragma once

#include "support/textcodec.h"

#include <QPlainTextEdit>
#include <QTextCursor>

#include <algorithm>
#include <cstddef>

namespace qmx {

// Appends lines to the view's text, each as show(line) gives it, calling
// pump() after each slice, and leaves the caret at the start of the text with
// nothing selected.
template <class Lines, class Pump, class Show>
void appendLinesSliced(QPlainTextEdit* view, const Lines& lines, Pump& pump, size_t linesPerSlice,
                       Show&& show)
{
    QTextCursor cursor(view->document());
    const bool startsEmpty = view->document()->isEmpty();
    for (size_t first = 0; first < lines.size(); first += linesPerSlice) {
        const size_t last = std::min(lines.size(), first + linesPerSlice);
        QString slice;
        for (size_t i = first; i < last; ++i) {
            if (i > 0 || !startsEmpty)
                slice += QLatin1Char('\n');
            slice += show(lines[i]);
        }
        cursor.movePosition(QTextCursor::End);
        cursor.insertText(slice);
        pump();
    }
    view->setTextCursor(QTextCursor(view->document()));
}

template <class Lines, class Pump>
void appendLinesSliced(QPlainTextEdit* view, const Lines& lines, Pump& pump, size_t linesPerSlice)
{
    appendLinesSliced(view, lines, pump, linesPerSlice,
                      [](const auto& line) { return toQString(line); });
}

} // namespace qmx
