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

template <class F> void VariableList::forPrefix(std::string_view prefix, F&& f) const
{
    for (auto it = byText_.lower_bound(Key(prefix, 0)); it != byText_.end(); ++it) {
        if (it->first.substr(0, prefix.size()) != prefix)
            break;
        f(it->first, it->second);
    }
}

VariableList::Id VariableList::findFirstWithPrefix(std::string_view prefix) const
{
    Id best = npos;
    forPrefix(prefix, [&](std::string_view, Id id) {
        if (id < best)
            best = id;
    });
    return best;
}

std::vector<VariableList::Id> VariableList::findAllWithPrefix(std::string_view prefix) const
{
    std::vector<Id> ids;
    forPrefix(prefix, [&](std::string_view, Id id) { ids.push_back(id); });
    std::sort(ids.begin(), ids.end());
    return ids;
}

VariableList::Id VariableList::findFirstByName(std::string_view name) const
{
    Id best = npos;
    forPrefix(name, [&](std::string_view t, Id id) {
        if (nameOf(t) == name && id < best)
            best = id;
    });
    return best;
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
