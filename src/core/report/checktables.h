// The Registry Keys and Files check tables: one row per REGISTRY or FILE
// report line, coloured by the scanner's verdict. The loader prepares both
// tables, adds rows in report order and finishes them.
#pragma once

#include "core/report/colour.h"

#include <string>
#include <string_view>
#include <vector>

namespace qmx {

struct GridRow {
    std::vector<std::string> cells;
    Colour background = Colour::None; // None: the grid's default
    std::vector<Colour> colors;       // text colour per cell; None: default
};

// A table as the window shows it: the column captions and the data rows.
// The loader keeps one empty working row at the end of rows while it fills
// the table. A table whose header is empty was never prepared.
struct CheckTable {
    std::vector<std::string> header;
    std::vector<GridRow> rows;
    size_t columns = 0;
};

// Sets the table to its header and one empty working row.
void prepareRegistryTable(CheckTable& t);
void prepareFilesTable(CheckTable& t);
// Fill the working row from one line, colour it, and add a new working row.
void addRegistryRow(CheckTable& t, std::string_view line);
void addFileRow(CheckTable& t, std::string_view line);
// Removes the trailing working row.
void finishTable(CheckTable& t);

} // namespace qmx
