// What `analyze --summary` and `summary` print: the findings across reports
// as text for people, as one JSON document, and one JSON line per report
// (the pieces a large fleet is split into and summed from later).
#pragma once

#include "core/fleet/summary.h"

#include <nlohmann/json.hpp>

#include <string>
#include <vector>

namespace qmx::cli {

// Per finding: "N of M reports: TEXT", then one indented line per report:
// "COMPUTER: %VAR%=value, ..." (the computer alone when nothing decided it).
std::string summaryText(const std::vector<ReportFindings>& reports,
                        const std::vector<SummaryRow>& rows);
// Per computer: "COMPUTER: N new, N fixed, N unchanged" (or "only in the
// new scan" / "only in the old scan"), then "  new: TEXT", "  fixed: TEXT",
// "  unchanged: TEXT" lines.
std::string sinceText(const std::vector<HostChange>& changes);

nlohmann::ordered_json summaryJson(const std::vector<ReportFindings>& reports,
                                   const std::vector<SummaryRow>& rows,
                                   const std::vector<HostChange>* since);

// One report as one JSON object, and back. fromJsonLine throws qmx::Error
// on an object of another shape.
nlohmann::ordered_json reportJsonLine(const ReportFindings& report);
ReportFindings reportFromJsonLine(const nlohmann::ordered_json& line);

// Reads a file of JSON lines (empty lines skipped) as reports; throws
// qmx::Error naming the file and line when one cannot be read.
std::vector<ReportFindings> readJsonLines(const std::string& path);

} // namespace qmx::cli
