#include "report/occurrence.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cstdint>
#include <cstring>
#include <functional>

namespace qmx {

namespace {

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
// unanswered, so answered ones cost nothing on later hits. A two-bit filter
// in front turns away nearly every text window with a test or two, and a slot
// holds its key, so a probe touches one cache line.
class AnchorTable {
public:
    struct Group {
        uint32_t begin;
        uint32_t alive;
        uint32_t slot;
    };

    void build(std::vector<std::pair<uint64_t, uint32_t>>& entries)
    {
        if (entries.empty())
            return;
        std::sort(entries.begin(), entries.end());
        // Groups are laid out in the order of their smallest id, so a scan
        // that answers queries roughly in id order walks the group and member
        // arrays front to back instead of jumping around them.
        std::vector<std::pair<uint32_t, uint32_t>> runs; // (smallest id, first entry)
        for (size_t i = 0; i < entries.size(); ++i)
            if (i == 0 || entries[i].first != entries[i - 1].first)
                runs.emplace_back(entries[i].second, static_cast<uint32_t>(i));
        std::sort(runs.begin(), runs.end());
        std::vector<uint64_t> keys;
        keys.reserve(runs.size());
        groups_.reserve(runs.size());
        ids_.reserve(entries.size());
        for (const auto& [smallest, first] : runs) {
            groups_.push_back({static_cast<uint32_t>(ids_.size()), 0, 0});
            keys.push_back(entries[first].first);
            for (size_t i = first; i < entries.size() && entries[i].first == entries[first].first; ++i) {
                ++groups_.back().alive;
                ids_.push_back(entries[i].second);
            }
        }
        groupOf_.assign(entries.size(), 0);
        for (size_t g = 0; g < groups_.size(); ++g)
            for (uint32_t k = 0; k < groups_[g].alive; ++k)
                if (ids_[groups_[g].begin + k] < groupOf_.size())
                    groupOf_[ids_[groups_[g].begin + k]] = static_cast<uint32_t>(g);
        slotBits_ = bitsFor(groups_.size() * 2, 4, 30);
        slots_.assign(size_t(1) << slotBits_, Slot{0, 0, 0});
        filterBits_ = bitsFor(groups_.size() * 16 / 64, 4, 26);
        filter_.assign(size_t(1) << filterBits_, 0);
        for (size_t g = 0; g < groups_.size(); ++g) {
            const uint64_t h = mix(keys[g]);
            filter_[filterWord(h)] |= filterMask(h);
            size_t s = static_cast<size_t>(h >> (64 - slotBits_));
            while (slots_[s].group != 0)
                s = (s + 1) & (slots_.size() - 1);
            slots_[s] = Slot{keys[g], static_cast<uint32_t>(g + 1), 1};
            groups_[g].slot = static_cast<uint32_t>(s);
        }
    }

    bool empty() const { return groups_.empty(); }

    // key's hash h is mix(key).
    Group* find(uint64_t key, uint64_t h)
    {
        const uint64_t mask = filterMask(h);
        if ((filter_[filterWord(h)] & mask) != mask)
            return nullptr;
        for (size_t s = static_cast<size_t>(h >> (64 - slotBits_));; s = (s + 1) & (slots_.size() - 1)) {
            const Slot& slot = slots_[s];
            if (slot.group == 0)
                return nullptr;
            if (slot.key == key)
                return slot.alive ? &groups_[slot.group - 1] : nullptr;
        }
    }

    uint32_t* members(Group& g) { return ids_.data() + g.begin; }
    // The group of an entry whose id is below the number of entries.
    Group& groupOf(uint32_t id) { return groups_[groupOf_[id]]; }
    // Marks one alive member of g answered; retires g when none is left.
    void answer(Group& g, uint32_t id)
    {
        uint32_t* ids = members(g);
        for (uint32_t x = 0; x < g.alive; ++x)
            if (ids[x] == id) {
                ids[x] = ids[g.alive - 1];
                ids[g.alive - 1] = id;
                if (--g.alive == 0)
                    retire(g);
                return;
            }
    }
    // Call when g.alive has dropped to 0.
    void retire(const Group& g) { slots_[g.slot].alive = 0; }

private:
    struct Slot {
        uint64_t key;
        uint32_t group; // index + 1; 0 for an empty slot
        uint32_t alive; // 0 once every query of the group is answered
    };
    // The filter keeps both bits of a key in one 64-bit word, so a probe
    // touches one cache line however large the table grows.
    size_t filterWord(uint64_t h) const { return static_cast<size_t>(h & ((uint64_t(1) << filterBits_) - 1)); }
    static uint64_t filterMask(uint64_t h) { return (uint64_t(1) << ((h >> 40) & 63)) | (uint64_t(1) << ((h >> 46) & 63)); }

    std::vector<Group> groups_;
    std::vector<uint32_t> ids_;
    std::vector<uint32_t> groupOf_;
    std::vector<Slot> slots_;
    std::vector<uint64_t> filter_;
    unsigned slotBits_ = 0;
    unsigned filterBits_ = 0;
};

// Groups the queries by text: rep[q] is the group of query q, uniqLine[g]
// the earliest line of group g, and firstQuery[g] (when asked for) the first
// query that named group g.
void groupDuplicates(const std::vector<std::string_view>& lines, const std::vector<size_t>& queryLines,
                     std::vector<uint32_t>& rep, std::vector<size_t>& uniqLine,
                     std::vector<size_t>* firstQuery)
{
    const size_t n = queryLines.size();
    const unsigned bits = bitsFor(n * 2, 4, 31);
    // A slot holds a group number + 1 and 32 more bits of the text's hash,
    // so texts that merely share a slot are told apart without reading them.
    std::vector<uint64_t> slots(size_t(1) << bits, 0);
    const std::hash<std::string_view> hasher;
    for (size_t q = 0; q < n; ++q) {
        const std::string_view text = lines[queryLines[q]];
        const uint64_t h = mix(hasher(text));
        const uint64_t tag = h << 32; // the low half; the slot comes from the high bits
        for (size_t s = h >> (64 - bits);; s = (s + 1) & (slots.size() - 1)) {
            if (slots[s] == 0) {
                uniqLine.push_back(queryLines[q]);
                if (firstQuery)
                    firstQuery->push_back(q);
                slots[s] = tag | static_cast<uint32_t>(uniqLine.size());
                rep[q] = static_cast<uint32_t>(uniqLine.size() - 1);
                break;
            }
            if ((slots[s] & 0xFFFFFFFF00000000ull) != tag)
                continue;
            const uint32_t u = static_cast<uint32_t>(slots[s]) - 1;
            if (lines[uniqLine[u]] == text) {
                uniqLine[u] = std::min(uniqLine[u], queryLines[q]);
                rep[q] = u;
                break;
            }
        }
    }
}

} // namespace

std::vector<LinePos> firstOccurrences(const std::vector<std::string_view>& lines,
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

std::vector<LinePos> firstOccurrences(const std::vector<std::string>& lines,
                                      const std::vector<std::string_view>& patterns)
{
    return firstOccurrences(std::vector<std::string_view>(lines.begin(), lines.end()), patterns);
}

std::vector<LinePos> firstOccurrencesOfMarkedLines(const std::vector<std::string_view>& lines,
                                                   const std::vector<size_t>& queryLines,
                                                   const std::vector<std::string_view>& markers,
                                                   const Pump& pump)
{
    constexpr size_t kPumpLines = 2048;
    constexpr size_t kBefore = 8; // bytes taken before a marker
    constexpr size_t kAfter = 16; // and after it
    const size_t n = queryLines.size();
    std::vector<LinePos> result(n);
    if (n == 0)
        return result;

    std::vector<uint32_t> rep(n);
    std::vector<size_t> uniqLine, firstQuery;
    groupDuplicates(lines, queryLines, rep, uniqLine, &firstQuery);
    const size_t u = uniqLine.size();

    // The distinct markers, and for each query the place of its marker's
    // first occurrence and how many bytes it has before and after it (up to
    // kBefore and kAfter). An occurrence of the query in the text has the marker at
    // its column + that place, so only the text's marker occurrences need
    // looking at, each under the (before, after) widths that queries use.
    std::vector<std::string_view> markerTexts;
    std::vector<uint8_t> markerOf(u);
    std::vector<uint32_t> markerAt(u);
    std::vector<std::array<bool, (kBefore + 1) * (kAfter + 1)>> widths;
    std::vector<std::pair<uint64_t, uint32_t>> entries;
    entries.reserve(u);
    auto keyOf = [](size_t mk, const char* before, size_t b, const char* after, size_t a) {
        const uint64_t tail = a > 8 ? mix(load8(after) + a) ^ loadShort(after + 8, a - 8) : loadShort(after, a);
        return mix(loadShort(before, b) ^ (uint64_t(mk) << 60)) ^ (mix(tail) * 3);
    };
    size_t lastLine = 0;
    for (size_t i = 0; i < u; ++i) {
        const std::string_view m = markers[firstQuery[i]];
        size_t mk = 0;
        while (mk < markerTexts.size() && markerTexts[mk] != m)
            ++mk;
        if (mk == markerTexts.size()) {
            markerTexts.push_back(m);
            widths.emplace_back();
        }
        const std::string_view q = lines[uniqLine[i]];
        const size_t at = q.find(m);
        const size_t b = std::min(kBefore, at);
        const size_t a = std::min(kAfter, q.size() - at - m.size());
        markerOf[i] = static_cast<uint8_t>(mk);
        markerAt[i] = static_cast<uint32_t>(at);
        widths[mk][b * (kAfter + 1) + a] = true;
        entries.emplace_back(keyOf(mk, q.data() + at - b, b, q.data() + at + m.size(), a), static_cast<uint32_t>(i));
        lastLine = std::max(lastLine, uniqLine[i]);
    }
    std::vector<std::vector<std::pair<size_t, size_t>>> widthList(markerTexts.size());
    for (size_t mk = 0; mk < markerTexts.size(); ++mk)
        for (size_t b = 0; b <= kBefore; ++b)
            for (size_t a = 0; a <= kAfter; ++a)
                if (widths[mk][b * (kAfter + 1) + a])
                    widthList[mk].emplace_back(b, a);

    AnchorTable table;
    table.build(entries);
    entries = {};

    std::vector<LinePos> found(u);
    std::vector<bool> answered(u, false);
    size_t unresolved = u;
    // The queries in the order of their own lines.
    std::vector<uint32_t> byLine(u);
    for (size_t i = 0; i < u; ++i)
        byLine[i] = static_cast<uint32_t>(i);
    std::sort(byLine.begin(), byLine.end(), [&](uint32_t x, uint32_t y) { return uniqLine[x] < uniqLine[y]; });
    size_t nextOwn = 0;

    // Lines in order, and within a line a query's marker occurrences in
    // order of column, so the first verified hit of a query is its answer.
    for (size_t j = 0; j <= lastLine && unresolved > 0; ++j) {
        if (pump && j % kPumpLines == kPumpLines - 1)
            pump();
        const std::string_view line = lines[j];
        // A query not found before its own line is found there, at column 0,
        // the earliest place in that line: no look-up needed. Its own marker
        // place then needs no look-up either, unless another query shares
        // its key.
        uint32_t own = UINT32_MAX;
        if (nextOwn < u && uniqLine[byLine[nextOwn]] == j) {
            own = byLine[nextOwn++];
            if (!answered[own]) {
                found[own] = {j, 0};
                answered[own] = true;
                --unresolved;
                table.answer(table.groupOf(own), own);
            }
        }
        for (size_t mk = 0; mk < markerTexts.size(); ++mk) {
            const std::string_view m = markerTexts[mk];
            for (size_t t = line.find(m); t != std::string_view::npos; t = line.find(m, t + 1)) {
                for (const auto& [b, a] : widthList[mk]) {
                    if (t < b || t + m.size() + a > line.size())
                        continue;
                    AnchorTable::Group* g = nullptr;
                    if (own != UINT32_MAX && mk == markerOf[own] && t == markerAt[own] &&
                        b == std::min(kBefore, size_t(markerAt[own])) &&
                        a == std::min(kAfter, line.size() - t - m.size())) {
                        g = &table.groupOf(own);
                    } else {
                        const uint64_t key = keyOf(mk, line.data() + t - b, b, line.data() + t + m.size(), a);
                        g = table.find(key, mix(key));
                    }
                    if (!g || g->alive == 0)
                        continue;
                    uint32_t* ids = table.members(*g);
                    for (uint32_t x = 0; x < g->alive;) {
                        const uint32_t id = ids[x];
                        const std::string_view q = lines[uniqLine[id]];
                        const size_t at = markerAt[id];
                        if (markerOf[id] == mk && t >= at && t - at + q.size() <= line.size() &&
                            std::memcmp(line.data() + t - at, q.data(), q.size()) == 0) {
                            found[id] = {j, t - at};
                            answered[id] = true;
                            --unresolved;
                            ids[x] = ids[g->alive - 1];
                            ids[g->alive - 1] = id;
                            if (--g->alive == 0)
                                table.retire(*g);
                        } else {
                            ++x;
                        }
                    }
                }
            }
        }
    }

    for (size_t q = 0; q < n; ++q)
        result[q] = found[rep[q]];
    return result;
}

} // namespace qmx
