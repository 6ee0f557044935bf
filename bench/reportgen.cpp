#include "reportgen.h"
namespace qmx::bench {
std::string generateReport(const ReportSpec&) { return {}; }
}
