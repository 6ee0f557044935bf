// Generator of synthetic workstation reports for benchmarks and tests.
#pragma once
#include <string>
namespace qmx::bench {
struct ReportSpec { size_t lines = 1000; unsigned seed = 1; };
std::string generateReport(const ReportSpec& spec);
}
