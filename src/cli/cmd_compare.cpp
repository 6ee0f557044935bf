#include "cmd_compare.h"

#include "util/cp1252.h"
#include "options.h"

#include "compare/comparison.h"
#include "util/error.h"
#include "util/fileio.h"

#include <iostream>
#include <map>
#include <memory>
#include <optional>

namespace qmx::cli {

namespace {

struct CompareOptions {
    bool csv = false;
    bool differencesOnly = false;
    Baseline baseline = Baseline::First;
    std::vector<std::string> reports;
};

// Returns the options, or nothing with error set; help is set for --help.
std::optional<CompareOptions> parseCompareArgs(const std::vector<std::string>& args, bool& help,
                                               std::string& error)
{
    CompareOptions o;
    bool optionsEnded = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (optionsEnded || a.size() < 2 || a.compare(0, 2, "--") != 0) {
            o.reports.push_back(a);
        } else if (a == "--") {
            optionsEnded = true;
        } else if (a == "--help") {
            help = true;
            return o;
        } else if (a == "--csv" || a == "--differences") {
            (a == "--csv" ? o.csv : o.differencesOnly) = true;
        } else if (a == "--baseline" || a.rfind("--baseline=", 0) == 0) {
            std::string value;
            if (a.size() > 10)
                value = a.substr(11);
            else if (i + 1 < args.size())
                value = args[++i];
            if (value != "first" && value != "majority") {
                error = "--baseline takes first or majority";
                return std::nullopt;
            }
            o.baseline = value == "first" ? Baseline::First : Baseline::Majority;
        } else {
            error = "unknown option '" + a + "'";
            return std::nullopt;
        }
    }
    if (o.reports.empty()) {
        error = "compare needs at least one report";
        return std::nullopt;
    }
    return o;
}

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

} // namespace

int cmdCompare(const std::vector<std::string>& args)
{
    bool help = false;
    std::string error;
    const auto options = parseCompareArgs(args, help, error);
    if (help) {
        std::cout << kUsage;
        return 0;
    }
    if (!options) {
        std::cerr << "qmxread-cli: " << error << "\n\n" << kUsage;
        return 2;
    }
    // A path given twice is one report shown in two columns.
    std::map<std::string, LoadedReport> loaded;
    std::vector<CompareColumn> columns;
    for (const std::string& path : options->reports) {
        auto it = loaded.find(path);
        if (it == loaded.end())
            it = loaded.emplace(path, loadForCompare(path)).first;
        CompareColumn column{path, {}};
        if (it->second.store)
            column.reports.push_back({it->second.store.get(), &it->second.sections});
        columns.push_back(std::move(column));
    }
    const ComparisonGrid grid = compareReports(columns, options->baseline);
    const std::string text = options->csv
        ? comparisonCsv(grid, options->differencesOnly, [](std::string_view s) { return toUtf8(s); })
        : comparisonJson(grid, options->differencesOnly);
    std::cout.write(text.data(), static_cast<std::streamsize>(text.size()));
    return 0;
}

} // namespace qmx::cli
