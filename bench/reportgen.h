// Generator of synthetic workstation reports for benchmarks and tests. The
// same shape always gives the same text. A report holds the fixed tags, NIC
// lines, REGISTRY, FILE and REGISTRY_MULTIVALUE lines with every verdict,
// other entry lines, and attached files making up about a third of the
// lines (one of them kBigAttachedName, 15,000 lines long when the report is
// large enough, and one missing file, kMissingAttachedName).
#pragma once

#include <cstddef>
#include <string>

namespace qmx::bench {

inline constexpr const char* kBigAttachedName = "BIGFILE";
inline constexpr const char* kMissingAttachedName = "MISSINGFILE";

struct ReportShape {
    size_t lines = 1000; // exact number of lines (each ends in CR LF)
    unsigned seed = 1;
    size_t bigAttached = 15000; // lines of the big attached file, if it fits
    // Adds lines built to trip up shortcuts: exact duplicates, lines that
    // occur inside earlier lines, short section headers also found inside
    // entries, attached-file names that are prefixes or suffixes of others
    // (F_1 / F_10, XF_1), a file attached twice under one name, and first
    // lines of a file inside another file's lines.
    bool adversarial = false;
};

std::string generateReport(const ReportShape& shape);

} // namespace qmx::bench
