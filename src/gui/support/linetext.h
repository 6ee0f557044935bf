// The text behind a line view: a list of Windows-1252 lines held as views
// into a shared owner, their optional colours, and the mapping between
// positions in the whole text (one character per line break), lines and
// columns, and the rows the lines take on screen with or without wrapping.
// Nothing here is laid out by Qt, so a very long line costs only what is
// asked of it: copying is linear in what is copied and a row is cut out of
// its line without touching the rest.
#pragma once

#include <QColor>
#include <QString>

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace qmx {

class LineText {
public:
    // Colours the characters [column, column + length) of a line.
    struct Colouring {
        size_t line = 0;
        size_t column = 0;
        size_t length = 0;
        QColor colour;
    };
    // One row on screen: columns [begin, end) of a line.
    struct Row {
        size_t line = 0;
        size_t begin = 0;
        size_t end = 0;
    };

    // The lines are views into owner's text, which this keeps alive.
    void setLines(std::vector<std::string_view> lines, std::shared_ptr<const void> owner);
    // Later colourings win where two overlap.
    void setColouring(std::vector<Colouring> colours);

    size_t lineCount() const { return lines_.size(); }
    std::string_view line(size_t i) const { return lines_[i]; }
    size_t longestLine() const { return longest_; }
    // Length of the whole text, lines joined by one character.
    qsizetype length() const;
    qsizetype lineStart(size_t line) const { return starts_[line]; }
    // The line and column of a position, clamped to the text.
    std::pair<size_t, size_t> lineColumnAt(qsizetype position) const;
    // The text between two positions in either order, lines joined by '\n'.
    QString text(qsizetype from, qsizetype to) const;

    // The colour of one character; invalid when none was given.
    QColor colourAt(size_t line, size_t column) const;
    // The colours of columns [begin, end) of a line, invalid where none.
    void colourColumns(size_t line, size_t begin, size_t end, std::vector<QColor>& out) const;

    // Wraps lines into rows of at most `columns` characters, breaking after
    // the last blank that fits where there is one; 0 turns wrapping off.
    void wrap(size_t columns);
    size_t wrapColumns() const { return wrapColumns_; }
    size_t rowCount() const;
    Row row(size_t index) const;
    size_t rowOf(qsizetype position) const;

private:
    std::vector<std::string_view> lines_;
    std::shared_ptr<const void> owner_;
    std::vector<qsizetype> starts_;
    size_t longest_ = 0;
    std::vector<Colouring> colours_; // by line, in the order given
    size_t wrapColumns_ = 0;
    std::vector<std::pair<size_t, size_t>> rows_; // line and first column, when wrapping
};

// How one line's characters are drawn: as text, with control characters and
// the invisible soft hyphen shown as one visible character each, so every
// character takes one column.
QString shownText(std::string_view bytes);

// Lines as views into one new string holding all of them.
std::pair<std::vector<std::string_view>, std::shared_ptr<const void>>
ownedLines(const std::vector<std::string>& lines);

} // namespace qmx
