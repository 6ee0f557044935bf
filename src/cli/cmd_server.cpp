// `qmxread-cli server REPORT`: the parsed server configuration report as one
// JSON object, the texts the server window would show.
#include "cmd_server.h"

#include "cp1252.h"

#include "server/serverreport.h"
#include "util/error.h"

#include <nlohmann/json.hpp>

#include <iostream>

namespace qmx::cli {

namespace {

template <class Range> nlohmann::ordered_json textArray(const Range& texts)
{
    nlohmann::ordered_json a = nlohmann::ordered_json::array();
    for (const auto& t : texts)
        a.push_back(toUtf8(t));
    return a;
}

template <class Rows> nlohmann::ordered_json rowArray(const Rows& rows)
{
    nlohmann::ordered_json a = nlohmann::ordered_json::array();
    for (const auto& row : rows)
        a.push_back(textArray(row));
    return a;
}

} // namespace

nlohmann::ordered_json serverToJson(const ServerReport& r)
{
    nlohmann::ordered_json j = nlohmann::ordered_json::object();
    j["fields"] = {{"os_version", toUtf8(r.osVersion)},   {"server_name", toUtf8(r.serverName)},
                   {"total_memory", toUtf8(r.totalMemory)}, {"license", toUtf8(r.license)},
                   {"engine_type", toUtf8(r.engineType)},   {"internal_net", toUtf8(r.internalNet)}};
    j["label2"] = toUtf8(r.label2);
    j["label9"] = toUtf8(r.label9);
    j["label10"] = toUtf8(r.label10);
    j["patches"] = textArray(r.patches);
    j["modules"] = textArray(r.modules);
    j["startup_zcf"] = textArray(r.startupZcf);
    j["autoexec_zcf"] = textArray(r.autoexecZcf);
    j["config_sys"] = textArray(r.configSys);
    j["autoexec_bat"] = textArray(r.autoexecBat);
    j["volumes"] = rowArray(r.volumes);
    j["interrupts"] = rowArray(r.interrupts);
    j["status"] = textArray(r.status);
    return j;
}

int runServerCommand(const std::vector<std::string>& args)
{
    std::vector<std::string> operands;
    bool optionsEnded = false;
    for (const std::string& a : args) {
        if (!optionsEnded && (a == "--help" || a == "-h")) {
            std::cout << kServerUsage;
            return 0;
        }
        if (!optionsEnded && a == "--") {
            optionsEnded = true;
            continue;
        }
        if (!optionsEnded && a.size() > 1 && a[0] == '-') {
            std::cerr << "qmxread-cli: unknown option " << a << "\n\n" << kServerUsage;
            return 2;
        }
        operands.push_back(a);
    }
    if (operands.size() != 1) {
        std::cerr << "qmxread-cli: server takes one REPORT\n\n" << kServerUsage;
        return 2;
    }
    ServerReport r;
    try {
        r = loadServerReport(operands[0]);
    } catch (const Error& e) {
        std::cerr << "qmxread-cli: " << toUtf8(e.what()) << '\n';
        return 1;
    }
    std::cout << serverToJson(r).dump(2) << '\n';
    return 0;
}

} // namespace qmx::cli
