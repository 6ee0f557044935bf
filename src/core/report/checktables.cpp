#include "core/report/checktables.h"

#include "core/report/fields.h"
#include "core/util/error.h"

#include <array>
#include <initializer_list>

namespace qmx {

namespace {

constexpr size_t kRegistryColumns = 3;
constexpr size_t kFileColumns = 10;

void prepare(CheckTable& t, std::initializer_list<const char*> headers)
{
    t.columns = headers.size();
    t.header.assign(headers.begin(), headers.end());
    t.rows.clear(t.columns);
}

// A table used without prepare gets the kind's column count on its first row.
size_t addRow(CheckTable& t, size_t columns, std::string_view line)
{
    if (t.columns == 0) {
        t.columns = columns;
        t.rows.clear(columns);
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

std::vector<std::string> CellTexts::strings() const
{
    std::vector<std::string> v;
    for (size_t c = 0; c < size(); ++c)
        v.emplace_back((*this)[c]);
    return v;
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

void RowList::clear(size_t columns)
{
    columns_ = columns;
    own_.clear();
    lineAt_.clear();
    spans_.clear();
    colours_.clear();
    background_.clear();
}

void RowList::reserve(size_t rows)
{
    lineAt_.reserve(rows);
    spans_.reserve(rows * columns_ * 2);
    colours_.reserve(rows * columns_);
    background_.reserve(rows);
}

size_t RowList::add(std::string_view line)
{
    // Cells are kept as 32-bit offsets into their line.
    if (line.size() > UINT32_MAX)
        throw Error("A report line is too long for the check tables.");
    const char* base = text_ ? text_->data() : nullptr;
    if (base && line.data() >= base && line.data() + line.size() <= base + text_->size()) {
        lineAt_.push_back(static_cast<uint64_t>(line.data() - base));
    } else {
        lineAt_.push_back(static_cast<uint64_t>(own_.size()) | kOwnBit);
        own_.append(line);
    }
    spans_.resize(spans_.size() + columns_ * 2, 0);
    colours_.resize(colours_.size() + columns_, Colour::None);
    background_.push_back(Colour::None);
    return background_.size() - 1;
}

void RowList::setCell(size_t row, size_t column, std::string_view line, std::string_view part)
{
    uint32_t* span = &spans_[(row * columns_ + column) * 2];
    span[0] = static_cast<uint32_t>(part.data() - line.data());
    span[1] = static_cast<uint32_t>(part.size());
}

std::string_view RowList::cell(size_t row, size_t column) const
{
    if (column >= columns_)
        return {};
    const uint32_t* span = &spans_[(row * columns_ + column) * 2];
    const uint64_t at = lineAt_[row];
    const char* line = (at & kOwnBit) ? own_.data() + (at & ~kOwnBit) : text_->data() + at;
    return {line + span[0], span[1]};
}

void prepareRegistryTable(CheckTable& t)
{
    prepare(t, {"Key", "Value", "Default"});
}

void prepareFilesTable(CheckTable& t)
{
    prepare(t, {"Name", "Full Name", "Size", "Date", "Time", "Company", "Internal File Version",
                "Internal Name", "Product Version", "Default"});
}

void addRegistryRow(CheckTable& t, std::string_view line)
{
    RowList& rows = t.rows;
    const size_t r = addRow(t, kRegistryColumns, line);
    const auto parts = fields::registryParts(line);
    rows.setCell(r, 0, line, fields::lineKey(line));
    rows.setCell(r, 1, line, parts.value);
    if (parts.value == "Registry Key/Value not found")
        rows.setBackground(r, Colour::Red);
    rows.setCell(r, 2, line, parts.verdict);

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
    const size_t r = addRow(t, kFileColumns, line);
    std::array<std::string_view, kFileColumns> cells;
    fields::fileFields(line, cells);
    rows.setCell(r, 0, line, fields::lineKey(line));
    rows.setCell(r, 1, line, cells[1]);
    if (line.find("File Not Found!") != std::string::npos) {
        rows.setBackground(r, Colour::Red);
        return;
    }
    for (size_t k = 2; k < kFileColumns; ++k)
        rows.setCell(r, k, line, cells[k]);
    if (cells[9] == "NEWER")
        rows.setBackground(r, Colour::Green);
    else if (cells[9] == "OLDER")
        rows.setBackground(r, Colour::Yellow);
}

} // namespace qmx
