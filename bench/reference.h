// Plain, slow reference versions of what the product does quickly, kept for
// the tests and benchmarks that check and measure the product against them.
#pragma once

#include "core/report/loader.h"
#include "core/store/variables.h"

#include <string>

namespace qmx::bench {

// The fixed tags a report variable list starts with, in list order; OWNER
// stands twice, as it does in the list.
inline constexpr const char* kFixedTags[] = {"CURRENTDATE",
                                             "CURRENTTIME",
                                             "COMPUTERNAME",
                                             "OSVERSION",
                                             "TOTALMEMORY",
                                             "CPU",
                                             "USERNAME",
                                             "UPTIME",
                                             "MESSAGE",
                                             "SWAPFILESIZE",
                                             "SWAPFILESETTING",
                                             "OWNER",
                                             "ORGANIZATION",
                                             "AVAILABLEMEMORY",
                                             "BIOSINFO",
                                             "VIDEOCARD",
                                             "CLIENTVERSION",
                                             "IPXADDRESS",
                                             "BIOSVIDEOINFO",
                                             "LASTBOOT",
                                             "MONITORDRIVERDESCRIPTION",
                                             "TIMEZONE",
                                             "OWNER"};

// The whole text of a loaded report, every line followed by CR LF.
std::string wholeText(const ReportDocument& doc);

// The report's getvalue read literally: the rest of the line after the
// first occurrence of search in the whole text, or "" when it does not
// occur. The loader answers the same for its fixed tags in one pass.
std::string getvalue(const ReportDocument& doc, const std::string& search);

// The variable look-ups answered by walking the list in order every time,
// with no index: plug it into a list with setLookup(&linearLookup()).
const VariableList::Lookup& linearLookup();

} // namespace qmx::bench
