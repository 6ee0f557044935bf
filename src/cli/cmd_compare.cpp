#include "cmd_compare.h"

#include "usage.h"

#include "compare/comparison.h"
#include "util/cp1252.h"
#include "util/error.h"
#include "util/fileio.h"

#include <iostream>
#include <map>
#include <memory>

namespace qmx::cli {

namespace {

void appendJsonString(std::string& out, std::string_view utf8)
{
    static const char* const kHex = "0123456789abcdef";
    out += '"';
    for (const char ch : utf8) {
        const auto b = static_cast<unsigned char>(ch);
        if (ch == '"' || ch == '\\') {
            out += '\\';
            out += ch;
        } else if (b < 0x20) {
            out += "\\u00";
            out += kHex[b >> 4];
            out += kHex[b & 15];
        } else {
            out += ch;
        }
    }
    out += '"';
}

void appendJsonBools(std::string& out, const ComparisonGrid& g, size_t row, bool red)
{
    out += '[';
    for (size_t c = 0; c < g.columnCount(); ++c) {
        if (c)
            out += ", ";
        out += (red ? g.red(row, c) : g.blue(row, c)) ? "true" : "false";
    }
    out += ']';
}

// One row a line, so the output stays readable and diffable.
std::string comparisonJson(const ComparisonGrid& g, bool differencesOnly)
{
    std::string out = "{\n  \"header\": [\"\"";
    for (size_t c = 0; c < g.columnCount(); ++c) {
        out += ", ";
        appendJsonString(out, g.header(c));
    }
    out += "],\n  \"rows\": [";
    bool first = true;
    for (size_t r = 0; r < g.rowCount(); ++r) {
        if (differencesOnly && !g.differs(r))
            continue;
        out += first ? "\n    {\"key\": " : ",\n    {\"key\": ";
        first = false;
        appendJsonString(out, toUtf8(g.key(r)));
        out += ", \"cells\": [";
        for (size_t c = 0; c < g.columnCount(); ++c) {
            if (c)
                out += ", ";
            appendJsonString(out, toUtf8(g.cell(r, c)));
        }
        out += "], \"red\": ";
        appendJsonBools(out, g, r, true);
        out += ", \"blue\": ";
        appendJsonBools(out, g, r, false);
        out += '}';
    }
    out += first ? "]\n}\n" : "\n  ]\n}\n";
    return out;
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
        CompareColumn column{path, {}};
        if (it->second.store)
            column.reports.push_back({it->second.store.get(), &it->second.sections});
        columns.push_back(std::move(column));
    }
    const ComparisonGrid grid = compareReports(columns, baseline);
    const std::string text =
        args.has("--csv")
            ? comparisonCsv(grid, differencesOnly, [](std::string_view s) { return toUtf8(s); })
            : comparisonJson(grid, differencesOnly);
    std::cout.write(text.data(), static_cast<std::streamsize>(text.size()));
    return kOk;
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
