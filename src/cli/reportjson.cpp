#include "cli/reportjson.h"

#include "core/report/colour.h"
#include "core/util/cp1252.h"
#include "core/util/lines.h"

namespace qmx::cli {

namespace {

Json colourJson(Colour c)
{
    if (c == Colour::None)
        return nullptr;
    return std::string(colourName(c));
}

Json textArray(const std::vector<std::string>& items)
{
    Json a = Json::array();
    for (const auto& s : items)
        a.push_back(toUtf8(s));
    return a;
}

Json rowJson(const GridRow& row)
{
    Json cells = Json::array();
    Json colors = Json::array();
    const std::vector<std::string_view> texts = row.cells.views();
    for (size_t c = 0; c < texts.size(); ++c) {
        cells.push_back(toUtf8(texts[c]));
        colors.push_back(colourJson(row.colors[c]));
    }
    Json j;
    j["cells"] = std::move(cells);
    j["background"] = colourJson(row.background);
    j["colors"] = std::move(colors);
    return j;
}

void tableRows(JsonObjectWriter& w, const std::string& key, const CheckTable& table)
{
    w.arrayMember(key, table.rows.size(), [&](size_t r) { return rowJson(table.rows[r]); });
}

} // namespace

std::vector<std::string> suggestionLines(const ReportDocument& doc)
{
    std::vector<std::string> lines;
    for (const auto& entry : doc.suggestions)
        forEachPiece(entry, [&lines](std::string_view line) { lines.emplace_back(line); });
    return lines;
}

void writeReportJson(std::ostream& out, const ReportDocument& doc, const CountingProgress& progress)
{
    JsonObjectWriter w(out);
    const GeneralInfo& g = doc.general;
    w.member("general", Json{
                            {"date", toUtf8(g.date)},
                            {"time", toUtf8(g.time)},
                            {"name", toUtf8(g.name)},
                            {"os", toUtf8(g.os)},
                            {"memory", toUtf8(g.memory)},
                            {"cpu", toUtf8(g.cpu)},
                            {"user", toUtf8(g.user)},
                            {"uptime", toUtf8(g.uptime)},
                        });
    w.member("sections", textArray(doc.sections));
    w.member("nics", textArray(doc.nics));
    w.member("nic_shown", toUtf8(doc.nicShown));
    w.member("attached", textArray(doc.attached));
    tableRows(w, "registry", doc.registry);
    tableRows(w, "files", doc.files);
    w.arrayMember("text_colors", doc.textColours.size(), [&](size_t i) {
        const TextColour& t = doc.textColours[i];
        Json c;
        c["line"] = t.line;
        c["at_line"] = t.atLine;
        c["column"] = t.column;
        c["length"] = t.length;
        c["color"] = colourJson(t.color);
        return c;
    });
    w.beginArray("variables");
    doc.variables.forEach([&](std::string_view v) { w.element(Json(toUtf8(v))); });
    w.endArray();
    w.member("suggestions", textArray(suggestionLines(doc)));
    w.member("progress", Json{{"max", progress.maximum()}, {"position", progress.position()}});
    w.finish();
}

} // namespace qmx::cli
