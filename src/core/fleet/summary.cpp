#include "core/fleet/summary.h"

#include "core/compare/comparison.h"
#include "core/util/cp1252.h"
#include "core/util/text.h"

#include <algorithm>
#include <map>
#include <set>
#include <unordered_map>

namespace qmx {

std::vector<SummaryRow> summarize(const std::vector<ReportFindings>& reports)
{
    std::vector<SummaryRow> rows;
    std::unordered_map<std::string, size_t> index;
    for (size_t r = 0; r < reports.size(); ++r) {
        for (const Finding& f : reports[r].findings) {
            auto [it, added] = index.try_emplace(f.text, rows.size());
            if (added)
                rows.push_back({f.text, {}});
            rows[it->second].hosts.push_back({r, f.evidence});
        }
    }
    std::sort(rows.begin(), rows.end(), [](const SummaryRow& a, const SummaryRow& b) {
        if (a.hosts.size() != b.hosts.size())
            return a.hosts.size() > b.hosts.size();
        return a.text < b.text;
    });
    return rows;
}

std::string findingsMatrixCsv(const std::vector<ReportFindings>& reports,
                              const std::vector<SummaryRow>& summary,
                              std::string (*pathText)(const std::string&))
{
    std::string out = "path,computer";
    for (const SummaryRow& row : summary) {
        out += ',';
        appendCsvField(out, toUtf8(row.text));
    }
    out += "\r\n";
    std::vector<std::vector<char>> marks(reports.size(), std::vector<char>(summary.size(), '0'));
    for (size_t c = 0; c < summary.size(); ++c)
        for (const FindingHost& h : summary[c].hosts)
            marks[h.report][c] = '1';
    for (size_t r = 0; r < reports.size(); ++r) {
        if (!reports[r].error.empty())
            continue;
        appendCsvField(out, pathText(reports[r].path));
        out += ',';
        appendCsvField(out, toUtf8(reports[r].computer));
        for (char m : marks[r]) {
            out += ',';
            out += m;
        }
        out += "\r\n";
    }
    return out;
}

namespace {

struct NameLess {
    bool operator()(const std::string& a, const std::string& b) const
    {
        return compareNoCase(a, b) < 0;
    }
};

using ByName = std::map<std::string, const ReportFindings*, NameLess>;

ByName byName(const std::vector<ReportFindings>& reports)
{
    ByName m;
    for (const ReportFindings& r : reports)
        if (r.error.empty())
            m.emplace(r.computer, &r); // the first report of a name stays
    return m;
}

std::set<std::string> textsOf(const ReportFindings& r)
{
    std::set<std::string> s;
    for (const Finding& f : r.findings)
        s.insert(f.text);
    return s;
}

HostChange changeOf(const ReportFindings* older, const ReportFindings* newer)
{
    HostChange c;
    c.computer = (newer ? newer : older)->computer;
    c.side = !older ? HostChange::Side::NewOnly
                    : (!newer ? HostChange::Side::OldOnly : HostChange::Side::Both);
    if (!newer)
        return c; // a computer that is gone has nothing new, fixed or unchanged
    const std::set<std::string> was = older ? textsOf(*older) : std::set<std::string>();
    const std::set<std::string> now = textsOf(*newer);
    for (const std::string& t : now)
        (was.count(t) ? c.unchanged : c.added).push_back(t);
    for (const std::string& t : was)
        if (!now.count(t))
            c.fixed.push_back(t);
    return c;
}

} // namespace

std::vector<HostChange> compareScans(const std::vector<ReportFindings>& older,
                                     const std::vector<ReportFindings>& newer)
{
    const ByName oldByName = byName(older);
    const ByName newByName = byName(newer);
    std::vector<HostChange> changes;
    std::set<std::string, NameLess> done;
    for (const ReportFindings& r : newer) {
        if (!r.error.empty() || !done.insert(r.computer).second)
            continue;
        const auto old = oldByName.find(r.computer);
        changes.push_back(changeOf(old == oldByName.end() ? nullptr : old->second, &r));
    }
    for (const ReportFindings& r : older) {
        if (!r.error.empty() || newByName.count(r.computer) || !done.insert(r.computer).second)
            continue;
        changes.push_back(changeOf(&r, nullptr));
    }
    return changes;
}

} // namespace qmx
