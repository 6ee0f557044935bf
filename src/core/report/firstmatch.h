// First occurrences of many patterns in a sequence of lines with a bound on
// the work whatever the patterns and the text are: a keyword automaton over
// the patterns reads every text byte once, and a pattern leaves the
// automaton's output chains once found, so overlapping and repetitive
// patterns (lines of nothing but "[") cost no more than plain ones. The
// line search in occurrence.h uses it when its own shortcut stops paying.
#pragma once

#include "core/report/occurrence.h"

#include <cstdint>
#include <string_view>
#include <vector>

namespace qmx {

class FirstMatchAutomaton {
public:
    // patterns must be distinct and hold no CR or LF; the views must outlive
    // the automaton.
    explicit FirstMatchAutomaton(const std::vector<std::string_view>& patterns);

    // Looks through lines [0, endLine) in order and sets found[i] to the
    // first occurrence of patterns[i]; found must have one entry per
    // pattern. Patterns already found() are not looked for. Calls pump every
    // few thousand lines.
    void scan(const std::vector<std::string_view>& lines, size_t endLine,
              std::vector<LinePos>& found, const Pump& pump = {});

private:
    static constexpr uint32_t kRoot = 0;
    static constexpr uint32_t kNone = UINT32_MAX;

    uint32_t child(uint32_t node, unsigned char c) const;
    uint32_t addChild(uint32_t node, unsigned char c);
    void insert(std::string_view pattern, uint32_t id);
    void linkFailures();
    // The nearest node on node's failure chain (itself included) that ends
    // a pattern not found yet, or the root.
    uint32_t nextUnfound(uint32_t node);
    size_t scanLine(std::string_view line, size_t j, std::vector<LinePos>& found);

    std::vector<std::string_view> patterns_;
    std::vector<uint32_t> rootChild_;            // 256 entries
    std::vector<uint32_t> firstChild_, sibling_; // children as linked lists
    std::vector<unsigned char> byte_;            // the byte leading to each node
    std::vector<uint32_t> fail_;
    std::vector<uint32_t> pattern_; // pattern ending here, or kNone
    std::vector<uint32_t> unfound_; // skip pointers for nextUnfound
};

} // namespace qmx
