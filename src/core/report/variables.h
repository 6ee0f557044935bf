// The report variable list: the ordered "%NAME%=value" entries derived from
// one report, read and changed by the rule interpreter. Names may repeat, and
// order matters (look-ups take the first match), so the list keeps insertion
// order while an index over the entry texts answers prefix and name look-ups
// without scanning the whole list. The index is a search tree in text order
// where every node knows the smallest handle below it, so "the first entry
// in list order beginning with P" costs one descent, however many entries
// share P.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <string_view>
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

    size_t size() const { return entries_.size(); }
    bool empty() const { return entries_.empty(); }
    void clear();

    Id append(std::string entry);
    const std::string& text(Id id) const { return entries_.at(id).text; }
    void setText(Id id, std::string entry);
    void erase(Id id);

    // The entries in list order.
    std::vector<std::string> toVector() const;
    template <class F> void forEach(F&& f) const
    {
        for (const auto& [id, e] : entries_)
            f(e.text);
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

    // How look-ups find entries. Indexed is the normal mode; LinearScan walks
    // the list in order for every look-up and serves as the reference the
    // index is checked and measured against.
    enum class Lookup { Indexed, LinearScan };
    void setLookup(Lookup mode) { lookup_ = mode; }
    Lookup lookup() const { return lookup_; }

    // The name and value parts of an entry text.
    static std::string_view nameOf(std::string_view entry);
    static std::string_view valueOf(std::string_view entry);

private:
    struct Entry {
        std::string text;
        int node = -1; // its node in the index
    };
    // A treap node: ordered by (text, id), heap-ordered by prio. The text is
    // a view into the entry, whose string lives in a map node and never
    // moves; an entry leaves the index before its text changes.
    struct Node {
        std::string_view text;
        Id id = 0;
        Id minId = 0; // smallest id in this subtree
        uint32_t prio = 0;
        int left = -1, right = -1;
    };

    void index(Id id);
    void unindex(Id id);
    void update(int t);
    int merge(int a, int b);
    void split(int t, std::string_view text, Id id, int& less, int& rest);
    int eraseNode(int t, std::string_view text, Id id);
    Id minId(int t) const { return t < 0 ? npos : nodes_[static_cast<size_t>(t)].minId; }
    Id rangeMin(int t, std::string_view prefix) const;
    Id rangeMinFrom(int t, std::string_view prefix) const;
    Id rangeMinUpTo(int t, std::string_view prefix) const;
    void collect(int t, std::string_view prefix, std::vector<Id>& ids) const;
    template <class F> void forPrefix(std::string_view prefix, F&& f) const;

    std::map<Id, Entry> entries_;
    std::vector<Node> nodes_;
    std::vector<int> freeNodes_;
    int root_ = -1;
    uint32_t seed_ = 0x9e3779b9u;
    Id next_ = 0;
    Lookup lookup_ = Lookup::Indexed;
};

} // namespace qmx
