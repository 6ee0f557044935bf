// `qmxread-cli server REPORT`: the parsed server configuration report as one
// JSON object, the texts the server window would show.
#include "cli/cmd_server.h"

#include "cli/jsonout.h"
#include "cli/usage.h"

#include "core/server/serverreport.h"
#include "core/util/cp1252.h"
#include "core/util/error.h"
#include "core/util/fileio.h"

#include <unistd.h>

#include <iostream>

namespace qmx::cli {

namespace {

template <class Range> Json texts(const Range& items)
{
    Json a = Json::array();
    for (const auto& item : items)
        a.push_back(toUtf8(item));
    return a;
}

// A table's rows, one at a time: a table of long lines is several times the
// report's size as JSON, so it is never held whole.
template <class Rows> void writeRows(JsonObjectWriter& w, const std::string& key, const Rows& rows)
{
    w.arrayMember(key, rows.size(), [&](size_t i) { return texts(rows[i]); });
}

} // namespace

void writeServerJson(const ServerReport& r, std::ostream& out)
{
    JsonObjectWriter w(out);
    w.member("fields", {{"os_version", toUtf8(r.osVersion)},
                        {"server_name", toUtf8(r.serverName)},
                        {"total_memory", toUtf8(r.totalMemory)},
                        {"license", toUtf8(r.license)},
                        {"engine_type", toUtf8(r.engineType)},
                        {"internal_net", toUtf8(r.internalNet)}});
    w.member("label2", toUtf8(r.label2));
    w.member("label9", toUtf8(r.label9));
    w.member("label10", toUtf8(r.label10));
    const std::pair<const char*, const TextLines*> lists[] = {
        {"patches", &r.patches},        {"modules", &r.modules},
        {"startup_zcf", &r.startupZcf}, {"autoexec_zcf", &r.autoexecZcf},
        {"config_sys", &r.configSys},   {"autoexec_bat", &r.autoexecBat}};
    for (const auto& [name, list] : lists)
        w.member(name, texts(*list));
    writeRows(w, "volumes", r.volumes);
    writeRows(w, "interrupts", r.interrupts);
    w.member("status", texts(r.status));
    w.finish();
}

namespace {

// The report's text. A file that is not there or may not be opened gives
// the server window's standard message; a file the reader refuses (not a
// regular file, too large) or fails to read gives the reason every other
// command gives.
std::string serverText(const std::string& path)
{
    try {
        return readWholeFile(path);
    } catch (const Error&) {
        if (::access(path.c_str(), R_OK) != 0)
            throw Error("Cannot open file " + path);
        throw;
    }
}

int cmdServer(const ParsedArgs& args)
{
    ServerReport r;
    try {
        std::string text = serverText(args.operands[0]);
        const auto size = static_cast<long long>(text.size());
        r = parseServerReport(std::move(text), size);
    } catch (const Error& e) {
        printError(e.what());
        return kFailed;
    }
    writeServerJson(r, std::cout);
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
