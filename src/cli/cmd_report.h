// The commands of qmxread-cli that read workstation reports (report,
// variables, analyze, attached) and eval, which decides one condition.
#pragma once

#include "cli/args.h"

namespace qmx::cli {

extern const CommandSpec kReportCommand;
extern const CommandSpec kVariablesCommand;
extern const CommandSpec kAnalyzeCommand;
extern const CommandSpec kAttachedCommand;
extern const CommandSpec kEvalCommand;

} // namespace qmx::cli
