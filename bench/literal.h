// Plain, literal versions of algorithms the core does in a faster way, kept
// as the baseline of the benchmarks and as the reference of the
// differential tests. They are slow on purpose: each does exactly what the
// rule says, in the most direct way.
#pragma once

#include "core/store/variables.h"

#include <cstdint>
#include <string>
#include <vector>

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

// Replaces a condition's %NAME% references one at a time, rebuilding the
// whole text per reference, and appends to trace the debug lines the rule
// interpreter writes for them. Returns the condition as replaced.
std::string literalReplaceReferences(const VariableList& vars, std::string condition,
                                     std::vector<std::string>& trace);

} // namespace qmx::bench
