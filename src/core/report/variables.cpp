#include "report/variables.h"

#include <algorithm>

namespace qmx {

VariableList::VariableList(const VariableList& other) { *this = other; }

VariableList& VariableList::operator=(const VariableList& other)
{
    if (this == &other)
        return *this;
    clear();
    entries_ = other.entries_;
    next_ = other.next_;
    lookup_ = other.lookup_;
    for (const auto& [id, t] : entries_)
        byText_.emplace(std::string_view(t), id);
    return *this;
}

void VariableList::clear()
{
    byText_.clear();
    entries_.clear();
    next_ = 0;
}

VariableList::Id VariableList::append(std::string entry)
{
    const Id id = next_++;
    entries_.emplace(id, std::move(entry));
    index(id);
    return id;
}

void VariableList::setText(Id id, std::string entry)
{
    unindex(id);
    entries_.at(id) = std::move(entry);
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
    for (const auto& [id, t] : entries_)
        v.push_back(t);
    return v;
}

void VariableList::index(Id id) { byText_.emplace(std::string_view(entries_.at(id)), id); }

void VariableList::unindex(Id id) { byText_.erase(Key(std::string_view(entries_.at(id)), id)); }

namespace {

bool startsWith(std::string_view text, std::string_view prefix)
{
    return text.size() >= prefix.size() && text.compare(0, prefix.size(), prefix) == 0;
}

} // namespace

// Visits every indexed entry whose text begins with prefix, in text order. In
// linear-scan mode it visits them in list order instead, by walking the list.
template <class F> void VariableList::forPrefix(std::string_view prefix, F&& f) const
{
    if (lookup_ == Lookup::LinearScan) {
        for (const auto& [id, t] : entries_)
            if (startsWith(t, prefix))
                f(std::string_view(t), id);
        return;
    }
    for (auto it = byText_.lower_bound(Key(prefix, 0)); it != byText_.end(); ++it) {
        if (!startsWith(it->first, prefix))
            break;
        f(it->first, it->second);
    }
}

// The first entry in list order among those beginning with prefix that also
// satisfy match. The index holds the candidates in text order, so finding
// the smallest handle means visiting all of them, which is slow for a short
// prefix that many entries share ("%" matches every entry). The list walked
// from its start finds the answer after as many entries as precede it. Both
// walks advance in step and the first to finish decides: the cost is twice
// the smaller of the two. The list walk can also stop as soon as it reaches
// a candidate already seen in the index, since every entry before it has
// been checked.
template <class Match>
VariableList::Id VariableList::firstMatch(std::string_view prefix, Match&& match) const
{
    if (lookup_ == Lookup::LinearScan) {
        for (const auto& [id, t] : entries_)
            if (startsWith(t, prefix) && match(std::string_view(t)))
                return id;
        return npos;
    }
    auto idx = byText_.lower_bound(Key(prefix, 0));
    auto list = entries_.begin();
    Id best = npos;
    for (;;) {
        if (idx == byText_.end() || !startsWith(idx->first, prefix))
            return best;
        if (idx->second < best && match(idx->first))
            best = idx->second;
        ++idx;

        if (list != entries_.end()) {
            if (list->first >= best)
                return best;
            if (startsWith(list->second, prefix) && match(std::string_view(list->second)))
                return list->first;
            ++list;
        }
    }
}

VariableList::Id VariableList::findFirstWithPrefix(std::string_view prefix) const
{
    return firstMatch(prefix, [](std::string_view) { return true; });
}

std::vector<VariableList::Id> VariableList::findAllWithPrefix(std::string_view prefix) const
{
    std::vector<Id> ids;
    forPrefix(prefix, [&](std::string_view, Id id) { ids.push_back(id); });
    if (lookup_ == Lookup::Indexed)
        std::sort(ids.begin(), ids.end());
    return ids;
}

VariableList::Id VariableList::findFirstByName(std::string_view name) const
{
    return firstMatch(name, [name](std::string_view t) { return nameOf(t) == name; });
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
