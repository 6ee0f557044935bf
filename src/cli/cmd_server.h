// The `server` command of qmxread-cli.
#pragma once

#include "cli/args.h"

#include <ostream>

namespace qmx {
struct ServerReport;
}

namespace qmx::cli {

inline constexpr const char* kServerUsage =
    "Usage: qmxread-cli server REPORT\n"
    "  Prints the parsed server configuration report as JSON: fields, label2, label9,\n"
    "  label10, patches, modules, startup_zcf, autoexec_zcf, config_sys, autoexec_bat,\n"
    "  volumes, interrupts, status.\n";

// The report as a JSON object, UTF-8, indented by two spaces.
void writeServerJson(const ServerReport& r, std::ostream& out);

extern const CommandSpec kServerCommand;

} // namespace qmx::cli
