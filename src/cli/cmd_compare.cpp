#include "cli/cmd_compare.h"

#include "cli/jsonout.h"
#include "cli/usage.h"

#include "core/compare/comparison.h"
#include "core/util/cp1252.h"
#include "core/util/error.h"
#include "core/util/fileio.h"

#include <algorithm>
#include <iostream>
#include <map>
#include <memory>

namespace qmx::cli {

namespace {

void appendMarks(std::string& out, const ComparisonGrid& g, size_t row, bool red)
{
    out += '[';
    for (size_t c = 0; c < g.columnCount(); ++c) {
        if (c)
            out += ", ";
        out += (red ? g.red(row, c) : g.blue(row, c)) ? "true" : "false";
    }
    out += ']';
}

// One row a line, so the output stays readable and diffable; written a piece
// at a time, so a large grid's text is never held whole.
void writeComparisonJson(std::ostream& os, const ComparisonGrid& g, bool differencesOnly)
{
    Json header = Json::array({""});
    for (size_t c = 0; c < g.columnCount(); ++c)
        header.push_back(g.header(c));
    std::string out = "{\n  \"header\": " + jsonLine(header) + ",\n  \"rows\": [";
    bool first = true;
    for (size_t r = 0; r < g.rowCount(); ++r) {
        if (differencesOnly && !g.differs(r))
            continue;
        out += first ? "\n    {\"key\": " : ",\n    {\"key\": ";
        first = false;
        out += jsonLine(toUtf8(g.key(r)));
        out += ", \"cells\": [";
        for (size_t c = 0; c < g.columnCount(); ++c) {
            if (c)
                out += ", ";
            out += jsonLine(toUtf8(g.cell(r, c)));
        }
        out += "], \"red\": ";
        appendMarks(out, g, r, true);
        out += ", \"blue\": ";
        appendMarks(out, g, r, false);
        out += '}';
        if (out.size() >= (size_t(1) << 16)) {
            os.write(out.data(), static_cast<std::streamsize>(out.size()));
            out.clear();
        }
    }
    out += first ? "]\n}\n" : "\n  ]\n}\n";
    os.write(out.data(), static_cast<std::streamsize>(out.size()));
}

struct LoadedReport {
    std::unique_ptr<TBigIniFile> store;
    StringList sections;
};

// A report that cannot be read stays unloaded, as a window for a missing
// file: its column is empty.
LoadedReport loadForCompare(const std::string& path)
{
    LoadedReport r;
    try {
        // No file name: the store can never write the report back.
        r.store = std::make_unique<TBigIniFile>(std::string(), readWholeFile(path));
        r.store->ReadSections(r.sections);
    } catch (const Error& e) {
        std::cout.flush();
        std::cerr << "qmxread-cli: warning: " << toUtf8(e.what()) << "; its column is empty\n";
        r.store.reset();
    }
    return r;
}

const OptionSpec kCompareOptions[] = {
    {"--csv"},
    {"--differences"},
    {"--baseline", true, "first|majority", "--baseline takes first or majority"},
};

int cmdCompare(const ParsedArgs& args)
{
    const Baseline baseline =
        args.value("--baseline") == "majority" ? Baseline::Majority : Baseline::First;
    const bool differencesOnly = args.has("--differences");
    // A path given twice is one report shown in two columns.
    std::map<std::string, LoadedReport> loaded;
    std::vector<CompareColumn> columns;
    for (const std::string& path : args.operands) {
        auto it = loaded.find(path);
        if (it == loaded.end())
            it = loaded.emplace(path, loadForCompare(path)).first;
        CompareColumn column{fileNameText(path), {}};
        if (it->second.store)
            column.reports.push_back({it->second.store.get(), &it->second.sections});
        columns.push_back(std::move(column));
    }
    const ComparisonGrid grid = compareReports(columns, baseline);
    if (args.has("--csv"))
        writeComparisonCsv(std::cout, grid, differencesOnly,
                           [](std::string_view s) { return toUtf8(s); });
    else
        writeComparisonJson(std::cout, grid, differencesOnly);
    // Every column empty: the grid is printed, but the comparison failed.
    const bool anyRead = std::any_of(loaded.begin(), loaded.end(),
                                     [](const auto& l) { return l.second.store != nullptr; });
    return anyRead ? kOk : kFailed;
}

} // namespace

const CommandSpec kCompareCommand{
    "compare",
    kCompareOptions,
    1,
    SIZE_MAX,
    "compare needs at least one report",
    cmdCompare,
    kUsage,
    HelpKind::Usage,
    {"unknown option '%w'", "--baseline takes first or majority", "unknown option '%w'"}};

} // namespace qmx::cli
