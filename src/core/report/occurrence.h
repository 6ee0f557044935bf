// First occurrences of texts in a report: where, in the text formed by the
// report lines each followed by a line end, a text is found first. A text
// without CR or LF can only occur inside a single line, so the answers are
// given as line and column, and the searches run line by line instead of
// over one big string.
#pragma once

#include "util/progress.h"

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
// text among all lines. The answer is never later than the line itself.
// Runs in time near-linear in the size of the lines: exact duplicates are
// answered once, and proper-substring occurrences are found by one scan that
// looks up every 8-byte window of the text in a table of one rare 8-byte
// anchor per query, verifying each candidate.
// pump, when set, is called every few thousand lines so a window stays
// responsive during a long search.
std::vector<LinePos> firstOccurrencesOfLines(const std::vector<std::string_view>& lines,
                                             const std::vector<size_t>& queryLines,
                                             const Pump& pump = {});
std::vector<LinePos> firstOccurrencesOfLines(const std::vector<std::string>& lines,
                                             const std::vector<size_t>& queryLines);

// The same answers for queries that each contain a known marker text
// (markers[i] occurs in the line of queryLines[i]): an occurrence of a query
// holds its marker, so only the text's marker occurrences are examined, keyed
// by up to 8 bytes before it and 16 after. Far fewer random look-ups than probing
// every text position, which keeps large reports fast.
std::vector<LinePos> firstOccurrencesOfMarkedLines(const std::vector<std::string_view>& lines,
                                                   const std::vector<size_t>& queryLines,
                                                   const std::vector<std::string_view>& markers,
                                                   const Pump& pump = {});

// For each pattern (none may hold CR or LF), its first occurrence among the
// lines, or a position that is not found(). One pass over the lines for all
// patterns; meant for a handful of patterns.
std::vector<LinePos> firstOccurrences(const std::vector<std::string_view>& lines,
                                      const std::vector<std::string_view>& patterns);
std::vector<LinePos> firstOccurrences(const std::vector<std::string>& lines,
                                      const std::vector<std::string_view>& patterns);

} // namespace qmx
