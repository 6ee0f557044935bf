// The Registry Keys and Files check tables: one row per REGISTRY or FILE
// report line, coloured by the scanner's verdict. The loader prepares both
// tables and adds rows in report order.
//
// A large report gives tens of thousands of rows, so a row holds no strings
// of its own: it keeps where its report line is and its colours, and its
// cells are read from the line when asked for. Lines inside the text given
// to shareText are not copied at all; any other line is copied once into
// the table.
#pragma once

#include "core/report/colour.h"

#include <cstddef>
#include <cstdint>
#include <iterator>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace qmx {

class RowList;

// The cells of one row, by column; columns past the table's count are
// empty and uncoloured.
class CellTexts {
public:
    CellTexts(const RowList& rows, size_t row) : rows_(&rows), row_(row) {}
    size_t size() const;
    std::string_view operator[](size_t column) const;
    std::vector<std::string_view> views() const; // read in one pass
    std::vector<std::string> strings() const;

private:
    const RowList* rows_;
    size_t row_;
};

class CellColours {
public:
    CellColours(const RowList& rows, size_t row) : rows_(&rows), row_(row) {}
    size_t size() const;
    Colour operator[](size_t column) const; // None: the grid's default
    std::vector<Colour> values() const;

private:
    const RowList* rows_;
    size_t row_;
};

// One data row, viewed in its table: valid while the table is unchanged.
struct GridRow {
    CellTexts cells;
    Colour background = Colour::None; // None: the grid's default
    CellColours colors;               // text colour per cell
};

class RowList {
public:
    class const_iterator {
    public:
        using iterator_category = std::forward_iterator_tag;
        using value_type = GridRow;
        using difference_type = std::ptrdiff_t;
        using pointer = void;
        using reference = GridRow;
        const_iterator(const RowList& rows, size_t row) : rows_(&rows), row_(row) {}
        GridRow operator*() const { return (*rows_)[row_]; }
        const_iterator& operator++()
        {
            ++row_;
            return *this;
        }
        bool operator==(const const_iterator& o) const { return row_ == o.row_; }

    private:
        const RowList* rows_;
        size_t row_;
    };

    size_t size() const { return background_.size(); }
    bool empty() const { return background_.empty(); }
    size_t columns() const { return columns_; }
    GridRow operator[](size_t row) const { return {{*this, row}, background_[row], {*this, row}}; }
    const_iterator begin() const { return {*this, 0}; }
    const_iterator end() const { return {*this, size()}; }

    // Reads a line's cells, one per column, as slices of the line.
    using CellReader = void (*)(std::string_view line, std::string_view* cells);

    // Rows added from lines inside text refer to it instead of copying them.
    void shareText(std::shared_ptr<const std::string> text);
    void clear(size_t columns, CellReader reader);
    void reserve(size_t rows);
    // A new uncoloured row for line; returns its index.
    size_t add(std::string_view line);
    void setBackground(size_t row, Colour c) { background_[row] = c; }
    void setColour(size_t row, size_t column, Colour c) { colours_[row * columns_ + column] = c; }

    std::string_view line(size_t row) const;
    std::string_view cell(size_t row, size_t column) const;
    // All cells of a row at once, one per column.
    std::vector<std::string_view> cells(size_t row) const;
    Colour colour(size_t row, size_t column) const
    {
        return column < columns_ ? colours_[row * columns_ + column] : Colour::None;
    }

private:
    static constexpr uint64_t kOwnBit = uint64_t(1) << 63;

    std::shared_ptr<const std::string> text_;
    std::string own_; // copies of lines outside text_
    size_t columns_ = 0;
    CellReader reader_ = nullptr;
    std::vector<uint64_t> lineAt_;   // offset of a row's line in text_, or in own_ with kOwnBit
    std::vector<uint32_t> lineSize_; // its length
    std::vector<Colour> colours_;
    std::vector<Colour> background_;
};

// A table as the window shows it: the column captions and the data rows.
// A table whose header is empty was never prepared.
struct CheckTable {
    std::vector<std::string> header;
    RowList rows;
    size_t columns = 0;
};

// Sets the table to its header and no rows.
void prepareRegistryTable(CheckTable& t);
void prepareFilesTable(CheckTable& t);
// Add one row from one line, coloured by its verdict.
void addRegistryRow(CheckTable& t, std::string_view line);
void addFileRow(CheckTable& t, std::string_view line);

} // namespace qmx
