// Plain, literal versions of algorithms the core does in a faster way, kept
// as the baseline of the benchmarks and as the reference of the
// differential tests. They are slow on purpose: each does exactly what the
// rule says, in the most direct way.
#pragma once

#include <cstdint>
#include <string>

namespace qmx::bench {

struct LiteralOutcome {
    bool value = false;
    uint64_t passes = 0;    // reduction passes, the last one included
    uint64_t operators = 0; // operators applied inside the groups
};

// Reduces a condition by rebuilding its text once per pass: the innermost
// group (after the last "(" up to the next ")") is replaced, with both
// parentheses, by TRUE or FALSE, until the text is one of those words.
LiteralOutcome literalReduction(const std::string& condition);

} // namespace qmx::bench
