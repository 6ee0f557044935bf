// The reports a batch command works on: each argument is a report, or a
// directory standing for the reports in it.
#pragma once

#include <string>
#include <vector>

namespace qmx {

// Each argument as given, except a directory, which stands for its regular
// files whose names end in ".txt" (any case), sorted by name (byte order),
// joined to the argument with "/". A directory that cannot be listed throws
// qmx::Error.
std::vector<std::string> expandReportPaths(const std::vector<std::string>& args);

} // namespace qmx
