#include "core/report/occurrence.h"

#include "core/report/firstmatch.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cstdint>
#include <cstring>
#include <functional>

namespace qmx {

namespace {

// The preparation passes call the pump after this many queries.
constexpr size_t kPumpQueries = 16384;

inline uint64_t load8(const char* p)
{
    uint64_t w;
    std::memcpy(&w, p, 8);
    return w;
}

inline uint64_t loadShort(const char* p, size_t n)
{
    // Nearly every key takes eight bytes: a fixed-size load, not a call.
    if (n == 8)
        return load8(p) | (uint64_t(8) << 56);
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
    };

    // entries hold (key, id) with the ids 0, 1, 2, ... in order.
    void build(const std::vector<std::pair<uint64_t, uint32_t>>& entries, const Pump& pump)
    {
        if (entries.empty())
            return;
        // Groups are made in the order of their smallest id, so a scan that
        // answers queries roughly in id order walks the group and member
        // arrays front to back instead of jumping around them. Taking the
        // entries in id order gives that order, and each group's members in
        // id order, without sorting.
        slotBits_ = bitsFor(entries.size() * 2, 4, 30);
        slots_.assign(size_t(1) << slotBits_, Slot{0, 0});
        std::vector<uint32_t> groupOfEntry(entries.size());
        std::vector<uint64_t> keys;
        constexpr size_t kAhead = 16; // slots are fetched this many entries ahead
        for (size_t i = 0; i < entries.size(); ++i) {
            if (pump && i % kPumpQueries == kPumpQueries - 1)
                pump();
            if (i + kAhead < entries.size())
                __builtin_prefetch(&slots_[static_cast<size_t>(mix(entries[i + kAhead].first)
                                                               >> (64 - slotBits_))]);
            const uint64_t key = entries[i].first;
            size_t s = static_cast<size_t>(mix(key) >> (64 - slotBits_));
            while (slots_[s].group != 0 && slots_[s].key != key)
                s = (s + 1) & (slots_.size() - 1);
            if (slots_[s].group == 0) {
                groups_.push_back({0, 0});
                keys.push_back(key);
                slots_[s] = Slot{key, static_cast<uint32_t>(groups_.size())};
            }
            const uint32_t g = slots_[s].group - 1;
            ++groups_[g].alive;
            groupOfEntry[i] = g;
        }
        uint32_t begin = 0;
        for (Group& g : groups_) {
            g.begin = begin;
            begin += g.alive;
        }
        ids_.resize(entries.size());
        std::vector<uint32_t> filled(groups_.size(), 0);
        for (size_t i = 0; i < entries.size(); ++i) {
            const uint32_t g = groupOfEntry[i];
            ids_[groups_[g].begin + filled[g]++] = entries[i].second;
        }
        groupOf_.assign(entries.size(), 0);
        for (size_t i = 0; i < entries.size(); ++i)
            if (entries[i].second < groupOf_.size())
                groupOf_[entries[i].second] = groupOfEntry[i];
        filterBits_ = bitsFor(groups_.size() * 16 / 64, 4, 26);
        filter_.assign(size_t(1) << filterBits_, 0);
        for (const uint64_t key : keys) {
            const uint64_t h = mix(key);
            filter_[filterWord(h)] |= filterMask(h);
        }
    }

    bool empty() const { return groups_.empty(); }

    // key's hash h is mix(key).
    Group* find(uint64_t key, uint64_t h)
    {
        const uint64_t mask = filterMask(h);
        if ((filter_[filterWord(h)] & mask) != mask)
            return nullptr;
        for (size_t s = static_cast<size_t>(h >> (64 - slotBits_));;
             s = (s + 1) & (slots_.size() - 1)) {
            const Slot& slot = slots_[s];
            if (slot.group == 0)
                return nullptr;
            if (slot.key == key) {
                Group& g = groups_[slot.group - 1];
                return g.alive ? &g : nullptr;
            }
        }
    }

    uint32_t* members(Group& g) { return ids_.data() + g.begin; }
    // The group of an entry whose id is below the number of entries.
    Group& groupOf(uint32_t id) { return groups_[groupOf_[id]]; }
    // Marks one alive member of g answered; a group with none left is
    // passed over by find.
    void answer(Group& g, uint32_t id)
    {
        uint32_t* ids = members(g);
        for (uint32_t x = 0; x < g.alive; ++x)
            if (ids[x] == id) {
                ids[x] = ids[g.alive - 1];
                ids[g.alive - 1] = id;
                --g.alive;
                return;
            }
    }

private:
    struct Slot {
        uint64_t key;
        uint32_t group; // index + 1; 0 for an empty slot
    };
    // The filter keeps both bits of a key in one 64-bit word, so a probe
    // touches one cache line however large the table grows.
    size_t filterWord(uint64_t h) const
    {
        return static_cast<size_t>(h & ((uint64_t(1) << filterBits_) - 1));
    }
    static uint64_t filterMask(uint64_t h)
    {
        return (uint64_t(1) << ((h >> 40) & 63)) | (uint64_t(1) << ((h >> 46) & 63));
    }

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
void groupDuplicates(const std::vector<std::string_view>& lines,
                     const std::vector<size_t>& queryLines, std::vector<uint32_t>& rep,
                     std::vector<size_t>& uniqLine, std::vector<size_t>* firstQuery,
                     const Pump& pump)
{
    const size_t n = queryLines.size();
    const unsigned bits = bitsFor(n * 2, 4, 31);
    // A slot holds a group number + 1 and 32 more bits of the text's hash,
    // so texts that merely share a slot are told apart without reading them.
    std::vector<uint64_t> slots(size_t(1) << bits, 0);
    const std::hash<std::string_view> hasher;
    // The hashes are taken a few queries ahead and their slots fetched, so
    // a large table's cache misses overlap instead of coming one by one.
    constexpr size_t kAhead = 8;
    std::array<uint64_t, kAhead> ahead{};
    const auto hashOf = [&](size_t q) { return mix(hasher(lines[queryLines[q]])); };
    for (size_t q = 0; q < std::min(n, kAhead); ++q) {
        ahead[q] = hashOf(q);
        __builtin_prefetch(&slots[ahead[q] >> (64 - bits)]);
    }
    for (size_t q = 0; q < n; ++q) {
        if (pump && q % kPumpQueries == kPumpQueries - 1)
            pump();
        const std::string_view text = lines[queryLines[q]];
        const uint64_t h = ahead[q % kAhead];
        if (q + kAhead < n) {
            ahead[q % kAhead] = hashOf(q + kAhead);
            __builtin_prefetch(&slots[ahead[q % kAhead] >> (64 - bits)]);
        }
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

constexpr size_t kPumpLines = 2048;
constexpr size_t kBefore = 8; // bytes taken before a marker
constexpr size_t kAfter = 8;  // and after it

// The key of a marker occurrence: which marker, up to kBefore bytes before
// it and up to kAfter bytes after it.
uint64_t markerKey(size_t mk, const char* before, size_t b, const char* after, size_t a)
{
    const uint64_t tail =
        a > 8 ? mix(load8(after) + a) ^ loadShort(after + 8, a - 8) : loadShort(after, a);
    return mix(loadShort(before, b) ^ (uint64_t(mk) << 60)) ^ (mix(tail) * 3);
}

// The search through marker texts over the distinct queries. For each query
// the place of its marker's first occurrence and how many bytes it has
// before and after it (up to kBefore and kAfter) give a key; an occurrence
// of the query in the text has the marker at its column + that place, so
// only the text's marker occurrences need looking at, each under the
// (before, after) widths that queries use, and a key match is verified in
// full. Lines are taken in order, and within a line a query's marker
// occurrences in order of column, so the first verified hit of a query is
// its answer. Every look-up and verification is charged to a budget; when it
// runs out the search stops with the answers found so far, each final.
class MarkerSearch {
public:
    MarkerSearch(const std::vector<std::string_view>& lines, const std::vector<size_t>& uniqLine,
                 const std::vector<std::string_view>& uniqMarker, uint64_t budget, const Pump& pump)
        : lines_(lines), uniqLine_(uniqLine), budget_(budget)
    {
        prepareQueries(uniqMarker, pump);
    }

    std::vector<LinePos> run(const Pump& pump)
    {
        // Markers are looked for by their first byte: one memchr pass over a
        // line per distinct first byte, not one pass per marker.
        std::array<std::vector<uint8_t>, 256> byFirst;
        std::vector<size_t> emptyMarkers;
        for (size_t mk = 0; mk < markerTexts_.size(); ++mk) {
            if (markerTexts_[mk].empty())
                emptyMarkers.push_back(mk);
            else
                byFirst[static_cast<unsigned char>(markerTexts_[mk][0])].push_back(
                    static_cast<uint8_t>(mk));
        }
        std::vector<unsigned char> firstBytes;
        for (size_t c = 0; c < byFirst.size(); ++c)
            if (!byFirst[c].empty())
                firstBytes.push_back(static_cast<unsigned char>(c));

        for (size_t j = 0; j <= lastLine_ && unresolved_ > 0 && !exhausted(); ++j) {
            if (pump && j % kPumpLines == kPumpLines - 1)
                pump();
            const uint32_t own = answerOwnLine(j);
            const std::string_view line = lines_[j];
            const char* const end = line.data() + line.size();
            for (const unsigned char c : firstBytes) {
                for (const char* at = line.data(); !exhausted()
                                                   && (at = static_cast<const char*>(std::memchr(
                                                           at, c, static_cast<size_t>(end - at))));
                     ++at) {
                    const size_t t = static_cast<size_t>(at - line.data());
                    const size_t left = static_cast<size_t>(end - at);
                    for (const uint8_t mk : byFirst[c]) {
                        // The second byte turns most candidates away without a call.
                        const std::string_view m = markerTexts_[mk];
                        if (m.size() <= left && (m.size() < 2 || at[1] == m[1])
                            && std::memcmp(at, m.data(), m.size()) == 0)
                            atMarker(j, mk, t, own);
                    }
                }
            }
            for (const size_t mk : emptyMarkers)
                for (size_t t = 0; t <= line.size() && !exhausted(); ++t)
                    atMarker(j, mk, t, own);
        }
        return std::move(found_);
    }

    bool exhausted() const { return spent_ > budget_; }

private:
    void prepareQueries(const std::vector<std::string_view>& uniqMarker, const Pump& pump);
    uint32_t answerOwnLine(size_t j);
    void atMarker(size_t j, size_t mk, size_t t, uint32_t own);
    void verifyGroup(AnchorTable::Group& g, size_t j, size_t mk, size_t t);

    const std::vector<std::string_view>& lines_;
    const std::vector<size_t>& uniqLine_;
    std::vector<std::string_view> markerTexts_;
    std::vector<std::vector<std::pair<size_t, size_t>>> widthList_;
    std::vector<uint8_t> markerOf_;
    std::vector<uint32_t> markerAt_;
    AnchorTable table_;
    std::vector<LinePos> found_;
    std::vector<uint32_t> byLine_; // the queries in the order of their own lines
    size_t nextOwn_ = 0;
    size_t unresolved_ = 0;
    size_t lastLine_ = 0;
    uint64_t budget_;
    uint64_t spent_ = 0;
};

void MarkerSearch::prepareQueries(const std::vector<std::string_view>& uniqMarker, const Pump& pump)
{
    const size_t u = uniqLine_.size();
    markerOf_.resize(u);
    markerAt_.resize(u);
    std::vector<std::array<bool, (kBefore + 1) * (kAfter + 1)>> widths;
    std::vector<std::pair<uint64_t, uint32_t>> entries;
    entries.reserve(u);
    for (size_t i = 0; i < u; ++i) {
        if (pump && i % kPumpQueries == kPumpQueries - 1)
            pump();
        const std::string_view m = uniqMarker[i];
        size_t mk = 0;
        while (mk < markerTexts_.size() && markerTexts_[mk] != m)
            ++mk;
        if (mk == markerTexts_.size()) {
            markerTexts_.push_back(m);
            widths.emplace_back();
        }
        const std::string_view q = lines_[uniqLine_[i]];
        const size_t at = q.find(m);
        const size_t b = std::min(kBefore, at);
        const size_t a = std::min(kAfter, q.size() - at - m.size());
        markerOf_[i] = static_cast<uint8_t>(mk);
        markerAt_[i] = static_cast<uint32_t>(at);
        widths[mk][b * (kAfter + 1) + a] = true;
        entries.emplace_back(markerKey(mk, q.data() + at - b, b, q.data() + at + m.size(), a),
                             static_cast<uint32_t>(i));
        lastLine_ = std::max(lastLine_, uniqLine_[i]);
    }
    widthList_.resize(markerTexts_.size());
    for (size_t mk = 0; mk < markerTexts_.size(); ++mk)
        for (size_t b = 0; b <= kBefore; ++b)
            for (size_t a = 0; a <= kAfter; ++a)
                if (widths[mk][b * (kAfter + 1) + a])
                    widthList_[mk].emplace_back(b, a);
    table_.build(entries, pump);
    found_.assign(u, LinePos{});
    unresolved_ = u;
    byLine_.resize(u);
    for (size_t i = 0; i < u; ++i)
        byLine_[i] = static_cast<uint32_t>(i);
    // The queries usually come in line order already.
    const auto byOwnLine = [&](uint32_t x, uint32_t y) { return uniqLine_[x] < uniqLine_[y]; };
    if (!std::is_sorted(byLine_.begin(), byLine_.end(), byOwnLine))
        std::sort(byLine_.begin(), byLine_.end(), byOwnLine);
}

// A query not found before its own line is found there, at column 0, the
// earliest place in that line: no look-up needed. Returns that query (its
// own marker place then needs no look-up either, unless another query
// shares its key), or UINT32_MAX when no query has this line.
uint32_t MarkerSearch::answerOwnLine(size_t j)
{
    if (nextOwn_ >= byLine_.size() || uniqLine_[byLine_[nextOwn_]] != j)
        return UINT32_MAX;
    const uint32_t own = byLine_[nextOwn_++];
    if (!found_[own].found()) {
        found_[own] = {j, 0};
        --unresolved_;
        table_.answer(table_.groupOf(own), own);
    }
    return own;
}

// Looks up the queries that could hold marker mk's occurrence at column t
// of line j, under each (before, after) width that the marker's queries use.
void MarkerSearch::atMarker(size_t j, size_t mk, size_t t, uint32_t own)
{
    const std::string_view line = lines_[j];
    const std::string_view m = markerTexts_[mk];
    for (const auto& [b, a] : widthList_[mk]) {
        if (t < b || t + m.size() + a > line.size())
            continue;
        ++spent_;
        AnchorTable::Group* g = nullptr;
        if (own != UINT32_MAX && mk == markerOf_[own] && t == markerAt_[own]
            && b == std::min(kBefore, size_t(markerAt_[own]))
            && a == std::min(kAfter, line.size() - t - m.size())) {
            g = &table_.groupOf(own);
        } else {
            const uint64_t key =
                markerKey(mk, line.data() + t - b, b, line.data() + t + m.size(), a);
            g = table_.find(key, mix(key));
        }
        if (g && g->alive != 0)
            verifyGroup(*g, j, mk, t);
    }
}

// Verifies the alive members of g against the marker occurrence at column
// t of line j, and answers those that match.
void MarkerSearch::verifyGroup(AnchorTable::Group& g, size_t j, size_t mk, size_t t)
{
    const std::string_view line = lines_[j];
    uint32_t* ids = table_.members(g);
    for (uint32_t x = 0; x < g.alive;) {
        const uint32_t id = ids[x];
        const std::string_view q = lines_[uniqLine_[id]];
        const size_t at = markerAt_[id];
        spent_ += 1 + q.size() / 16;
        if (markerOf_[id] == mk && t >= at && t - at + q.size() <= line.size()
            && std::memcmp(line.data() + t - at, q.data(), q.size()) == 0) {
            found_[id] = {j, t - at};
            --unresolved_;
            ids[x] = ids[g.alive - 1];
            ids[g.alive - 1] = id;
            --g.alive;
        } else {
            ++x;
        }
    }
}

// Answers the distinct queries the marker search left open, with the
// automaton, from the first line on.
void answerTheRest(const std::vector<std::string_view>& lines, const std::vector<size_t>& uniqLine,
                   std::vector<LinePos>& found, const Pump& pump)
{
    std::vector<std::string_view> open;
    std::vector<size_t> openIndex;
    size_t endLine = 0;
    for (size_t i = 0; i < uniqLine.size(); ++i)
        if (!found[i].found()) {
            open.push_back(lines[uniqLine[i]]);
            openIndex.push_back(i);
            endLine = std::max(endLine, uniqLine[i] + 1);
        }
    std::vector<LinePos> openFound(open.size());
    FirstMatchAutomaton(open).scan(lines, endLine, openFound, pump);
    for (size_t k = 0; k < open.size(); ++k)
        found[openIndex[k]] = openFound[k];
}

} // namespace

std::vector<LinePos> firstOccurrences(const std::vector<std::string_view>& lines,
                                      const std::vector<std::string_view>& patterns,
                                      const Pump& pump)
{
    // Candidates are chained by their first two bytes (one-byte patterns by
    // their only byte), so a text position costs one table look-up. When
    // every pattern starts with the same byte, memchr skips to its next
    // occurrence instead of visiting each byte.
    std::vector<LinePos> result(patterns.size());
    std::vector<uint32_t> head(65536 + 256, 0); // pair heads, then one-byte heads
    std::vector<uint32_t> next(patterns.size(), 0);
    std::array<bool, 256> firstBytes{};
    size_t unresolved = 0;
    for (size_t i = patterns.size(); i-- > 0;) {
        const std::string_view pat = patterns[i];
        if (pat.empty()) {
            if (!lines.empty())
                result[i] = {0, 0};
            continue;
        }
        const unsigned char c0 = static_cast<unsigned char>(pat[0]);
        const size_t slot =
            pat.size() == 1 ? 65536 + c0 : (size_t(c0) << 8) | static_cast<unsigned char>(pat[1]);
        next[i] = head[slot];
        head[slot] = static_cast<uint32_t>(i + 1);
        firstBytes[c0] = true;
        ++unresolved;
    }
    int distinctFirst = 0;
    unsigned char onlyFirst = 0;
    for (size_t c = 0; c < 256; ++c)
        if (firstBytes[c]) {
            ++distinctFirst;
            onlyFirst = static_cast<unsigned char>(c);
        }
    const auto tryChain = [&](uint32_t h, std::string_view s, size_t p, size_t j) {
        for (; h != 0; h = next[h - 1]) {
            const size_t i = h - 1;
            if (result[i].found())
                continue;
            const std::string_view pat = patterns[i];
            if (s.size() - p >= pat.size() && s.compare(p, pat.size(), pat) == 0) {
                result[i] = {j, p};
                --unresolved;
            }
        }
    };
    for (size_t j = 0; j < lines.size() && unresolved > 0; ++j) {
        if (pump && j % 4096 == 4095)
            pump();
        const std::string_view s = lines[j];
        for (size_t p = 0; p < s.size() && unresolved > 0; ++p) {
            if (distinctFirst == 1) {
                const void* at = std::memchr(s.data() + p, onlyFirst, s.size() - p);
                if (!at)
                    break;
                p = static_cast<size_t>(static_cast<const char*>(at) - s.data());
            }
            const unsigned char c0 = static_cast<unsigned char>(s[p]);
            if (!firstBytes[c0])
                continue;
            tryChain(head[65536 + c0], s, p, j);
            if (p + 1 < s.size())
                tryChain(head[(size_t(c0) << 8) | static_cast<unsigned char>(s[p + 1])], s, p, j);
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
    const size_t n = queryLines.size();
    std::vector<LinePos> result(n);
    if (n == 0)
        return result;

    std::vector<uint32_t> rep(n);
    std::vector<size_t> uniqLine, firstQuery;
    groupDuplicates(lines, queryLines, rep, uniqLine, &firstQuery, pump);
    std::vector<std::string_view> uniqMarker(uniqLine.size());
    for (size_t i = 0; i < uniqLine.size(); ++i)
        uniqMarker[i] = markers[firstQuery[i]];

    // The marker search is fast on reports as they come, but lines made of
    // one marker repeated give it work that grows with the square of their
    // number. Its work is capped at a few units per text byte; past that
    // the automaton, whose work has a bound whatever the text, answers the
    // rest.
    uint64_t textBytes = 0;
    for (const std::string_view line : lines)
        textBytes += line.size() + 2;
    MarkerSearch search(lines, uniqLine, uniqMarker, 8 * textBytes + 65536, pump);
    std::vector<LinePos> found = search.run(pump);
    if (search.exhausted())
        answerTheRest(lines, uniqLine, found, pump);

    for (size_t q = 0; q < n; ++q)
        result[q] = found[rep[q]];
    return result;
}

} // namespace qmx
