#include "report/occurrence.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <functional>

namespace qmx {

namespace {

constexpr size_t kAnchor = 8;

inline uint64_t load8(const char* p)
{
    uint64_t w;
    std::memcpy(&w, p, 8);
    return w;
}

inline uint64_t loadShort(const char* p, size_t n)
{
    uint64_t w = 0;
    std::memcpy(&w, p, n);
    return w | (static_cast<uint64_t>(n) << 56);
}

inline uint64_t mix(uint64_t w)
{
    w ^= w >> 31;
    w *= 0x9E3779B97F4A7C15ull;
    w ^= w >> 29;
    return w;
}

unsigned bitsFor(size_t n, unsigned lo, unsigned hi)
{
    unsigned b = lo;
    while (b < hi && (size_t(1) << b) < n)
        ++b;
    return b;
}

// Exact 64-bit keys, each with the group of queries that share it. Members
// of a group are kept in one array; the first `alive` of them are still
// unanswered, so answered ones cost nothing on later hits. A bit filter in
// front turns away most text windows with a single test.
class AnchorTable {
public:
    struct Group {
        uint64_t key;
        uint32_t begin;
        uint32_t alive;
    };

    void build(std::vector<std::pair<uint64_t, uint32_t>>& entries)
    {
        if (entries.empty())
            return;
        std::sort(entries.begin(), entries.end());
        ids_.reserve(entries.size());
        for (size_t i = 0; i < entries.size(); ++i) {
            if (i == 0 || entries[i].first != entries[i - 1].first)
                groups_.push_back({entries[i].first, static_cast<uint32_t>(i), 0});
            ++groups_.back().alive;
            ids_.push_back(entries[i].second);
        }
        slotBits_ = bitsFor(groups_.size() * 2, 4, 30);
        slots_.assign(size_t(1) << slotBits_, 0);
        filterBits_ = bitsFor(groups_.size() * 16, 10, 27);
        filter_.assign((size_t(1) << filterBits_) / 64 + 1, 0);
        const uint64_t fmask = (uint64_t(1) << filterBits_) - 1;
        for (size_t g = 0; g < groups_.size(); ++g) {
            const uint64_t h = mix(groups_[g].key);
            filter_[(h & fmask) >> 6] |= uint64_t(1) << (h & 63);
            size_t s = static_cast<size_t>(h >> (64 - slotBits_));
            while (slots_[s] != 0)
                s = (s + 1) & (slots_.size() - 1);
            slots_[s] = static_cast<uint32_t>(g + 1);
        }
    }

    bool empty() const { return groups_.empty(); }

    Group* find(uint64_t key)
    {
        const uint64_t h = mix(key);
        const uint64_t fbit = h & ((uint64_t(1) << filterBits_) - 1);
        if (!((filter_[fbit >> 6] >> (fbit & 63)) & 1))
            return nullptr;
        for (size_t s = static_cast<size_t>(h >> (64 - slotBits_));; s = (s + 1) & (slots_.size() - 1)) {
            const uint32_t g = slots_[s];
            if (g == 0)
                return nullptr;
            if (groups_[g - 1].key == key)
                return groups_[g - 1].alive ? &groups_[g - 1] : nullptr;
        }
    }

    uint32_t* members(Group& g) { return ids_.data() + g.begin; }

private:
    std::vector<Group> groups_;
    std::vector<uint32_t> ids_;
    std::vector<uint32_t> slots_;
    std::vector<uint64_t> filter_;
    unsigned slotBits_ = 0;
    unsigned filterBits_ = 0;
};

} // namespace

std::vector<LinePos> firstOccurrencesOfLines(const std::vector<std::string>& lines,
                                             const std::vector<size_t>& queryLines)
{
    const size_t n = queryLines.size();
    std::vector<LinePos> result(n);
    if (n == 0)
        return result;

    // Exact duplicates share one answer: group the queries by text, each
    // group represented by its earliest line.
    std::vector<uint32_t> rep(n);
    std::vector<size_t> uniqLine;
    {
        const unsigned bits = bitsFor(n * 2, 4, 31);
        std::vector<uint32_t> slots(size_t(1) << bits, 0);
        const std::hash<std::string_view> hasher;
        for (size_t q = 0; q < n; ++q) {
            const std::string_view text = lines[queryLines[q]];
            size_t s = mix(hasher(text)) >> (64 - bits);
            for (;; s = (s + 1) & (slots.size() - 1)) {
                if (slots[s] == 0) {
                    uniqLine.push_back(queryLines[q]);
                    slots[s] = static_cast<uint32_t>(uniqLine.size());
                    rep[q] = static_cast<uint32_t>(uniqLine.size() - 1);
                    break;
                }
                const uint32_t u = slots[s] - 1;
                if (std::string_view(lines[uniqLine[u]]) == text) {
                    uniqLine[u] = std::min(uniqLine[u], queryLines[q]);
                    rep[q] = u;
                    break;
                }
            }
        }
    }

    const size_t u = uniqLine.size();
    std::vector<LinePos> found(u);
    size_t lastLine = 0;
    size_t totalBytes = 0;
    bool anyLong = false;
    size_t unresolved = 0;
    for (size_t i = 0; i < u; ++i) {
        lastLine = std::max(lastLine, uniqLine[i]);
        const size_t m = lines[uniqLine[i]].size();
        if (m == 0)
            found[i] = {0, 0}; // the empty text occurs at the very start
        else
            ++unresolved;
        anyLong = anyLong || m >= kAnchor;
    }
    for (size_t j = 0; j <= lastLine; ++j)
        totalBytes += lines[j].size();

    // Pick each long query's anchor: its 8-byte window that is rarest in the
    // text, so few text positions need verifying.
    std::vector<uint32_t> anchorOffset(u, 0);
    std::vector<std::pair<uint64_t, uint32_t>> longEntries, shortEntries;
    if (anyLong) {
        const unsigned bits = bitsFor(totalBytes, 12, 22);
        std::vector<uint16_t> counts(size_t(1) << bits, 0);
        for (size_t j = 0; j <= lastLine; ++j) {
            const std::string& s = lines[j];
            for (size_t p = 0; p + kAnchor <= s.size(); ++p) {
                uint16_t& c = counts[mix(load8(s.data() + p)) >> (64 - bits)];
                if (c != UINT16_MAX)
                    ++c;
            }
        }
        for (size_t i = 0; i < u; ++i) {
            const std::string& q = lines[uniqLine[i]];
            if (q.size() < kAnchor)
                continue;
            uint32_t best = UINT32_MAX;
            for (size_t a = 0; a + kAnchor <= q.size(); ++a) {
                const uint32_t c = counts[mix(load8(q.data() + a)) >> (64 - bits)];
                if (c < best) {
                    best = c;
                    anchorOffset[i] = static_cast<uint32_t>(a);
                }
            }
            longEntries.emplace_back(load8(q.data() + anchorOffset[i]), static_cast<uint32_t>(i));
        }
    }
    std::array<bool, 256> shortFirst{};
    unsigned shortLengths = 0;
    for (size_t i = 0; i < u; ++i) {
        const std::string& q = lines[uniqLine[i]];
        if (q.empty() || q.size() >= kAnchor)
            continue;
        shortEntries.emplace_back(loadShort(q.data(), q.size()), static_cast<uint32_t>(i));
        shortFirst[static_cast<unsigned char>(q[0])] = true;
        shortLengths |= 1u << q.size();
    }

    AnchorTable longTable, shortTable;
    longTable.build(longEntries);
    shortTable.build(shortEntries);
    longEntries = {};
    shortEntries = {};

    // One scan of the text. Within a line, candidates of one query turn up
    // in order of their start column, and every query is answered at its own
    // line at the latest, so the first hit is the answer.
    for (size_t j = 0; j <= lastLine && unresolved > 0; ++j) {
        const std::string& line = lines[j];
        const char* s = line.data();
        const size_t len = line.size();
        for (size_t p = 0; p < len; ++p) {
            if (p + kAnchor <= len && !longTable.empty()) {
                if (AnchorTable::Group* g = longTable.find(load8(s + p))) {
                    uint32_t* ids = longTable.members(*g);
                    for (uint32_t x = 0; x < g->alive;) {
                        const uint32_t id = ids[x];
                        const std::string& q = lines[uniqLine[id]];
                        const size_t a = anchorOffset[id];
                        if (p >= a && p - a + q.size() <= len &&
                            std::memcmp(s + p - a, q.data(), q.size()) == 0) {
                            found[id] = {j, p - a};
                            --unresolved;
                            ids[x] = ids[g->alive - 1];
                            ids[g->alive - 1] = id;
                            --g->alive;
                        } else {
                            ++x;
                        }
                    }
                }
            }
            if (shortFirst[static_cast<unsigned char>(s[p])]) {
                for (size_t m = 1; m < kAnchor && p + m <= len; ++m) {
                    if (!(shortLengths & (1u << m)))
                        continue;
                    if (AnchorTable::Group* g = shortTable.find(loadShort(s + p, m))) {
                        const uint32_t* ids = shortTable.members(*g);
                        for (uint32_t x = 0; x < g->alive; ++x)
                            found[ids[x]] = {j, p};
                        unresolved -= g->alive;
                        g->alive = 0;
                    }
                }
            }
        }
    }

    for (size_t q = 0; q < n; ++q)
        result[q] = found[rep[q]];
    return result;
}

std::vector<LinePos> firstOccurrences(const std::vector<std::string>& lines,
                                      const std::vector<std::string_view>& patterns)
{
    std::vector<LinePos> result(patterns.size());
    std::array<std::vector<size_t>, 256> byFirst;
    size_t unresolved = 0;
    for (size_t i = 0; i < patterns.size(); ++i) {
        if (patterns[i].empty()) {
            if (!lines.empty())
                result[i] = {0, 0};
            continue;
        }
        byFirst[static_cast<unsigned char>(patterns[i][0])].push_back(i);
        ++unresolved;
    }
    for (size_t j = 0; j < lines.size() && unresolved > 0; ++j) {
        const std::string_view s = lines[j];
        for (size_t p = 0; p < s.size() && unresolved > 0; ++p) {
            const auto& candidates = byFirst[static_cast<unsigned char>(s[p])];
            for (size_t i : candidates) {
                if (result[i].found())
                    continue;
                const std::string_view pat = patterns[i];
                if (s.size() - p >= pat.size() && s.compare(p, pat.size(), pat) == 0) {
                    result[i] = {j, p};
                    --unresolved;
                }
            }
        }
    }
    return result;
}

} // namespace qmx
