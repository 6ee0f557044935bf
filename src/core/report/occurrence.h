// First occurrences of texts in a report: where, in the text formed by the
// report lines each followed by a line end, a text is found first. A text
// without CR or LF can only occur inside a single line, so the answers are
// given as line and column, and the searches run line by line instead of
// over one big string.
#pragma once

#include "core/util/progress.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace qmx {

struct LinePos {
    static constexpr size_t npos = static_cast<size_t>(-1);
    size_t line = npos;
    size_t column = 0;
    bool found() const { return line != npos; }
    friend bool operator==(const LinePos&, const LinePos&) = default;
};

// For each index in queryLines, the first occurrence of that line's whole
// text among all lines; never later than the line itself. Each query comes
// with a marker text that it contains (markers[i] for queryLines[i]; the
// empty text is allowed and matches everywhere). An occurrence of a query
// holds its marker, so only the text's marker occurrences are examined,
// keyed by up to 8 bytes before the marker and 8 after it and verified in
// full. Exact duplicates are answered once, and a line not found earlier is
// answered at its own place without a look-up, so the search stays
// near-linear and touches its tables mostly in line order.
std::vector<LinePos> firstOccurrencesOfMarkedLines(const std::vector<std::string_view>& lines,
                                                   const std::vector<size_t>& queryLines,
                                                   const std::vector<std::string_view>& markers,
                                                   const Pump& pump = {});

// For each pattern (none may hold CR or LF), its first occurrence among the
// lines, or a position that is not found(). One pass over the lines for all
// patterns; meant for a handful of patterns. pump is called every few
// thousand lines.
std::vector<LinePos> firstOccurrences(const std::vector<std::string_view>& lines,
                                      const std::vector<std::string_view>& patterns,
                                      const Pump& pump = {});
std::vector<LinePos> firstOccurrences(const std::vector<std::string>& lines,
                                      const std::vector<std::string_view>& patterns);

} // namespace qmx
