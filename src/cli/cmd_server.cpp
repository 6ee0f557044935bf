// `qmxread-cli server REPORT`: the parsed server configuration report as one
// JSON object, the texts the server window would show. A large report holds
// tens of thousands of list entries, so the JSON is written straight into one
// buffer instead of being built as a tree first.
#include "cmd_server.h"

#include "util/cp1252.h"

#include "server/serverreport.h"
#include "util/error.h"

#include <iostream>

namespace qmx::cli {

namespace {

class JsonWriter {
public:
    std::string& text() { return out_; }

    void string(std::string_view cp1252)
    {
        utf8_.clear();
        appendUtf8(utf8_, cp1252);
        out_ += '"';
        for (const char c : utf8_) {
            switch (c) {
            case '"': out_ += "\\\""; break;
            case '\\': out_ += "\\\\"; break;
            case '\n': out_ += "\\n"; break;
            case '\r': out_ += "\\r"; break;
            case '\t': out_ += "\\t"; break;
            default:
                if (static_cast<unsigned char>(c) < 0x20) {
                    static const char hex[] = "0123456789abcdef";
                    out_ += "\\u00";
                    out_ += hex[(c >> 4) & 0xF];
                    out_ += hex[c & 0xF];
                } else {
                    out_ += c;
                }
            }
        }
        out_ += '"';
    }

    // "key": at the given depth, after a comma when not the first member.
    void key(std::string_view name, int depth, bool first)
    {
        out_ += first ? "\n" : ",\n";
        out_.append(static_cast<size_t>(depth) * 2, ' ');
        out_ += '"';
        out_ += name;
        out_ += "\": ";
    }

    template <class Range> void strings(const Range& texts, int depth)
    {
        array(texts, depth, [this](const auto& t, int) { string(t); });
    }

    template <class Rows> void rows(const Rows& rows, int depth)
    {
        array(rows, depth, [this](const auto& row, int inner) { strings(row, inner); });
    }

private:
    // "[]" when empty, else one element a line, indented one level deeper.
    template <class Range, class Element> void array(const Range& range, int depth, Element&& element)
    {
        if (std::begin(range) == std::end(range)) {
            out_ += "[]";
            return;
        }
        out_ += '[';
        bool first = true;
        for (const auto& item : range) {
            out_ += first ? "\n" : ",\n";
            first = false;
            out_.append(static_cast<size_t>(depth + 1) * 2, ' ');
            element(item, depth + 1);
        }
        out_ += '\n';
        out_.append(static_cast<size_t>(depth) * 2, ' ');
        out_ += ']';
    }

    std::string out_;
    std::string utf8_;
};

} // namespace

std::string serverToJson(const ServerReport& r)
{
    JsonWriter w;
    // Nearly every report line reappears in one list or another.
    if (r.text)
        w.text().reserve(r.text->size() + r.text->size() / 2 + 1024);
    w.text() += '{';
    w.key("fields", 1, true);
    w.text() += '{';
    const std::pair<const char*, const std::string*> fields[] = {
        {"os_version", &r.osVersion}, {"server_name", &r.serverName}, {"total_memory", &r.totalMemory},
        {"license", &r.license},      {"engine_type", &r.engineType}, {"internal_net", &r.internalNet}};
    for (const auto& [name, value] : fields) {
        w.key(name, 2, name == fields[0].first);
        w.string(*value);
    }
    w.text() += "\n  }";
    const std::pair<const char*, const std::string*> labels[] = {
        {"label2", &r.label2}, {"label9", &r.label9}, {"label10", &r.label10}};
    for (const auto& [name, value] : labels) {
        w.key(name, 1, false);
        w.string(*value);
    }
    const std::pair<const char*, const std::vector<std::string>*> lists[] = {
        {"patches", &r.patches},        {"modules", &r.modules},       {"startup_zcf", &r.startupZcf},
        {"autoexec_zcf", &r.autoexecZcf}, {"config_sys", &r.configSys}, {"autoexec_bat", &r.autoexecBat}};
    for (const auto& [name, list] : lists) {
        w.key(name, 1, false);
        w.strings(*list, 1);
    }
    w.key("volumes", 1, false);
    w.rows(r.volumes, 1);
    w.key("interrupts", 1, false);
    w.rows(r.interrupts, 1);
    w.key("status", 1, false);
    w.strings(r.status, 1);
    w.text() += "\n}\n";
    return std::move(w.text());
}

namespace {

int cmdServer(const ParsedArgs& args)
{
    ServerReport r;
    try {
        r = loadServerReport(args.operands[0]);
    } catch (const Error& e) {
        std::cerr << "qmxread-cli: " << toUtf8(e.what()) << '\n';
        return kFailed;
    }
    const std::string json = serverToJson(r);
    std::cout.write(json.data(), static_cast<std::streamsize>(json.size()));
    return kOk;
}

} // namespace

const CommandSpec kServerCommand{"server",
                                 {},
                                 1,
                                 1,
                                 "server takes one REPORT",
                                 cmdServer,
                                 kServerUsage,
                                 HelpKind::Usage,
                                 {"unknown option %w", "", "unknown option %w"},
                                 true};

} // namespace qmx::cli
