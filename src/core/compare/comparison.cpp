#include "core/compare/comparison.h"

#include "core/util/text.h"

#include <algorithm>
#include <cstdint>
#include <sstream>
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

// An entry line's key and value: the text before and after its first "=";
// a line without "=" has neither.
std::pair<std::string_view, std::string_view> splitEntry(std::string_view line)
{
    const size_t eq = line.find('=');
    if (eq == std::string_view::npos)
        return {};
    return {line.substr(0, eq), line.substr(eq + 1)};
}

// Rows in order of first appearance: every report of every column, each
// section of its Sections list in order, each key of that section in order.
std::vector<std::string> collectRows(const std::vector<CompareColumn>& columns)
{
    std::vector<std::string> keys;
    RowIndex index;
    std::string rowKey;
    std::vector<std::string_view> lines;
    // Reports of one site list mostly the same keys in the same order: the
    // row after the last one met is tried before the hash table.
    size_t next = 0;
    for (const CompareColumn& column : columns)
        for (const CompareReport& report : column.reports) {
            if (!report.store || !report.sections)
                continue;
            for (const std::string& section : *report.sections) {
                lines.clear();
                report.store->ReadSectionViews(section, lines);
                for (const std::string_view line : lines) {
                    rowKey.assign(section).append(1, ';').append(splitEntry(line).first);
                    if (next < keys.size() && keys[next] == rowKey) {
                        ++next;
                        continue;
                    }
                    const auto it = index.find(std::string_view(rowKey));
                    if (it != index.end()) {
                        next = it->second + 1;
                        continue;
                    }
                    index.emplace(rowKey, static_cast<uint32_t>(keys.size()));
                    keys.push_back(rowKey);
                    next = keys.size();
                }
            }
        }
    return keys;
}

// The rows grouped by the name their values are looked up under: a row
// "S;K" reads key K of section S (split at the first ";", so a section name
// holding ";" sends the rest of its name to the key, as the window's look-up
// does), both compared without regard to case. Rows that differ only in case
// share a group. A report's entries are then matched against the groups in
// one walk over the report, rather than each row looked up in each report.
class RowGroups {
public:
    explicit RowGroups(const std::vector<std::string>& keys) : nextRow_(keys.size(), kNone)
    {
        index_.reserve(keys.size());
        std::vector<uint32_t> lastRow;
        for (uint32_t r = 0; r < keys.size(); ++r) {
            const std::string_view rowKey = keys[r];
            const size_t semi = rowKey.find(';');
            const NameKey name{rowKey.substr(0, semi), rowKey.substr(semi + 1)};
            const auto [it, added] = index_.try_emplace(name, firstRow_.size());
            if (added) {
                names_.push_back(name);
                firstRow_.push_back(r);
                lastRow.push_back(r);
            } else {
                nextRow_[lastRow[it->second]] = r;
                lastRow[it->second] = r;
            }
        }
    }

    size_t size() const { return firstRow_.size(); }
    // The group of a section and key, or kNone. The group `likely` is tried
    // first: reports list their keys mostly in the rows' order.
    uint32_t find(std::string_view section, std::string_view key, uint32_t likely) const
    {
        const NameKey name{section, key};
        if (likely < names_.size() && NameKeyEqual{}(names_[likely], name))
            return likely;
        const auto it = index_.find(name);
        return it == index_.end() ? kNone : it->second;
    }
    template <class F> void forEachRow(uint32_t group, F&& f) const
    {
        for (uint32_t r = firstRow_[group]; r != kNone; r = nextRow_[r])
            f(r);
    }

    static constexpr uint32_t kNone = UINT32_MAX;

private:
    std::unordered_map<NameKey, uint32_t, NameKeyHash, NameKeyEqual> index_;
    std::vector<NameKey> names_;
    std::vector<uint32_t> firstRow_;
    std::vector<uint32_t> nextRow_;
};

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
    const Span& s = cells_[column * rowCount() + row];
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

namespace {

// The text of a new cell. A value equal to the row's first or previous cell
// shares that cell's text, so reports that mostly agree cost little more
// than one copy of their values.
ComparisonGrid::Span cellText(const std::vector<ComparisonGrid::Span>& cells, std::string& text,
                              size_t rows, size_t r, size_t c, std::string_view value)
{
    for (const size_t other : {size_t{0}, c - 1}) {
        if (other >= c)
            continue;
        const ComparisonGrid::Span& s = cells[other * rows + r];
        if (s.length == value.size() && std::string_view(text).substr(s.offset, s.length) == value)
            return s;
    }
    text.append(value);
    return {text.size() - value.size(), value.size()};
}

// Fills column c with the values of one report: what the store's ReadString
// gives with an empty default. Sections are unique without regard to case,
// and the first entry of a key wins, as in the store.
void fillColumn(std::vector<ComparisonGrid::Span>& cells, std::string& text,
                const RowGroups& groups, std::vector<size_t>& filledBy, size_t rows, size_t c,
                const TBigIniFile& store)
{
    StringList sections;
    store.ReadSections(sections);
    std::vector<std::string_view> lines;
    uint32_t likely = 0;
    for (const std::string& section : sections) {
        lines.clear();
        store.ReadSectionViews(section, lines);
        for (const std::string_view line : lines) {
            const auto [key, value] = splitEntry(line);
            const uint32_t g = groups.find(section, key, likely);
            if (g == RowGroups::kNone || filledBy[g] == c)
                continue;
            likely = g + 1;
            filledBy[g] = c;
            if (value.empty())
                continue;
            groups.forEachRow(g, [&](size_t r) {
                cells[c * rows + r] = cellText(cells, text, rows, r, c, value);
            });
        }
    }
}

} // namespace

ComparisonGrid compareReports(const std::vector<CompareColumn>& columns, Baseline baseline)
{
    ComparisonGrid grid;
    for (const CompareColumn& column : columns)
        grid.headers_.push_back(column.header);
    grid.keys_ = collectRows(columns);

    const size_t n = columns.size();
    const size_t rows = grid.keys_.size();
    grid.cells_.assign(rows * n, {});
    // A report ticked twice is read once and its column copied.
    const RowGroups groups(grid.keys_);
    std::vector<size_t> filledBy(groups.size(), SIZE_MAX);
    for (size_t c = 0; c < n; ++c) {
        const TBigIniFile* store = valueSource(columns[c]);
        if (!store)
            continue;
        size_t same = 0;
        while (same < c && valueSource(columns[same]) != store)
            ++same;
        if (same < c)
            std::copy_n(grid.cells_.begin() + same * rows, rows, grid.cells_.begin() + c * rows);
        else
            fillColumn(grid.cells_, grid.text_, groups, filledBy, rows, c, *store);
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

void writeComparisonCsv(std::ostream& os, const ComparisonGrid& grid, bool differencesOnly,
                        const TextEncoder& encode)
{
    std::string out;
    const auto flush = [&] {
        os.write(out.data(), static_cast<std::streamsize>(out.size()));
        out.clear();
    };
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
        if (out.size() >= (size_t(1) << 16))
            flush();
    }
    flush();
}

std::string comparisonCsv(const ComparisonGrid& grid, bool differencesOnly,
                          const TextEncoder& encode)
{
    std::ostringstream out;
    writeComparisonCsv(out, grid, differencesOnly, encode);
    return std::move(out).str();
}

} // namespace qmx
