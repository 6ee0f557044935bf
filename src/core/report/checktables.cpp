#include "core/report/checktables.h"

#include "core/report/fields.h"

#include <initializer_list>

namespace qmx {

namespace {

constexpr size_t kRegistryColumns = 3;
constexpr size_t kFileColumns = 10;

GridRow emptyRow(size_t columns)
{
    GridRow r;
    r.cells.assign(columns, std::string());
    r.colors.assign(columns, Colour::None);
    return r;
}

void prepare(CheckTable& t, std::initializer_list<const char*> headers)
{
    t.columns = headers.size();
    t.header.assign(headers.begin(), headers.end());
    t.rows.clear();
    t.rows.push_back(emptyRow(t.columns));
}

// The row the loader writes into; a table used without prepare gets one.
GridRow& workingRow(CheckTable& t, size_t columns)
{
    if (t.columns == 0)
        t.columns = columns;
    if (t.rows.empty())
        t.rows.push_back(emptyRow(t.columns));
    GridRow& r = t.rows.back();
    if (r.cells.size() < t.columns)
        r.cells.resize(t.columns);
    if (r.colors.size() < t.columns)
        r.colors.resize(t.columns, Colour::None);
    return r;
}

} // namespace

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
    GridRow& r = workingRow(t, kRegistryColumns);
    const auto parts = fields::registryParts(line);
    r.cells[0] = fields::lineKey(line);
    r.cells[1] = parts.value;
    if (parts.value == "Registry Key/Value not found")
        r.background = Colour::Red;
    r.cells[2] = parts.verdict;

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
        r.background = look.background;
        r.colors[0] = r.colors[1] = Colour::Black;
        r.colors[2] = look.verdictColour;
    }
    t.rows.push_back(emptyRow(t.columns));
}

void addFileRow(CheckTable& t, std::string_view line)
{
    GridRow& r = workingRow(t, kFileColumns);
    r.cells[0] = fields::lineKey(line);
    r.cells[1] = fields::fileField(line, 1);
    if (line.find("File Not Found!") != std::string::npos) {
        r.background = Colour::Red;
    } else {
        for (int k = 2; k <= 9; ++k)
            r.cells[static_cast<size_t>(k)] = fields::fileField(line, k);
        if (r.cells[9] == "NEWER")
            r.background = Colour::Green;
        else if (r.cells[9] == "OLDER")
            r.background = Colour::Yellow;
    }
    t.rows.push_back(emptyRow(t.columns));
}

void finishTable(CheckTable& t)
{
    if (!t.rows.empty())
        t.rows.pop_back();
}

} // namespace qmx
