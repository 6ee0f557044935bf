#include "cli/fleetout.h"

#include "cli/jsonout.h"

#include "core/util/cp1252.h"
#include "core/util/error.h"
#include "core/util/fileio.h"
#include "core/util/lines.h"

namespace qmx::cli {

namespace {

std::string evidenceText(const std::vector<Evidence>& evidence)
{
    std::string s;
    for (const Evidence& e : evidence) {
        if (!s.empty())
            s += ", ";
        s += e.reference + "=" + e.value;
    }
    return s;
}

Json evidenceJson(const std::vector<Evidence>& evidence)
{
    Json a = Json::array();
    for (const Evidence& e : evidence)
        a.push_back({{"variable", toUtf8(e.reference)}, {"value", toUtf8(e.value)}});
    return a;
}

std::vector<Evidence> evidenceFrom(const Json& a)
{
    std::vector<Evidence> v;
    for (const Json& e : a)
        v.push_back({fromUtf8(e.at("variable").get<std::string>()),
                     fromUtf8(e.at("value").get<std::string>())});
    return v;
}

Json textsJson(const std::vector<std::string>& texts)
{
    Json a = Json::array();
    for (const std::string& t : texts)
        a.push_back(toUtf8(t));
    return a;
}

const char* sideName(HostChange::Side side)
{
    switch (side) {
    case HostChange::Side::NewOnly: return "new only";
    case HostChange::Side::OldOnly: return "old only";
    case HostChange::Side::Both: break;
    }
    return "both";
}

} // namespace

std::string summaryText(const std::vector<ReportFindings>& reports,
                        const std::vector<SummaryRow>& rows)
{
    size_t readable = 0;
    for (const ReportFindings& r : reports)
        readable += r.error.empty();
    std::string out;
    for (const SummaryRow& row : rows) {
        out += std::to_string(row.hosts.size()) + " of " + std::to_string(readable)
               + " reports: " + toUtf8(row.text) + "\n";
        for (const FindingHost& h : row.hosts) {
            out += "    " + toUtf8(reports[h.report].computer);
            if (!h.evidence.empty())
                out += ": " + toUtf8(evidenceText(h.evidence));
            out += "\n";
        }
    }
    return out;
}

std::string sinceText(const std::vector<HostChange>& changes)
{
    std::string out;
    for (const HostChange& c : changes) {
        out += toUtf8(c.computer) + ": ";
        if (c.side == HostChange::Side::NewOnly)
            out += "only in the new scan, ";
        else if (c.side == HostChange::Side::OldOnly)
            out += "only in the old scan, ";
        out += std::to_string(c.added.size()) + " new, " + std::to_string(c.fixed.size())
               + " fixed, " + std::to_string(c.unchanged.size()) + " unchanged\n";
        for (const auto& [label, texts] : {std::pair{"new", &c.added}, std::pair{"fixed", &c.fixed},
                                           std::pair{"unchanged", &c.unchanged}})
            for (const std::string& t : *texts)
                out += std::string("  ") + label + ": " + toUtf8(t) + "\n";
    }
    return out;
}

Json summaryJson(const std::vector<ReportFindings>& reports, const std::vector<SummaryRow>& rows,
                 const std::vector<HostChange>* since)
{
    Json doc;
    Json list = Json::array(), unreadable = Json::array();
    for (const ReportFindings& r : reports) {
        if (r.error.empty())
            list.push_back({{"path", fileNameText(r.path)}, {"computer", toUtf8(r.computer)}});
        else
            unreadable.push_back({{"path", fileNameText(r.path)}, {"error", r.error}});
    }
    doc["reports"] = std::move(list);
    doc["unreadable"] = std::move(unreadable);
    Json findings = Json::array();
    for (const SummaryRow& row : rows) {
        Json hosts = Json::array();
        for (const FindingHost& h : row.hosts)
            hosts.push_back({{"path", fileNameText(reports[h.report].path)},
                             {"computer", toUtf8(reports[h.report].computer)},
                             {"evidence", evidenceJson(h.evidence)}});
        findings.push_back(
            {{"text", toUtf8(row.text)}, {"count", row.hosts.size()}, {"hosts", std::move(hosts)}});
    }
    doc["findings"] = std::move(findings);
    if (since) {
        Json changes = Json::array();
        for (const HostChange& c : *since)
            changes.push_back({{"computer", toUtf8(c.computer)},
                               {"side", sideName(c.side)},
                               {"new", textsJson(c.added)},
                               {"fixed", textsJson(c.fixed)},
                               {"unchanged", textsJson(c.unchanged)}});
        doc["since"] = std::move(changes);
    }
    return doc;
}

Json reportJsonLine(const ReportFindings& report)
{
    Json line{{"path", report.path}};
    if (!report.error.empty()) {
        line["error"] = report.error;
        return line;
    }
    line["computer"] = toUtf8(report.computer);
    Json findings = Json::array();
    for (const Finding& f : report.findings)
        findings.push_back({{"text", toUtf8(f.text)}, {"evidence", evidenceJson(f.evidence)}});
    line["findings"] = std::move(findings);
    return line;
}

ReportFindings reportFromJsonLine(const Json& line)
{
    try {
        ReportFindings r;
        r.path = line.at("path").get<std::string>();
        if (line.contains("error")) {
            r.error = line.at("error").get<std::string>();
            return r;
        }
        r.computer = fromUtf8(line.at("computer").get<std::string>());
        for (const Json& f : line.at("findings"))
            r.findings.push_back(
                {fromUtf8(f.at("text").get<std::string>()), evidenceFrom(f.at("evidence"))});
        return r;
    } catch (const nlohmann::json::exception& e) {
        throw Error(std::string("not a report line: ") + e.what());
    }
}

std::vector<ReportFindings> readJsonLines(const std::string& path)
{
    const std::string text = readWholeFile(path);
    std::vector<ReportFindings> reports;
    size_t number = 0;
    forEachPiece(text, [&](std::string_view line) {
        ++number;
        if (line.find_first_not_of(" \t\r") == std::string_view::npos)
            return;
        try {
            reports.push_back(reportFromJsonLine(Json::parse(line)));
        } catch (const std::exception& e) {
            throw Error("\"" + path + "\" line " + std::to_string(number) + ": " + e.what());
        }
    });
    return reports;
}

} // namespace qmx::cli
