// The comparison grid built step by step the slow, literal way, as a
// reference for the differential tests and the benchmarks: a grid of texts
// that starts with a header row and one working row, a linear search of the
// key column for every key of every report, one store look-up per cell, the
// marks, and the working row removed at the end. Columns carry the reports
// that match their header in window order, as for the fast comparison.
#pragma once

#include "core/compare/comparison.h"
#include "core/report/browse.h"

#include <string>
#include <vector>

namespace qmx::bench {

struct LiteralGrid {
    // cells[column][row]; column 0 holds the row keys, row 0 the headers.
    std::vector<std::vector<std::string>> cells;
    std::vector<std::vector<bool>> red;
    std::vector<std::vector<bool>> blue;
};

namespace literal {

inline void collectRows(LiteralGrid& g, const std::vector<CompareColumn>& columns)
{
    auto& keyColumn = g.cells[0];
    for (size_t c = 1; c <= columns.size(); ++c)
        for (const CompareReport& report : columns[c - 1].reports) {
            if (!report.sections)
                continue;
            SectionBrowser window; // stands in for the report window's Keys list
            for (const std::string& section : *report.sections) {
                if (report.store)
                    window.loadasection(*report.store, section);
                for (const std::string& key : window.keys) {
                    const std::string rowKey = section + ";" + key;
                    bool found = false;
                    for (size_t r = 1; r + 1 < keyColumn.size() && !found; ++r)
                        found = keyColumn[r] == rowKey;
                    if (found)
                        continue;
                    keyColumn.back() = rowKey;
                    for (auto& column : g.cells)
                        column.emplace_back();
                }
            }
        }
}

inline void fillValues(LiteralGrid& g, const std::vector<CompareColumn>& columns)
{
    const auto& keyColumn = g.cells[0];
    for (size_t c = 1; c <= columns.size(); ++c)
        for (const CompareReport& report : columns[c - 1].reports)
            for (size_t r = 1; r < keyColumn.size(); ++r) {
                const std::string& rowKey = keyColumn[r];
                const size_t semi = rowKey.find(';');
                const std::string section =
                    semi == std::string::npos ? std::string() : rowKey.substr(0, semi);
                const std::string key =
                    semi == std::string::npos ? rowKey : rowKey.substr(semi + 1);
                g.cells[c][r] =
                    report.store ? LoadaValue(*report.store, section, key) : std::string();
            }
}

} // namespace literal

inline LiteralGrid literalCompare(const std::vector<CompareColumn>& columns)
{
    LiteralGrid g;
    g.cells.assign(1, std::vector<std::string>(2));
    for (const CompareColumn& column : columns)
        g.cells.push_back({column.header, std::string()});
    literal::collectRows(g, columns);
    literal::fillValues(g, columns);

    const size_t rows = g.cells[0].size();
    g.red.assign(g.cells.size(), std::vector<bool>(rows, false));
    g.blue.assign(g.cells.size(), std::vector<bool>(rows, false));
    for (size_t r = 1; r < rows; ++r)
        for (size_t c = 2; c < g.cells.size(); ++c)
            g.red[c][r] = g.cells[c][r] != g.cells[1][r];
    for (size_t r = 1; r < rows; ++r)
        for (size_t c = 1; c < g.cells.size(); ++c)
            g.blue[c][r] = g.cells[c][r].empty();
    for (size_t c = 0; c < g.cells.size(); ++c) {
        g.cells[c].pop_back();
        g.red[c].pop_back();
        g.blue[c].pop_back();
    }
    return g;
}

} // namespace qmx::bench
