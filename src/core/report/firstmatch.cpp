#include "core/report/firstmatch.h"

namespace qmx {

FirstMatchAutomaton::FirstMatchAutomaton(const std::vector<std::string_view>& patterns)
    : patterns_(patterns), rootChild_(256, kNone)
{
    size_t total = 1;
    for (const std::string_view p : patterns)
        total += p.size();
    for (auto* v : {&firstChild_, &sibling_, &fail_, &pattern_})
        v->reserve(total);
    byte_.reserve(total);
    firstChild_.push_back(kNone);
    sibling_.push_back(kNone);
    byte_.push_back(0);
    fail_.push_back(kRoot);
    pattern_.push_back(kNone);
    for (size_t i = 0; i < patterns.size(); ++i)
        insert(patterns[i], static_cast<uint32_t>(i));
    linkFailures();
}

uint32_t FirstMatchAutomaton::child(uint32_t node, unsigned char c) const
{
    if (node == kRoot)
        return rootChild_[c];
    for (uint32_t k = firstChild_[node]; k != kNone; k = sibling_[k])
        if (byte_[k] == c)
            return k;
    return kNone;
}

uint32_t FirstMatchAutomaton::addChild(uint32_t node, unsigned char c)
{
    const uint32_t k = static_cast<uint32_t>(byte_.size());
    firstChild_.push_back(kNone);
    sibling_.push_back(firstChild_[node]);
    firstChild_[node] = k;
    byte_.push_back(c);
    fail_.push_back(kRoot);
    pattern_.push_back(kNone);
    if (node == kRoot)
        rootChild_[c] = k;
    return k;
}

void FirstMatchAutomaton::insert(std::string_view pattern, uint32_t id)
{
    uint32_t node = kRoot;
    for (const char ch : pattern) {
        const unsigned char c = static_cast<unsigned char>(ch);
        const uint32_t next = child(node, c);
        node = next != kNone ? next : addChild(node, c);
    }
    if (node != kRoot)
        pattern_[node] = id;
}

// Breadth first, so a node's failure target (a shallower node) is linked
// before the node itself.
void FirstMatchAutomaton::linkFailures()
{
    std::vector<uint32_t> queue;
    queue.reserve(byte_.size());
    for (uint32_t k = firstChild_[kRoot]; k != kNone; k = sibling_[k])
        queue.push_back(k);
    for (size_t head = 0; head < queue.size(); ++head) {
        const uint32_t node = queue[head];
        for (uint32_t k = firstChild_[node]; k != kNone; k = sibling_[k]) {
            uint32_t f = fail_[node];
            while (f != kRoot && child(f, byte_[k]) == kNone)
                f = fail_[f];
            const uint32_t target = child(f, byte_[k]);
            fail_[k] = target != kNone && target != k ? target : kRoot;
            queue.push_back(k);
        }
    }
    unfound_.resize(byte_.size());
    for (uint32_t v = 0; v < unfound_.size(); ++v)
        unfound_[v] = pattern_[v] != kNone ? v : fail_[v];
    unfound_[kRoot] = kRoot;
}

uint32_t FirstMatchAutomaton::nextUnfound(uint32_t node)
{
    // Path halving: the pointers only ever skip nodes with nothing left to
    // report, so shortening them keeps the answer and bounds the work.
    while (unfound_[node] != node) {
        unfound_[node] = unfound_[unfound_[node]];
        node = unfound_[node];
    }
    return node;
}

// Returns how many patterns were found in this line.
size_t FirstMatchAutomaton::scanLine(std::string_view line, size_t j, std::vector<LinePos>& found)
{
    size_t count = 0;
    uint32_t state = kRoot;
    for (size_t p = 0; p < line.size(); ++p) {
        const unsigned char c = static_cast<unsigned char>(line[p]);
        uint32_t next = child(state, c);
        while (next == kNone && state != kRoot) {
            state = fail_[state];
            next = child(state, c);
        }
        state = next == kNone ? kRoot : next;
        for (uint32_t t = nextUnfound(state); t != kRoot; t = nextUnfound(t)) {
            const uint32_t id = pattern_[t];
            if (!found[id].found()) {
                found[id] = {j, p + 1 - patterns_[id].size()};
                ++count;
            }
            unfound_[t] = fail_[t];
        }
    }
    return count;
}

void FirstMatchAutomaton::scan(const std::vector<std::string_view>& lines, size_t endLine,
                               std::vector<LinePos>& found, const Pump& pump)
{
    constexpr size_t kPumpLines = 2048;
    size_t unresolved = 0;
    for (size_t i = 0; i < patterns_.size(); ++i) {
        if (!found[i].found() && patterns_[i].empty() && !lines.empty())
            found[i] = {0, 0}; // the empty text occurs at the very start
        if (!found[i].found())
            ++unresolved;
    }
    // Patterns answered before the scan leave the output chains at once.
    for (uint32_t v = 1; v < unfound_.size(); ++v)
        if (pattern_[v] != kNone && found[pattern_[v]].found())
            unfound_[v] = fail_[v];
    for (size_t j = 0; j < endLine && j < lines.size() && unresolved > 0; ++j) {
        if (pump && j % kPumpLines == kPumpLines - 1)
            pump();
        unresolved -= scanLine(lines[j], j, found);
    }
}

} // namespace qmx
