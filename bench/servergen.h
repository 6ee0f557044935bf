// Generator of synthetic server configuration reports for benchmarks and
// tests: every heading the parser keys on, with blocks sized in proportion
// to the requested line count. The same line count always gives the same
// text.
#pragma once

#include <cstddef>
#include <string>

namespace qmx::bench {

// Exactly `lines` lines, each ending in CR LF.
std::string generateServerReport(size_t lines);

} // namespace qmx::bench
