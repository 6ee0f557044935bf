// qmxread-cli compare: the comparison grid of several reports, as JSON or
// CSV, each report taken as a ticked report window captioned with its path.
#pragma once

#include "cli/args.h"

namespace qmx::cli {

extern const CommandSpec kCompareCommand;

} // namespace qmx::cli
