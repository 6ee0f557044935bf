#include "report/variables.h"

#include <algorithm>
#include <utility>

namespace qmx {

namespace {

bool startsWith(std::string_view text, std::string_view prefix)
{
    return text.size() >= prefix.size() && text.compare(0, prefix.size(), prefix) == 0;
}

bool keyLess(std::string_view t1, VariableList::Id i1, std::string_view t2, VariableList::Id i2)
{
    const int c = t1.compare(t2);
    return c < 0 || (c == 0 && i1 < i2);
}

} // namespace

VariableList::VariableList(const VariableList& other) { *this = other; }

VariableList& VariableList::operator=(const VariableList& other)
{
    if (this == &other)
        return *this;
    clear();
    lookup_ = other.lookup_;
    for (const auto& [id, e] : other.entries_) {
        entries_.emplace(id, Entry{e.text, -1});
        index(id);
    }
    next_ = other.next_;
    return *this;
}

// Moving keeps the index valid: the map's nodes, which the index points
// into, change owner without moving. The source is left empty.
VariableList::VariableList(VariableList&& other) noexcept { *this = std::move(other); }

VariableList& VariableList::operator=(VariableList&& other) noexcept
{
    if (this == &other)
        return *this;
    entries_ = std::move(other.entries_);
    nodes_ = std::move(other.nodes_);
    freeNodes_ = std::move(other.freeNodes_);
    root_ = other.root_;
    seed_ = other.seed_;
    next_ = other.next_;
    lookup_ = other.lookup_;
    other.clear();
    return *this;
}

void VariableList::clear()
{
    entries_.clear();
    nodes_.clear();
    freeNodes_.clear();
    root_ = -1;
    next_ = 0;
}

VariableList::Id VariableList::append(std::string entry)
{
    const Id id = next_++;
    entries_.emplace(id, Entry{std::move(entry), -1});
    index(id);
    return id;
}

void VariableList::setText(Id id, std::string entry)
{
    unindex(id);
    entries_.at(id).text = std::move(entry);
    index(id);
}

void VariableList::erase(Id id)
{
    unindex(id);
    entries_.erase(id);
}

std::vector<std::string> VariableList::toVector() const
{
    std::vector<std::string> v;
    v.reserve(entries_.size());
    for (const auto& [id, e] : entries_)
        v.push_back(e.text);
    return v;
}

// --- The index: a treap with subtree minima -------------------------------

void VariableList::update(int t)
{
    Node& n = nodes_[static_cast<size_t>(t)];
    n.minId = std::min({n.id, minId(n.left), minId(n.right)});
}

int VariableList::merge(int a, int b)
{
    if (a < 0)
        return b;
    if (b < 0)
        return a;
    if (nodes_[static_cast<size_t>(a)].prio > nodes_[static_cast<size_t>(b)].prio) {
        const int r = merge(nodes_[static_cast<size_t>(a)].right, b);
        nodes_[static_cast<size_t>(a)].right = r;
        update(a);
        return a;
    }
    const int l = merge(a, nodes_[static_cast<size_t>(b)].left);
    nodes_[static_cast<size_t>(b)].left = l;
    update(b);
    return b;
}

// Splits t into the keys below (text, id) and the rest.
void VariableList::split(int t, std::string_view text, Id id, int& less, int& rest)
{
    if (t < 0) {
        less = rest = -1;
        return;
    }
    Node& n = nodes_[static_cast<size_t>(t)];
    if (keyLess(n.text, n.id, text, id)) {
        int l, r;
        split(n.right, text, id, l, r);
        nodes_[static_cast<size_t>(t)].right = l;
        update(t);
        less = t;
        rest = r;
    } else {
        int l, r;
        split(n.left, text, id, l, r);
        nodes_[static_cast<size_t>(t)].left = r;
        update(t);
        less = l;
        rest = t;
    }
}

int VariableList::eraseNode(int t, std::string_view text, Id id)
{
    if (t < 0)
        return t;
    Node& n = nodes_[static_cast<size_t>(t)];
    if (n.id == id) {
        const int joined = merge(n.left, n.right);
        freeNodes_.push_back(t);
        return joined;
    }
    if (keyLess(text, id, n.text, n.id)) {
        const int l = eraseNode(n.left, text, id);
        nodes_[static_cast<size_t>(t)].left = l;
    } else {
        const int r = eraseNode(n.right, text, id);
        nodes_[static_cast<size_t>(t)].right = r;
    }
    update(t);
    return t;
}

void VariableList::index(Id id)
{
    Entry& e = entries_.at(id);
    // xorshift: priorities only need to look random to keep the tree flat.
    seed_ ^= seed_ << 13;
    seed_ ^= seed_ >> 17;
    seed_ ^= seed_ << 5;
    Node n;
    n.text = e.text;
    n.id = id;
    n.minId = id;
    n.prio = seed_;
    int t;
    if (!freeNodes_.empty()) {
        t = freeNodes_.back();
        freeNodes_.pop_back();
        nodes_[static_cast<size_t>(t)] = n;
    } else {
        t = static_cast<int>(nodes_.size());
        nodes_.push_back(n);
    }
    e.node = t;
    int less, rest;
    split(root_, n.text, id, less, rest);
    root_ = merge(merge(less, t), rest);
}

void VariableList::unindex(Id id)
{
    Entry& e = entries_.at(id);
    root_ = eraseNode(root_, e.text, id);
    e.node = -1;
}

// Entries beginning with prefix form one run in text order: every key below
// (prefix, 0) sorts before the run and every key after it sorts after. So a
// node outside the run tells which side to search, and a node inside it
// splits the search into a left part bounded only below and a right part
// bounded only above, where whole subtrees answer with their minimum.
VariableList::Id VariableList::rangeMin(int t, std::string_view prefix) const
{
    while (t >= 0) {
        const Node& n = nodes_[static_cast<size_t>(t)];
        if (startsWith(n.text, prefix))
            return std::min({n.id, rangeMinFrom(n.left, prefix), rangeMinUpTo(n.right, prefix)});
        t = n.text < prefix ? n.right : n.left;
    }
    return npos;
}

// Within a subtree lying before a run member: the run's part of it.
VariableList::Id VariableList::rangeMinFrom(int t, std::string_view prefix) const
{
    Id best = npos;
    while (t >= 0) {
        const Node& n = nodes_[static_cast<size_t>(t)];
        if (startsWith(n.text, prefix)) {
            best = std::min({best, n.id, minId(n.right)});
            t = n.left;
        } else {
            t = n.right;
        }
    }
    return best;
}

// Within a subtree lying after a run member: the run's part of it.
VariableList::Id VariableList::rangeMinUpTo(int t, std::string_view prefix) const
{
    Id best = npos;
    while (t >= 0) {
        const Node& n = nodes_[static_cast<size_t>(t)];
        if (startsWith(n.text, prefix)) {
            best = std::min({best, n.id, minId(n.left)});
            t = n.right;
        } else {
            t = n.left;
        }
    }
    return best;
}

void VariableList::collect(int t, std::string_view prefix, std::vector<Id>& ids) const
{
    while (t >= 0) {
        const Node& n = nodes_[static_cast<size_t>(t)];
        if (startsWith(n.text, prefix)) {
            collect(n.left, prefix, ids);
            ids.push_back(n.id);
            t = n.right;
        } else {
            t = n.text < prefix ? n.right : n.left;
        }
    }
}

// --- Look-ups --------------------------------------------------------------

// Calls f(text, id) for every entry beginning with prefix, in list order.
template <class F> void VariableList::forPrefix(std::string_view prefix, F&& f) const
{
    if (lookup_ == Lookup::LinearScan) {
        for (const auto& [id, e] : entries_)
            if (startsWith(e.text, prefix))
                f(std::string_view(e.text), id);
        return;
    }
    for (Id id : findAllWithPrefix(prefix))
        f(std::string_view(entries_.at(id).text), id);
}

VariableList::Id VariableList::findFirstWithPrefix(std::string_view prefix) const
{
    if (lookup_ == Lookup::LinearScan) {
        for (const auto& [id, e] : entries_)
            if (startsWith(e.text, prefix))
                return id;
        return npos;
    }
    return rangeMin(root_, prefix);
}

std::vector<VariableList::Id> VariableList::findAllWithPrefix(std::string_view prefix) const
{
    std::vector<Id> ids;
    if (lookup_ == Lookup::LinearScan) {
        for (const auto& [id, e] : entries_)
            if (startsWith(e.text, prefix))
                ids.push_back(id);
        return ids;
    }
    collect(root_, prefix, ids);
    std::sort(ids.begin(), ids.end());
    return ids;
}

// An entry is named name when its text is name itself or begins with name
// followed by "=" (a name never holds "="). The exact text sorts first among
// the texts that begin with it, so both cases are one range look-up each.
VariableList::Id VariableList::findFirstByName(std::string_view name) const
{
    if (lookup_ == Lookup::LinearScan) {
        for (const auto& [id, e] : entries_)
            if (nameOf(e.text) == name)
                return id;
        return npos;
    }
    if (name.find('=') != std::string_view::npos)
        return npos;
    const std::string withEq = std::string(name) + "=";
    Id best = rangeMin(root_, withEq);
    // The smallest key at or after (name, 0) is the first exact match, if any.
    int t = root_;
    Id exact = npos;
    while (t >= 0) {
        const Node& n = nodes_[static_cast<size_t>(t)];
        if (n.text == name) {
            exact = n.id; // candidates further left have smaller ids
            t = n.left;
        } else {
            t = n.text < name ? n.right : n.left;
        }
    }
    return std::min(best, exact);
}

size_t VariableList::eraseByName(std::string_view name)
{
    std::vector<Id> doomed;
    forPrefix(name, [&](std::string_view t, Id id) {
        if (nameOf(t) == name)
            doomed.push_back(id);
    });
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
