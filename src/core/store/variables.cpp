#include "core/store/variables.h"

#include <algorithm>
#include <cstring>

namespace qmx {

namespace {

constexpr size_t kChunk = 1 << 20;
constexpr size_t kBlock = 32;              // handles per block of sorted_
constexpr size_t kSuper = kBlock * kBlock; // handles per group of blocks
constexpr uint32_t kNone = UINT32_MAX;

bool startsWith(std::string_view text, std::string_view prefix)
{
    return text.size() >= prefix.size() && text.compare(0, prefix.size(), prefix) == 0;
}

} // namespace

VariableList::VariableList(const VariableList& other)
{
    *this = other;
}

VariableList& VariableList::operator=(const VariableList& other)
{
    if (this == &other)
        return *this;
    clear();
    lookup_ = other.lookup_;
    // A copy of a small list gets one chunk of its size, not a full one.
    size_t total = 0;
    for (const Slot& s : other.slots_)
        total += s.dead ? 0 : s.len;
    if (total > 0 && total < kChunk) {
        chunks_.push_back(std::make_unique_for_overwrite<char[]>(total));
        chunkSize_ = total;
    }
    // Handles must stay the same in the copy, erased ones included.
    slots_.reserve(other.slots_.size());
    for (size_t id = 0; id < other.slots_.size(); ++id) {
        const Slot& s = other.slots_[id];
        Slot n;
        n.dead = s.dead;
        if (!s.dead) {
            n.p = store({s.p, s.len});
            n.len = s.len;
        }
        slots_.push_back(n);
    }
    live_ = other.live_;
    return *this;
}

VariableList::VariableList(VariableList&& other) noexcept
{
    *this = std::move(other);
}

VariableList& VariableList::operator=(VariableList&& other) noexcept
{
    if (this == &other)
        return *this;
    // The chunks and the owned strings' nodes change owner without moving,
    // so every slot and index view stays valid. The source is left empty.
    chunks_ = std::move(other.chunks_);
    chunkUsed_ = other.chunkUsed_;
    chunkSize_ = other.chunkSize_;
    slots_ = std::move(other.slots_);
    owned_ = std::move(other.owned_);
    live_ = other.live_;
    lookup_ = other.lookup_;
    indexed_ = other.indexed_;
    sorted_ = std::move(other.sorted_);
    blockMin_ = std::move(other.blockMin_);
    superMin_ = std::move(other.superMin_);
    delta_ = std::move(other.delta_);
    other.clear();
    return *this;
}

VariableList::~VariableList() = default;

void VariableList::clear()
{
    dropIndex();
    chunks_.clear();
    chunkUsed_ = chunkSize_ = 0;
    slots_.clear();
    owned_.clear();
    live_ = 0;
}

char* VariableList::place(size_t size)
{
    if (size > kChunk / 4) {
        // A long text gets a chunk of its own, placed before the current one
        // so the current chunk keeps filling.
        auto big = std::make_unique_for_overwrite<char[]>(size);
        char* p = big.get();
        chunks_.insert(chunks_.empty() ? chunks_.end() : chunks_.end() - 1, std::move(big));
        return p;
    }
    if (chunks_.empty() || chunkUsed_ + size > chunkSize_) {
        chunks_.push_back(
            std::make_unique_for_overwrite<char[]>(kChunk)); // filled as used: no zeroing
        chunkUsed_ = 0;
        chunkSize_ = kChunk;
    }
    char* p = chunks_.back().get() + chunkUsed_;
    chunkUsed_ += size;
    return p;
}

const char* VariableList::store(std::string_view text)
{
    char* p = place(text.size());
    if (!text.empty())
        std::memcpy(p, text.data(), text.size());
    return p;
}

VariableList::Id VariableList::addSlot(const char* p, size_t size)
{
    const Id id = slots_.size();
    Slot s;
    s.p = p;
    s.len = static_cast<uint32_t>(size);
    slots_.push_back(s);
    ++live_;
    if (indexed_) {
        delta_.emplace(view(id), id);
        if (delta_.size() > std::max<size_t>(4096, sorted_.size() / 4))
            dropIndex();
    }
    return id;
}

VariableList::Id VariableList::append(std::string_view entry)
{
    return addSlot(store(entry), entry.size());
}

VariableList::Id VariableList::append(std::initializer_list<std::string_view> parts)
{
    size_t size = 0;
    for (const std::string_view part : parts)
        size += part.size();
    char* const p = place(size);
    char* at = p;
    for (const std::string_view part : parts) {
        if (!part.empty())
            std::memcpy(at, part.data(), part.size());
        at += part.size();
    }
    return addSlot(p, size);
}

std::string_view VariableList::text(Id id) const
{
    if (id >= slots_.size() || slots_[id].dead)
        return {};
    return view(id);
}

void VariableList::setText(Id id, std::string_view entry)
{
    if (id >= slots_.size() || slots_[id].dead)
        return;
    unindex(id);
    // A changed entry keeps its text in a string of its own, so an entry that
    // grows again and again (a multi-value list) grows in place.
    std::string& s = owned_[id];
    if (entry.data() >= s.data() && entry.data() <= s.data() + s.size() && !s.empty()) {
        std::string copy(entry);
        s = std::move(copy);
    } else {
        s.assign(entry);
    }
    Slot& slot = slots_[id];
    slot.p = s.data();
    slot.len = static_cast<uint32_t>(s.size());
    slot.owned = true;
    if (indexed_)
        delta_.emplace(view(id), id);
}

void VariableList::erase(Id id)
{
    if (id >= slots_.size() || slots_[id].dead)
        return;
    unindex(id);
    Slot& slot = slots_[id];
    if (slot.owned)
        owned_.erase(id);
    slot.dead = true;
    slot.owned = false;
    slot.p = nullptr;
    slot.len = 0;
    --live_;
}

std::vector<std::string> VariableList::toVector() const
{
    std::vector<std::string> v;
    v.reserve(live_);
    forEach([&](std::string_view t) { v.emplace_back(t); });
    return v;
}

// ---- the index ----

void VariableList::dropIndex() const
{
    indexed_ = false;
    std::vector<uint32_t>().swap(sorted_);
    std::vector<uint32_t>().swap(blockMin_);
    std::vector<uint32_t>().swap(superMin_);
    delta_.clear();
}

void VariableList::ensureIndex() const
{
    if (indexed_)
        return;
    const auto& slots = slots_;
    sorted_.clear();
    sorted_.reserve(live_);
    for (size_t id = 0; id < slots.size(); ++id)
        if (!slots[id].dead)
            sorted_.push_back(static_cast<uint32_t>(id));
    std::sort(sorted_.begin(), sorted_.end(), [this](uint32_t a, uint32_t b) {
        const int c = view(a).compare(view(b));
        return c < 0 || (c == 0 && a < b);
    });
    for (uint32_t id : sorted_)
        slots[id].inSorted = true;
    blockMin_.assign((sorted_.size() + kBlock - 1) / kBlock, kNone);
    for (size_t i = 0; i < sorted_.size(); ++i)
        blockMin_[i / kBlock] = std::min(blockMin_[i / kBlock], sorted_[i]);
    superMin_.assign((sorted_.size() + kSuper - 1) / kSuper, kNone);
    for (size_t b = 0; b < blockMin_.size(); ++b)
        superMin_[b / kBlock] = std::min(superMin_[b / kBlock], blockMin_[b]);
    delta_.clear();
    indexed_ = true;
}

size_t VariableList::sortedPosition(Id id) const
{
    const std::string_view t = view(id);
    auto it = std::lower_bound(sorted_.begin(), sorted_.end(), id, [&](uint32_t a, Id) {
        const int c = view(a).compare(t);
        return c < 0 || (c == 0 && a < id);
    });
    return static_cast<size_t>(it - sorted_.begin());
}

void VariableList::invalidateSorted(size_t pos) const
{
    const size_t b = pos / kBlock;
    uint32_t m = kNone;
    for (size_t i = b * kBlock; i < std::min(sorted_.size(), (b + 1) * kBlock); ++i) {
        const Slot& s = slots_[sorted_[i]];
        if (!s.dead && s.inSorted)
            m = std::min(m, sorted_[i]);
    }
    blockMin_[b] = m;
    const size_t g = b / kBlock;
    m = kNone;
    for (size_t k = g * kBlock; k < std::min(blockMin_.size(), (g + 1) * kBlock); ++k)
        m = std::min(m, blockMin_[k]);
    superMin_[g] = m;
}

void VariableList::unindex(Id id)
{
    if (!indexed_)
        return;
    Slot& slot = slots_[id];
    if (slot.inSorted) {
        const size_t pos = sortedPosition(id);
        slot.inSorted = false;
        if (pos < sorted_.size() && sorted_[pos] == id)
            invalidateSorted(pos);
    } else {
        delta_.erase(DeltaKey(view(id), id));
    }
}

std::pair<size_t, size_t> VariableList::prefixRange(std::string_view prefix) const
{
    auto lo = std::lower_bound(sorted_.begin(), sorted_.end(), prefix,
                               [this](uint32_t a, std::string_view p) { return view(a) < p; });
    auto hi = std::partition_point(lo, sorted_.end(),
                                   [&](uint32_t a) { return startsWith(view(a), prefix); });
    return {static_cast<size_t>(lo - sorted_.begin()), static_cast<size_t>(hi - sorted_.begin())};
}

std::pair<size_t, size_t> VariableList::exactRange(std::string_view text) const
{
    auto lo = std::lower_bound(sorted_.begin(), sorted_.end(), text,
                               [this](uint32_t a, std::string_view p) { return view(a) < p; });
    auto hi = std::partition_point(lo, sorted_.end(), [&](uint32_t a) { return view(a) == text; });
    return {static_cast<size_t>(lo - sorted_.begin()), static_cast<size_t>(hi - sorted_.begin())};
}

uint32_t VariableList::rangeMin(size_t lo, size_t hi) const
{
    uint32_t m = kNone;
    auto valid = [&](size_t i) {
        const Slot& s = slots_[sorted_[i]];
        return !s.dead && s.inSorted;
    };
    while (lo < hi && lo % kBlock != 0) {
        if (valid(lo))
            m = std::min(m, sorted_[lo]);
        ++lo;
    }
    while (lo + kBlock <= hi && lo % kSuper != 0) {
        m = std::min(m, blockMin_[lo / kBlock]);
        lo += kBlock;
    }
    while (lo + kSuper <= hi) {
        m = std::min(m, superMin_[lo / kSuper]);
        lo += kSuper;
    }
    while (lo + kBlock <= hi) {
        m = std::min(m, blockMin_[lo / kBlock]);
        lo += kBlock;
    }
    for (; lo < hi; ++lo)
        if (valid(lo))
            m = std::min(m, sorted_[lo]);
    return m;
}

VariableList::Id VariableList::deltaMin(std::string_view prefix, bool exact) const
{
    Id best = npos;
    for (auto it = delta_.lower_bound(DeltaKey(prefix, 0)); it != delta_.end(); ++it) {
        if (exact ? it->first != prefix : !startsWith(it->first, prefix))
            break;
        best = std::min(best, it->second);
        if (exact)
            break; // equal texts are ordered by handle
    }
    return best;
}

VariableList::Id VariableList::findFirstWithPrefix(std::string_view prefix) const
{
    if (lookup_)
        return lookup_->firstWithPrefix(*this, prefix);
    ensureIndex();
    const auto [lo, hi] = prefixRange(prefix);
    const uint32_t m = rangeMin(lo, hi);
    return std::min<Id>(m == kNone ? npos : m, deltaMin(prefix, false));
}

std::vector<VariableList::Id> VariableList::findAllWithPrefix(std::string_view prefix) const
{
    if (lookup_)
        return lookup_->allWithPrefix(*this, prefix);
    std::vector<Id> ids;
    ensureIndex();
    const auto [lo, hi] = prefixRange(prefix);
    for (size_t i = lo; i < hi; ++i) {
        const Slot& s = slots_[sorted_[i]];
        if (!s.dead && s.inSorted)
            ids.push_back(sorted_[i]);
    }
    for (auto it = delta_.lower_bound(DeltaKey(prefix, 0));
         it != delta_.end() && startsWith(it->first, prefix); ++it)
        ids.push_back(it->second);
    std::sort(ids.begin(), ids.end());
    return ids;
}

VariableList::Id VariableList::findFirstByName(std::string_view name) const
{
    if (lookup_)
        return lookup_->firstByName(*this, name);
    // A name holds no "=", so the entries named `name` are exactly the text
    // `name` itself and the texts beginning with `name` + "=".
    if (name.find('=') != std::string_view::npos)
        return npos;
    ensureIndex();
    const std::string withEq = std::string(name) + '=';
    const auto [lo1, hi1] = prefixRange(withEq);
    const auto [lo2, hi2] = exactRange(name);
    const uint32_t m = std::min(rangeMin(lo1, hi1), rangeMin(lo2, hi2));
    return std::min({m == kNone ? npos : Id(m), deltaMin(withEq, false), deltaMin(name, true)});
}

size_t VariableList::eraseByName(std::string_view name)
{
    std::vector<Id> doomed;
    // A name holding "=" is not in the index's terms; with another look-up
    // plugged in, the index is not built at all.
    if (lookup_ || name.find('=') != std::string_view::npos) {
        for (size_t id = 0; id < slots_.size(); ++id)
            if (!slots_[id].dead && nameOf(view(id)) == name)
                doomed.push_back(id);
    } else {
        ensureIndex();
        const std::string withEq = std::string(name) + '=';
        auto collect = [&](std::pair<size_t, size_t> r) {
            for (size_t i = r.first; i < r.second; ++i) {
                const Slot& s = slots_[sorted_[i]];
                if (!s.dead && s.inSorted)
                    doomed.push_back(sorted_[i]);
            }
        };
        collect(prefixRange(withEq));
        collect(exactRange(name));
        for (auto it = delta_.lower_bound(DeltaKey(withEq, 0));
             it != delta_.end() && startsWith(it->first, withEq); ++it)
            doomed.push_back(it->second);
        for (auto it = delta_.lower_bound(DeltaKey(name, 0));
             it != delta_.end() && it->first == name; ++it)
            doomed.push_back(it->second);
    }
    for (Id id : doomed)
        erase(id);
    return doomed.size();
}

std::string_view VariableList::nameOf(std::string_view entry)
{
    const size_t eq = entry.find('=');
    return eq == std::string_view::npos ? entry : entry.substr(0, eq);
}

std::string_view VariableList::valueOf(std::string_view entry)
{
    const size_t eq = entry.find('=');
    return eq == std::string_view::npos ? std::string_view() : entry.substr(eq + 1);
}

} // namespace qmx
