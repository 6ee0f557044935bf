#include "core/report/checktables.h"

#include "core/report/fields.h"
#include "core/util/error.h"

#include <array>
#include <initializer_list>

namespace qmx {

namespace {

constexpr size_t kRegistryColumns = 3;
constexpr size_t kFileColumns = 10;

void registryCells(std::string_view line, std::string_view* cells)
{
    const auto parts = fields::registryParts(line);
    cells[0] = fields::lineKey(line);
    cells[1] = parts.value;
    cells[2] = parts.verdict;
}

void fileCells(std::string_view line, std::string_view* cells)
{
    std::array<std::string_view, kFileColumns> field;
    fields::fileFields(line, field);
    cells[0] = fields::lineKey(line);
    cells[1] = field[1];
    // A missing file shows its name and path only.
    const bool missing = fields::fileNotFound(line);
    for (size_t k = 2; k < kFileColumns; ++k)
        cells[k] = missing ? std::string_view() : field[k];
}

void prepare(CheckTable& t, std::initializer_list<const char*> headers, RowList::CellReader reader)
{
    t.columns = headers.size();
    t.header.assign(headers.begin(), headers.end());
    t.rows.clear(t.columns, reader);
}

// A table used without prepare gets the kind's columns on its first row.
size_t addRow(CheckTable& t, size_t columns, RowList::CellReader reader, std::string_view line)
{
    if (t.columns == 0) {
        t.columns = columns;
        t.rows.clear(columns, reader);
    }
    return t.rows.add(line);
}

} // namespace

size_t CellTexts::size() const
{
    return rows_->columns();
}

std::string_view CellTexts::operator[](size_t column) const
{
    return rows_->cell(row_, column);
}

std::vector<std::string_view> CellTexts::views() const
{
    return rows_->cells(row_);
}

std::vector<std::string> CellTexts::strings() const
{
    const std::vector<std::string_view> v = views();
    return {v.begin(), v.end()};
}

size_t CellColours::size() const
{
    return rows_->columns();
}

Colour CellColours::operator[](size_t column) const
{
    return rows_->colour(row_, column);
}

std::vector<Colour> CellColours::values() const
{
    std::vector<Colour> v;
    for (size_t c = 0; c < size(); ++c)
        v.push_back((*this)[c]);
    return v;
}

void RowList::shareText(std::shared_ptr<const std::string> text)
{
    text_ = std::move(text);
}

void RowList::clear(size_t columns, CellReader reader)
{
    columns_ = columns;
    reader_ = reader;
    own_.clear();
    lineAt_.clear();
    lineSize_.clear();
    colours_.clear();
    background_.clear();
}

void RowList::reserve(size_t rows)
{
    lineAt_.reserve(rows);
    lineSize_.reserve(rows);
    colours_.reserve(rows * columns_);
    background_.reserve(rows);
}

size_t RowList::add(std::string_view line)
{
    if (line.size() > UINT32_MAX)
        throw Error("A report line is too long for the check tables.");
    const char* base = text_ ? text_->data() : nullptr;
    if (base && line.data() >= base && line.data() + line.size() <= base + text_->size()) {
        lineAt_.push_back(static_cast<uint64_t>(line.data() - base));
    } else {
        lineAt_.push_back(static_cast<uint64_t>(own_.size()) | kOwnBit);
        own_.append(line);
    }
    lineSize_.push_back(static_cast<uint32_t>(line.size()));
    colours_.resize(colours_.size() + columns_, Colour::None);
    background_.push_back(Colour::None);
    return background_.size() - 1;
}

std::string_view RowList::line(size_t row) const
{
    const uint64_t at = lineAt_[row];
    const char* p = (at & kOwnBit) ? own_.data() + (at & ~kOwnBit) : text_->data() + at;
    return {p, lineSize_[row]};
}

std::string_view RowList::cell(size_t row, size_t column) const
{
    if (column >= columns_ || !reader_)
        return {};
    std::array<std::string_view, kFileColumns> cells;
    reader_(line(row), cells.data());
    return cells[column];
}

std::vector<std::string_view> RowList::cells(size_t row) const
{
    std::vector<std::string_view> v(columns_);
    if (reader_)
        reader_(line(row), v.data());
    return v;
}

void prepareRegistryTable(CheckTable& t)
{
    prepare(t, {"Key", "Value", "Default"}, registryCells);
}

void prepareFilesTable(CheckTable& t)
{
    prepare(t,
            {"Name", "Full Name", "Size", "Date", "Time", "Company", "Internal File Version",
             "Internal Name", "Product Version", "Default"},
            fileCells);
}

void addRegistryRow(CheckTable& t, std::string_view line)
{
    RowList& rows = t.rows;
    const size_t r = addRow(t, kRegistryColumns, registryCells, line);
    const auto parts = fields::registryParts(line);
    if (parts.value == "Registry Key/Value not found")
        rows.setBackground(r, Colour::Red);

    // Later settings replace earlier ones: a known verdict overrides the red
    // background of a missing key. Key and value are black under every known
    // verdict; the verdict's own cell takes its colour.
    struct Look {
        std::string_view verdict;
        Colour background, verdictColour;
    };
    static constexpr Look kLooks[] = {
        {"", Colour::White, Colour::Black},
        {"DEFAULT", Colour::White, Colour::Green},
        {"NON-DEFAULT", Colour::Yellow, Colour::Black},
        {"ASSUMED DEFAULT", Colour::White, Colour::Blue},
    };
    for (const Look& look : kLooks) {
        if (parts.verdict != look.verdict)
            continue;
        rows.setBackground(r, look.background);
        rows.setColour(r, 0, Colour::Black);
        rows.setColour(r, 1, Colour::Black);
        rows.setColour(r, 2, look.verdictColour);
    }
}

void addFileRow(CheckTable& t, std::string_view line)
{
    RowList& rows = t.rows;
    const size_t r = addRow(t, kFileColumns, fileCells, line);
    if (fields::fileNotFound(line)) {
        rows.setBackground(r, Colour::Red);
        return;
    }
    const std::string_view verdict = fields::fileField(line, 9);
    if (verdict == "NEWER")
        rows.setBackground(r, Colour::Green);
    else if (verdict == "OLDER")
        rows.setBackground(r, Colour::Yellow);
}

} // namespace qmx
