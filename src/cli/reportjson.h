// The JSON description of one loaded report that `qmxread-cli report`
// prints: the same pages the report window shows, as plain data, with all
// text converted to UTF-8.
#pragma once

#include "cli/jsonout.h"

#include "core/report/loader.h"
#include "core/util/progress.h"

#include <ostream>
#include <string>
#include <vector>

namespace qmx::cli {

// Writes the report's JSON member by member, so the document is never held
// whole: a large report's JSON is many times the report's size.
void writeReportJson(std::ostream& out, const ReportDocument& doc,
                     const CountingProgress& progress);

// The Suggestions text as the window's text view shows it: an appended entry
// that holds line breaks of its own fills several lines.
std::vector<std::string> suggestionLines(const ReportDocument& doc);

} // namespace qmx::cli
