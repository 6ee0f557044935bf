// `qmxread-cli update`: the FTP update of the Options dialog's FTP page,
// without the dialog, for scripted roll-outs.
#pragma once

#include "cli/args.h"

namespace qmx::cli {

extern const CommandSpec kUpdateCommand;

} // namespace qmx::cli
