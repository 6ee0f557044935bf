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

Json tableRows(const CheckTable& table)
{
    Json rows = Json::array();
    for (const GridRow& row : table.rows) {
        Json colors = Json::array();
        for (size_t c = 0; c < row.cells.size(); ++c)
            colors.push_back(colourJson(c < row.colors.size() ? row.colors[c] : Colour::None));
        Json j;
        j["cells"] = textArray(row.cells);
        j["background"] = colourJson(row.background);
        j["colors"] = std::move(colors);
        rows.push_back(std::move(j));
    }
    return rows;
}

} // namespace

std::vector<std::string> suggestionLines(const ReportDocument& doc)
{
    std::vector<std::string> lines;
    for (const auto& entry : doc.suggestions)
        forEachPiece(entry, [&lines](std::string_view line) { lines.emplace_back(line); });
    return lines;
}

Json reportToJson(const ReportDocument& doc, const CountingProgress& progress)
{
    Json j;
    const GeneralInfo& g = doc.general;
    j["general"] = Json{
        {"date", toUtf8(g.date)}, {"time", toUtf8(g.time)},     {"name", toUtf8(g.name)},
        {"os", toUtf8(g.os)},     {"memory", toUtf8(g.memory)}, {"cpu", toUtf8(g.cpu)},
        {"user", toUtf8(g.user)}, {"uptime", toUtf8(g.uptime)},
    };
    j["sections"] = textArray(doc.sections);
    j["nics"] = textArray(doc.nics);
    j["nic_shown"] = toUtf8(doc.nicShown);
    j["attached"] = textArray(doc.attached);
    j["registry"] = tableRows(doc.registry);
    j["files"] = tableRows(doc.files);

    Json colours = Json::array();
    for (const TextColour& t : doc.textColours) {
        Json c;
        c["line"] = t.line;
        c["at_line"] = t.atLine;
        c["column"] = t.column;
        c["length"] = t.length;
        c["color"] = colourJson(t.color);
        colours.push_back(std::move(c));
    }
    j["text_colors"] = std::move(colours);
    j["variables"] = textArray(doc.variables.toVector());
    j["suggestions"] = textArray(suggestionLines(doc));
    j["progress"] = Json{{"max", progress.maximum()}, {"position", progress.position()}};
    return j;
}

} // namespace qmx::cli
