// The workstation report loader: reads one report, keeps its raw lines,
// opens it as an INI section store, derives the report variable list, the
// General fields, the Sections, Network Cards and Attached Files lists, the
// check tables and the colour of each coloured line, then runs the rules.
// The report window and the command-line tool both present this document.
#pragma once

#include "core/report/checktables.h"
#include "core/report/colour.h"
#include "core/store/bigini.h"
#include "core/store/variables.h"
#include "core/util/progress.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace qmx {

struct GeneralInfo {
    std::string date, time, name, os, memory, cpu, user, uptime;
};

// One coloured report line: line `line`'s text was found first at line
// `atLine`, column `column` (all 0-based), over `length` bytes.
// A large report has tens of thousands of these, hence 32-bit fields: the
// loader refuses text of 4 GiB or more.
struct TextColour {
    uint32_t line = 0;
    uint32_t atLine = 0;
    uint32_t column = 0;
    uint32_t length = 0;
    Colour color = Colour::None;
};

struct ReportDocument {
    std::string path;
    // The report as read, and its lines (split at CR LF, CR or LF) as views
    // into it: one copy of the text instead of a string per line.
    std::shared_ptr<const std::string> rawText;
    std::vector<std::string_view> lines;
    std::unique_ptr<TBigIniFile> store; // the report as sections and keys
    VariableList variables;
    GeneralInfo general;
    StringList sections;
    std::string sectionsLabel; // "Sections: N"
    StringList nics;
    std::string nicShown;
    StringList attached;
    CheckTable registry;
    CheckTable files;
    std::vector<TextColour> textColours;  // in report order
    std::vector<std::string> suggestions; // the Suggestions text, one line each
    bool loaded = false;                  // loadall ran to its end
};

struct LoadOptions {
    Progress* progress = nullptr; // may be null
    // May be empty. Called between the steps of the load and every few
    // thousand lines within each, so no stretch of work between two calls
    // is long. It may throw to stop the load; doc then keeps what was
    // filled so far.
    Pump pump;
    // Runs the rules at the end of the load (dorules with "Not"); empty for none.
    std::function<void(ReportDocument&)> runRules;
};

// Loads the report at path into doc. Throws qmx::Error when the file cannot
// be read; doc then keeps what was filled so far.
void loadall(ReportDocument& doc, const std::string& path, const LoadOptions& options = {});

// The same load over report text already in memory, as if read from path
// (which is only recorded, and used as the store's file name).
void loadReportText(ReportDocument& doc, const std::string& path, std::string content,
                    const LoadOptions& options = {});

} // namespace qmx
