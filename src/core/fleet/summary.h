// Findings across many reports: which findings occur, on how many reports
// and on which, as a list, as a report-by-finding matrix, and compared with
// an older scan of the same computers.
#pragma once

#include "core/fleet/findings.h"

#include <string>
#include <vector>

namespace qmx {

struct FindingHost {
    size_t report = 0; // index into the reports summarised
    std::vector<Evidence> evidence;
};

struct SummaryRow {
    std::string text;
    std::vector<FindingHost> hosts; // in report order; the count is its size
};

// One row per distinct finding of the readable reports, by number of
// reports descending, then by text (byte order).
std::vector<SummaryRow> summarize(const std::vector<ReportFindings>& reports);

// RFC 4180 CSV, UTF-8: "path", "computer", then one column per row of
// summary; one line per readable report with 1 or 0 per finding.
// pathText turns a path's bytes into UTF-8 text (file names are not
// Windows-1252).
std::string findingsMatrixCsv(const std::vector<ReportFindings>& reports,
                              const std::vector<SummaryRow>& summary,
                              std::string (*pathText)(const std::string&));

// One computer compared between an older and a newer scan. Computers are
// matched by name, case-blind; a name found twice on one side uses its first
// report.
struct HostChange {
    enum class Side { Both, NewOnly, OldOnly };
    std::string computer;
    Side side = Side::Both;
    // Finding texts, sorted; all empty for a computer only in the older scan.
    std::vector<std::string> added, fixed, unchanged;
};

// The newer scan's computers in their order, then those found only in the
// older scan, in its order. Unreadable reports take no part.
std::vector<HostChange> compareScans(const std::vector<ReportFindings>& older,
                                     const std::vector<ReportFindings>& newer);

} // namespace qmx
