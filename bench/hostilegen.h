// Reports shaped to drive a reader into its slowest paths, for benchmarks,
// tests and fuzzer seeds: each is valid report text, only extreme in one way.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace qmx::bench {

enum class HostileShape {
    Brackets,   // `count` section-header lines of fifty "[" and a short tail
    MultiValue, // `count` multi-value lines that all extend one ALL_VALUES list
    LongLine,   // one TOTALMEMORY value of `count` bytes
    Parens,     // a TOTALMEMORY value of `count` bytes of "(1=1)&" for rules to test
    Attached,   // one line holding `count` GETFILE tags of the attached file "F"
    Sections,   // `count` sections of one key each
};

std::string generateHostileReport(HostileShape shape, size_t count);

// The shape named by its lower-case name ("brackets", "multivalue",
// "longline", "parens", "attached", "sections"), if it is one.
std::optional<HostileShape> hostileShapeNamed(std::string_view name);

// Server reports extreme in one way; every line of `lineBytes` or so.
enum class HostileServerShape {
    AlternatingDisks, // `count` lines alternating disk headings and interrupt lines, no separator
    OverlappingFiles, // nine file headings, `count` lines, a separator and a module list
    DiskNeighbours,   // one disk heading over `count` interrupt lines
};

std::string generateHostileServerReport(HostileServerShape shape, size_t count, size_t lineBytes);

// The server shape named "alternating", "overlapping" or "neighbours", if it is one.
std::optional<HostileServerShape> hostileServerShapeNamed(std::string_view name);

} // namespace qmx::bench
