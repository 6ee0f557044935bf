// The comparison of several workstation reports key by key. One row per
// "section;key" found in any report, in order of first appearance (rows are
// merged with case, so keys that differ only in case get rows of their own);
// one column per report, each cell the key's raw value as the report's
// section store returns it, looked up without regard to case. Cells carry
// the marks the grid shows: red for a value that differs from the row's
// baseline, blue for an empty cell. The result window and the command-line
// tool both present this grid.
#pragma once

#include "core/store/bigini.h"

#include <cstdint>
#include <functional>
#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

namespace qmx {

// One report as the comparison reads it. A report that was never loaded
// (its file was missing) has no store and no sections and gives empty cells.
struct CompareReport {
    const TBigIniFile* store = nullptr;
    const StringList* sections = nullptr; // the report's Sections list, in report order
};

// One grid column: its header and the reports that carry it, in window
// order. Rows are collected from every one of them; the values come from
// the last, as each later report overwrites the one before.
struct CompareColumn {
    std::string header;
    std::vector<CompareReport> reports;
};

// What a red cell differs from: the first column's value (the first column
// itself is never red), or the row's most common value, the earliest
// column's value winning a tie (any column may be red).
enum class Baseline { First, Majority };

class ComparisonGrid {
public:
    // Where a cell's text lies in the grid's text; equal cells may share one.
    struct Span {
        uint64_t offset = 0;
        uint64_t length = 0;
    };

    size_t rowCount() const { return keys_.size(); }
    size_t columnCount() const { return headers_.size(); }
    const std::string& header(size_t column) const { return headers_[column]; }
    const std::string& key(size_t row) const { return keys_[row]; }
    std::string_view cell(size_t row, size_t column) const;
    bool red(size_t row, size_t column) const { return red_[row * columnCount() + column] != 0; }
    bool blue(size_t row, size_t column) const { return cell(row, column).empty(); }
    // The row has at least one red cell.
    bool differs(size_t row) const { return differs_[row] != 0; }
    size_t differingRows() const { return differingRows_; }

    Baseline baseline() const { return baseline_; }
    // Marks the cells again against another baseline.
    void mark(Baseline baseline);

private:
    friend ComparisonGrid compareReports(const std::vector<CompareColumn>&, Baseline);

    std::vector<std::string> headers_;
    std::vector<std::string> keys_;
    std::string text_;        // every cell value, back to back
    std::vector<Span> cells_; // column by column
    std::vector<uint8_t> red_;
    std::vector<uint8_t> differs_;
    size_t differingRows_ = 0;
    Baseline baseline_ = Baseline::First;
};

// Builds the grid of the given columns. The result is a snapshot: it holds
// its own copy of every text and does not refer to the reports afterwards.
ComparisonGrid compareReports(const std::vector<CompareColumn>& columns,
                              Baseline baseline = Baseline::First);

// Text of a key or cell in the output encoding (the reports are single-byte
// text; headers are taken to be in the output encoding already).
using TextEncoder = std::function<std::string(std::string_view)>;

// The grid as CSV (quotes only where a field needs them, CR LF line ends):
// the header row with an empty first field, then per row the key and the
// cells. With differencesOnly, only rows that have a red cell.
std::string comparisonCsv(const ComparisonGrid& grid, bool differencesOnly,
                          const TextEncoder& encode);
// The same written to out a piece at a time, so a large grid's text is
// never held whole.
void writeComparisonCsv(std::ostream& out, const ComparisonGrid& grid, bool differencesOnly,
                        const TextEncoder& encode);
// One CSV field: quoted, with its quotes doubled, when it holds a comma, a
// quote, CR or LF; as it is otherwise.
void appendCsvField(std::string& out, std::string_view field);

} // namespace qmx
