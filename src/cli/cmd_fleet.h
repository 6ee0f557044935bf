// Findings across many reports: `analyze --summary` runs the rules over
// every report and prints what they found, on how many reports and on which,
// with evidence; `summary` builds the same from the JSON lines that
// `analyze --summary --format jsonl` printed, so a large fleet can be split
// and its pieces summed.
#pragma once

#include "cli/args.h"

namespace qmx::cli {

// `analyze` with --summary; the other analyze options are checked here too.
int runFindingsSummary(const ParsedArgs& args);

// The number of jobs --jobs asks for (the number of cores when not given);
// throws UsageError for anything but a whole number from 1 to 256.
unsigned jobsOf(const ParsedArgs& args);
// Throws UsageError when an option that only --summary reads is given
// without it.
void checkSummaryOptions(const ParsedArgs& args);

extern const CommandSpec kSummaryCommand;

} // namespace qmx::cli
