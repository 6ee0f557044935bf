// Rebuilds one attached text file from the numbered GETFILE lines that the
// scanner copied into the report.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace qmx {

// Appends the rebuilt lines of attached file `name` to out. A missing file
// gives the single line "FILE NOT FOUND!!!". A count that is not a whole
// number throws qmx::Error("'TEXT' is not a valid integer value"); the lines
// appended before that stay in out. A report line that holds several tags of
// the file gives one line of it, under the first of those tags, so the text
// never outgrows the report.
void extractAttached(const std::vector<std::string_view>& reportLines, const std::string& name,
                     std::vector<std::string>& out);
void extractAttached(const std::vector<std::string>& reportLines, const std::string& name,
                     std::vector<std::string>& out);

} // namespace qmx
