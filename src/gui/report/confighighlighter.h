// Colours the "Config Text" view from the ranges the loader computed, so a
// large report is coloured block by block as Qt lays it out instead of by
// selecting and formatting each range.
#pragma once

#include "report/loader.h"

#include <QSyntaxHighlighter>
#include <QTextCharFormat>

#include <vector>

namespace qmx {

class ConfigHighlighter : public QSyntaxHighlighter {
    Q_OBJECT
public:
    explicit ConfigHighlighter(QTextDocument* document);
    // The ranges are indexed by the line they colour; each block is one
    // report line. Later ranges win where two overlap.
    void setRanges(const std::vector<TextColour>& ranges);

protected:
    void highlightBlock(const QString& text) override;

private:
    struct Range {
        size_t line;
        size_t order;
        int column;
        int length;
        Colour color;
    };
    std::vector<Range> ranges_;
    QTextCharFormat formats_[7];
};

} // namespace qmx
