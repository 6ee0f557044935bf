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
};

std::string generateHostileReport(HostileShape shape, size_t count);

// The shape named by its lower-case name ("brackets", "multivalue",
// "longline", "parens"), if it is one.
std::optional<HostileShape> hostileShapeNamed(std::string_view name);

} // namespace qmx::bench
