// The linter's check of variable references against one report: a name the
// report lacks reads as a blank, so the closest names it does have are
// offered.
#include "lint/lintcut.h"

#include "store/variables.h"
#include "util/text.h"

#include <algorithm>

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
    return r;
}

// Up to three names nearest to name, nearest first.
std::string closestNames(std::string_view name, const std::vector<Candidate>& names)
{
    const std::string upper = upperCp1252(name);
    const size_t limit = std::max<size_t>(2, name.size() / 4);
    std::vector<std::pair<size_t, std::string_view>> near;
    std::vector<size_t> row;
    for (const Candidate& c : names) {
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
    std::vector<Candidate> names;
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
