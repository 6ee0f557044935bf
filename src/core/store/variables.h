// The report variable list: the ordered "%NAME%=value" entries derived from
// one report, read and changed by the rule interpreter. Names may repeat, and
// order matters (look-ups take the first match), so the list keeps insertion
// order, while an index over the entry texts answers "the first entry in list
// order whose text begins with P" without scanning the whole list.
//
// A report of a few hundred thousand lines gives over a million entries, so
// the list is built for size: entry texts are packed into large arena chunks
// with a 16-byte slot each, and the index is only built when the first
// look-up needs it (the loader never does; the rules do). Once built, it is a
// sorted array of handles with block minima for the "first in list order"
// question, plus a small ordered set for entries added or changed later; the
// array is rebuilt when that set grows large.
#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <memory>
#include <set>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

namespace qmx {

class VariableList {
public:
    // A stable handle to one entry; handles of later entries compare greater.
    using Id = uint64_t;
    static constexpr Id npos = UINT64_MAX;

    VariableList() = default;
    VariableList(const VariableList& other);
    VariableList& operator=(const VariableList& other);
    VariableList(VariableList&& other) noexcept;
    VariableList& operator=(VariableList&& other) noexcept;
    ~VariableList();

    size_t size() const { return live_; }
    bool empty() const { return live_ == 0; }
    void clear();
    // Room for n entries in all, so a list of known size is built without regrowth.
    void reserve(size_t n) { slots_.reserve(n); }

    Id append(std::string_view entry);
    // Appends the entry made of parts, joined without a temporary string.
    Id append(std::initializer_list<std::string_view> parts);
    std::string_view text(Id id) const;
    void setText(Id id, std::string_view entry);
    void erase(Id id);

    // The entries in list order.
    std::vector<std::string> toVector() const;
    template <class F> void forEach(F&& f) const
    {
        for (const Slot& s : slots_)
            if (!s.dead)
                f(std::string_view(s.p, s.len));
    }

    // The first entry (in list order) whose text begins with prefix.
    Id findFirstWithPrefix(std::string_view prefix) const;
    // Every entry whose text begins with prefix, in list order.
    std::vector<Id> findAllWithPrefix(std::string_view prefix) const;
    // The first entry whose name (text before its first "=", or the whole
    // text) equals name exactly.
    Id findFirstByName(std::string_view name) const;
    // Removes every entry whose name equals name exactly; returns how many.
    size_t eraseByName(std::string_view name);

    // Another way to answer the look-ups, used in place of the index when
    // set: tests and benchmarks plug in a plain walk over the list to check
    // and measure the index against. The list does not own it.
    class Lookup {
    public:
        virtual ~Lookup() = default;
        virtual Id firstWithPrefix(const VariableList& list, std::string_view prefix) const = 0;
        virtual std::vector<Id> allWithPrefix(const VariableList& list,
                                              std::string_view prefix) const = 0;
        virtual Id firstByName(const VariableList& list, std::string_view name) const = 0;
    };
    // nullptr: the index answers.
    void setLookup(const Lookup* lookup) { lookup_ = lookup; }
    const Lookup* lookup() const { return lookup_; }

    // Calls f(handle, text) for the entries in list order until it returns
    // true; returns that entry's handle, or npos when f never did.
    template <class F> Id findEntry(F&& f) const
    {
        for (size_t id = 0; id < slots_.size(); ++id)
            if (!slots_[id].dead && f(Id(id), view(id)))
                return id;
        return npos;
    }

    // The name and value parts of an entry text.
    static std::string_view nameOf(std::string_view entry);
    static std::string_view valueOf(std::string_view entry);

private:
    struct Slot {
        const char* p = nullptr;
        uint32_t len = 0;
        bool dead = false;
        bool owned = false;            // text lives in owned_ (it was changed in place)
        mutable bool inSorted = false; // its place in sorted_ is current
    };
    using DeltaKey = std::pair<std::string_view, Id>;

    std::string_view view(Id id) const { return {slots_[id].p, slots_[id].len}; }
    const char* store(std::string_view text);
    char* place(size_t size);
    Id addSlot(const char* p, size_t size);
    void ensureIndex() const;
    void dropIndex() const;
    void unindex(Id id);
    size_t sortedPosition(Id id) const;
    void invalidateSorted(size_t pos) const;
    std::pair<size_t, size_t> prefixRange(std::string_view prefix) const;
    std::pair<size_t, size_t> exactRange(std::string_view text) const;
    uint32_t rangeMin(size_t lo, size_t hi) const;
    Id deltaMin(std::string_view prefix, bool exact) const;

    // Entry texts: arena chunks that never move, one slot per handle.
    std::vector<std::unique_ptr<char[]>> chunks_;
    size_t chunkUsed_ = 0;
    size_t chunkSize_ = 0;
    std::vector<Slot> slots_;
    std::unordered_map<Id, std::string> owned_;
    size_t live_ = 0;
    const Lookup* lookup_ = nullptr;

    // The look-up index, built on demand.
    mutable bool indexed_ = false;
    mutable std::vector<uint32_t> sorted_;   // handles in (text, handle) order
    mutable std::vector<uint32_t> blockMin_; // smallest valid handle per block
    mutable std::vector<uint32_t> superMin_; // smallest per group of blocks
    mutable std::set<DeltaKey> delta_;       // indexed entries not in sorted_
};

} // namespace qmx
