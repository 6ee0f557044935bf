#include "compare/comparison.h"

#include "util/text.h"

#include <unordered_map>
#include <utility>

namespace qmx {

namespace {

// Row keys are merged with case: a plain hash set over the key texts, with
// look-ups by view so the key being tried is not copied.
struct ViewHash {
    using is_transparent = void;
    size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
};
using RowIndex = std::unordered_map<std::string, uint32_t, ViewHash, std::equal_to<>>;

// A section name and a key name, compared without regard to case as the
// section store compares them.
struct NameKey {
    std::string_view section;
    std::string_view key;
};

size_t hashNoCase(std::string_view s, size_t h)
{
    for (char c : s)
        h = (h ^ static_cast<unsigned char>(upperCp1252(c))) * 1099511628211ull;
    return h;
}

struct NameKeyHash {
    size_t operator()(const NameKey& k) const
    {
        return hashNoCase(k.key, hashNoCase(k.section, 14695981039346656037ull) * 31);
    }
};
struct NameKeyEqual {
    bool operator()(const NameKey& a, const NameKey& b) const
    {
        return equalsNoCase(a.section, b.section) && equalsNoCase(a.key, b.key);
    }
};

// The value look-up of one report: what the store's ReadString gives with
// an empty default, answered from a hash table. Sections are unique without
// regard to case and the first entry of a key wins, as in the store.
class ValueIndex {
public:
    explicit ValueIndex(const TBigIniFile& store)
    {
        store.ReadSections(sections_);
        std::vector<size_t> firstLine;
        for (const std::string& name : sections_) {
            firstLine.push_back(lines_.size());
            store.ReadSectionValues(name, lines_);
        }
        firstLine.push_back(lines_.size());
        // The views point into lines_, which no longer grows.
        values_.reserve(lines_.size());
        for (size_t s = 0; s < sections_.size(); ++s)
            for (size_t i = firstLine[s]; i < firstLine[s + 1]; ++i) {
                const std::string_view line = lines_[i];
                const size_t eq = line.find('=');
                const std::string_view key = eq == std::string_view::npos ? std::string_view() : line.substr(0, eq);
                const std::string_view value = eq == std::string_view::npos ? std::string_view() : line.substr(eq + 1);
                values_.try_emplace(NameKey{sections_[s], key}, value);
            }
    }

    std::string_view value(std::string_view section, std::string_view key) const
    {
        const auto it = values_.find(NameKey{section, key});
        return it == values_.end() ? std::string_view() : it->second;
    }

private:
    StringList sections_;
    StringList lines_;
    std::unordered_map<NameKey, std::string_view, NameKeyHash, NameKeyEqual> values_;
};

// Rows in order of first appearance: every report of every column, each
// section of its Sections list in order, each key of that section in order.
std::vector<std::string> collectRows(const std::vector<CompareColumn>& columns)
{
    std::vector<std::string> keys;
    RowIndex index;
    std::string rowKey;
    StringList sectionKeys;
    for (const CompareColumn& column : columns)
        for (const CompareReport& report : column.reports) {
            if (!report.store || !report.sections)
                continue;
            for (const std::string& section : *report.sections) {
                sectionKeys.clear();
                report.store->ReadSection(section, sectionKeys);
                for (const std::string& key : sectionKeys) {
                    rowKey.assign(section).append(1, ';').append(key);
                    if (index.find(std::string_view(rowKey)) != index.end())
                        continue;
                    index.emplace(rowKey, static_cast<uint32_t>(keys.size()));
                    keys.push_back(rowKey);
                }
            }
        }
    return keys;
}

// The report whose values fill a column: the last one that carries it.
const TBigIniFile* valueSource(const CompareColumn& column)
{
    return column.reports.empty() ? nullptr : column.reports.back().store;
}

// The most common value of a row; on a tie the earliest column's value.
size_t majorityColumn(const ComparisonGrid& grid, size_t row)
{
    size_t best = 0, bestCount = 0;
    const size_t n = grid.columnCount();
    for (size_t c = 0; c < n; ++c) {
        size_t count = 0;
        for (size_t d = 0; d < n; ++d)
            count += grid.cell(row, d) == grid.cell(row, c) ? 1 : 0;
        if (count > bestCount) {
            best = c;
            bestCount = count;
        }
    }
    return best;
}

} // namespace

std::string_view ComparisonGrid::cell(size_t row, size_t column) const
{
    const Span& s = cells_[row * columnCount() + column];
    return std::string_view(text_).substr(s.offset, s.length);
}

void ComparisonGrid::mark(Baseline baseline)
{
    baseline_ = baseline;
    const size_t n = columnCount();
    red_.assign(rowCount() * n, 0);
    differs_.assign(rowCount(), 0);
    differingRows_ = 0;
    for (size_t r = 0; r < rowCount(); ++r) {
        if (n == 0)
            break;
        const size_t base = baseline == Baseline::First ? 0 : majorityColumn(*this, r);
        const std::string_view reference = cell(r, base);
        bool any = false;
        for (size_t c = 0; c < n; ++c) {
            // With the first column as baseline, that column is the reference
            // and never marked.
            if (baseline == Baseline::First && c == 0)
                continue;
            if (cell(r, c) != reference) {
                red_[r * n + c] = 1;
                any = true;
            }
        }
        differs_[r] = any ? 1 : 0;
        differingRows_ += any ? 1 : 0;
    }
}

ComparisonGrid compareReports(const std::vector<CompareColumn>& columns, Baseline baseline)
{
    ComparisonGrid grid;
    for (const CompareColumn& column : columns)
        grid.headers_.push_back(column.header);
    grid.keys_ = collectRows(columns);

    const size_t n = columns.size();
    grid.cells_.assign(grid.keys_.size() * n, {});
    // A report ticked twice is indexed once.
    std::unordered_map<const TBigIniFile*, ValueIndex> indexes;
    for (size_t c = 0; c < n; ++c) {
        const TBigIniFile* store = valueSource(columns[c]);
        if (!store)
            continue;
        const ValueIndex& index = indexes.try_emplace(store, *store).first->second;
        for (size_t r = 0; r < grid.keys_.size(); ++r) {
            // Split at the first ";": a section name holding ";" sends the
            // rest of its name to the key, as the window's look-up does.
            const std::string_view rowKey = grid.keys_[r];
            const size_t semi = rowKey.find(';');
            const std::string_view value = index.value(rowKey.substr(0, semi), rowKey.substr(semi + 1));
            if (value.empty())
                continue;
            grid.cells_[r * n + c] = {grid.text_.size(), value.size()};
            grid.text_.append(value);
        }
    }
    grid.mark(baseline);
    return grid;
}

void appendCsvField(std::string& out, std::string_view field)
{
    if (field.find_first_of(",\"\r\n") == std::string_view::npos) {
        out.append(field);
        return;
    }
    out += '"';
    for (char ch : field) {
        if (ch == '"')
            out += '"';
        out += ch;
    }
    out += '"';
}

std::string comparisonCsv(const ComparisonGrid& grid, bool differencesOnly, const TextEncoder& encode)
{
    std::string out;
    for (size_t c = 0; c < grid.columnCount(); ++c) {
        out += ',';
        appendCsvField(out, grid.header(c));
    }
    out += "\r\n";
    for (size_t r = 0; r < grid.rowCount(); ++r) {
        if (differencesOnly && !grid.differs(r))
            continue;
        appendCsvField(out, encode(grid.key(r)));
        for (size_t c = 0; c < grid.columnCount(); ++c) {
            out += ',';
            appendCsvField(out, encode(grid.cell(r, c)));
        }
        out += "\r\n";
    }
    return out;
}

} // namespace qmx
