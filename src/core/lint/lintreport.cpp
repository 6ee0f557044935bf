// The linter's check of variable references against one report: a name the
// report lacks reads as a blank, so the closest names it does have are
// offered.
#include "lint/lintcut.h"

#include "store/variables.h"
#include "util/text.h"

#include <algorithm>
#include <numeric>

namespace qmx::lint {

namespace {

// Edit distance between a and b over case-folded letters, or limit + 1 once
// it is certain to exceed limit.
size_t distance(std::string_view a, std::string_view b, size_t limit)
{
    if (std::max(a.size(), b.size()) - std::min(a.size(), b.size()) > limit)
        return limit + 1;
    std::vector<size_t> row(b.size() + 1);
    std::iota(row.begin(), row.end(), size_t(0));
    for (size_t i = 1; i <= a.size(); ++i) {
        size_t diagonal = row[0], best = ++row[0];
        for (size_t j = 1; j <= b.size(); ++j) {
            const size_t up = row[j];
            const bool same = upperCp1252(a[i - 1]) == upperCp1252(b[j - 1]);
            row[j] = std::min({up + 1, row[j - 1] + 1, diagonal + (same ? 0 : 1)});
            diagonal = up;
            best = std::min(best, row[j]);
        }
        if (best > limit)
            return limit + 1;
    }
    return row[b.size()];
}

std::vector<std::string_view> namesOf(const VariableList& report,
                                      const std::vector<std::string>& setEntries)
{
    std::vector<std::string_view> names;
    names.reserve(report.size() + setEntries.size());
    report.forEach([&](std::string_view entry) { names.push_back(VariableList::nameOf(entry)); });
    for (const std::string& e : setEntries)
        names.push_back(VariableList::nameOf(e));
    std::sort(names.begin(), names.end());
    names.erase(std::unique(names.begin(), names.end()), names.end());
    return names;
}

// Up to three names nearest to name, nearest first.
std::string closestNames(std::string_view name, const std::vector<std::string_view>& names)
{
    const size_t limit = std::max<size_t>(2, name.size() / 4);
    std::vector<std::pair<size_t, std::string_view>> near;
    for (const std::string_view n : names) {
        const size_t d = distance(name, n, limit);
        if (d <= limit)
            near.emplace_back(d, n);
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
    std::vector<std::string_view> names;
    bool namesRead = false;
    for (const Reference& ref : refs_) {
        if (report_->findFirstWithPrefix(ref.name) != VariableList::npos)
            continue;
        if (std::any_of(setEntries_.begin(), setEntries_.end(),
                        [&](const std::string& e) { return e.starts_with(ref.name); }))
            continue;
        if (!namesRead) {
            names = namesOf(*report_, setEntries_);
            namesRead = true;
        }
        const std::string closest = closestNames(ref.name, names);
        warn(R014, ref.offset, ref.length,
             concat({"the report has no variable ", ref.name,
                     ref.inCondition ? ": it reads as a blank" : ": it adds nothing to the line",
                     closest.empty() ? "" : "; closest: ", closest}));
    }
}

} // namespace qmx::lint
