// The linter's check of variable references against one report: a name the
// report lacks reads as a blank, so the closest names it does have are
// offered.
#include "core/lint/lintcut.h"

#include "core/store/variables.h"
#include "core/util/text.h"

#include <algorithm>
#include <ranges>
#include <unordered_map>

namespace qmx::lint {

namespace {

// Edit distance between a and b (both upper-cased), or limit + 1 once it is
// certain to exceed limit. Only the cells within limit of the diagonal can
// stay within limit, so each row is worked out in that band alone.
size_t distance(std::string_view a, std::string_view b, size_t limit, std::vector<size_t>& row)
{
    if (std::max(a.size(), b.size()) - std::min(a.size(), b.size()) > limit)
        return limit + 1;
    const size_t over = limit + 1;
    row.assign(b.size() + 1, over);
    for (size_t j = 0; j <= std::min(b.size(), limit); ++j)
        row[j] = j;
    for (size_t i = 1; i <= a.size(); ++i) {
        const size_t from = i > limit ? i - limit : 1, to = std::min(b.size(), i + limit);
        size_t diagonal = row[from - 1];
        row[from - 1] = from == 1 && i <= limit ? i : over;
        size_t best = row[from - 1];
        for (size_t j = from; j <= to; ++j) {
            const size_t up = row[j];
            row[j] =
                std::min({up + 1, row[j - 1] + 1, diagonal + (a[i - 1] == b[j - 1] ? 0 : 1), over});
            diagonal = up;
            best = std::min(best, row[j]);
        }
        if (to < b.size())
            row[to + 1] = over;
        if (best > limit)
            return over;
    }
    return row[b.size()];
}

// A name the report or a SET provides, with its upper-cased form for the
// case-blind distance.
struct Candidate {
    std::string_view name;
    std::string upper;
};

std::vector<Candidate> namesOf(const VariableList& report,
                               const std::vector<std::string>& setEntries)
{
    std::vector<std::string_view> names;
    names.reserve(report.size() + setEntries.size());
    report.forEach([&](std::string_view entry) { names.push_back(VariableList::nameOf(entry)); });
    for (const std::string& e : setEntries)
        names.push_back(VariableList::nameOf(e));
    std::sort(names.begin(), names.end());
    names.erase(std::unique(names.begin(), names.end()), names.end());
    std::vector<Candidate> r;
    r.reserve(names.size());
    for (const std::string_view n : names)
        r.push_back({n, upperCp1252(n)});
    // By length, so that only the names within reach of a length are tried.
    std::stable_sort(r.begin(), r.end(), [](const Candidate& a, const Candidate& b) {
        return a.upper.size() < b.upper.size();
    });
    return r;
}

// Up to three names nearest to name, nearest first.
std::string closestNames(std::string_view name, const std::vector<Candidate>& names)
{
    const std::string upper = upperCp1252(name);
    const size_t limit = std::max<size_t>(2, name.size() / 4);
    std::vector<std::pair<size_t, std::string_view>> near;
    std::vector<size_t> row;
    const auto shorter = [](const Candidate& c, size_t n) { return c.upper.size() < n; };
    auto from = std::lower_bound(names.begin(), names.end(),
                                 upper.size() - std::min(upper.size(), limit), shorter);
    auto to = std::lower_bound(from, names.end(), upper.size() + limit + 1, shorter);
    for (const Candidate& c : std::ranges::subrange(from, to)) {
        const size_t d = distance(upper, c.upper, limit, row);
        if (d <= limit)
            near.emplace_back(d, c.name);
    }
    std::sort(near.begin(), near.end());
    std::string r;
    for (size_t i = 0; i < near.size() && i < 3; ++i) {
        r += i == 0 ? "" : ", ";
        r += near[i].second;
        if (near[i].first == 0)
            r += " (in lower case, which upper-cased rule text never matches)";
    }
    return r;
}

} // namespace

void Linter::checkReferences()
{
    std::sort(setEntries_.begin(), setEntries_.end());
    std::vector<Candidate> names;
    std::unordered_map<std::string, std::string> closest; // by reference
    bool namesRead = false;
    for (const Reference& ref : refs_) {
        if (report_->findFirstWithPrefix(ref.name) != VariableList::npos)
            continue;
        const auto set = std::lower_bound(setEntries_.begin(), setEntries_.end(), ref.name);
        if (set != setEntries_.end() && set->starts_with(ref.name))
            continue;
        if (!namesRead) {
            names = namesOf(*report_, setEntries_);
            namesRead = true;
        }
        auto known = closest.find(ref.name);
        if (known == closest.end())
            known = closest.emplace(ref.name, closestNames(ref.name, names)).first;
        const std::string& near = known->second;
        warn(R014, ref.offset, ref.length,
             concat({"the report has no variable ", ref.name,
                     ref.inCondition ? ": it reads as a blank" : ": it adds nothing to the line",
                     near.empty() ? "" : "; closest: ", near}));
    }
}

} // namespace qmx::lint
