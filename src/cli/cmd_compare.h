// qmxread-cli compare: the comparison grid of several reports, as JSON or
// CSV, each report taken as a ticked report window captioned with its path.
#pragma once

#include <string>
#include <vector>

namespace qmx::cli {

// args: the arguments after "compare". Returns the exit status.
int cmdCompare(const std::vector<std::string>& args);

} // namespace qmx::cli
