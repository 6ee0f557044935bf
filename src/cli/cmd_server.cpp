// `qmxread-cli server REPORT`: the parsed server configuration report as one
// JSON object, the texts the server window would show.
#include "cmd_server.h"

#include "jsonout.h"
#include "usage.h"

#include "server/serverreport.h"
#include "util/cp1252.h"
#include "util/error.h"
#include "util/fileio.h"

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

template <class Rows> Json rows(const Rows& rows)
{
    Json a = Json::array();
    for (const auto& row : rows)
        a.push_back(texts(row));
    return a;
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
    w.member("volumes", rows(r.volumes));
    w.member("interrupts", rows(r.interrupts));
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
