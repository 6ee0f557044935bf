// The findings of one report: the distinct non-empty lines that the rules'
// PRINT and SUGGEST statements wrote into its Suggestions text, each with the
// evidence that decided it (the variables read by the innermost IF condition
// around the statement, with the values that replaced them). Recorded during
// the one rule run of the load, never by interpreting the rules again.
#pragma once

#include "core/report/loader.h"
#include "core/rules/ruleobserver.h"

#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

namespace qmx {

struct Evidence {
    std::string reference; // "%NAME%" as the condition held it
    std::string value;     // what replaced it; empty when missing or blank
    bool operator==(const Evidence&) const = default;
};

struct Finding {
    std::string text; // one Suggestions line, Windows-1252
    std::vector<Evidence> evidence;
    bool operator==(const Finding&) const = default;
};

struct ReportFindings {
    std::string path;
    std::string computer;          // %COMPUTERNAME%, or the file name when that is empty
    std::vector<Finding> findings; // in the order they were first written
    std::string error;             // why the report could not be read; findings empty then
};

// Listens to one rule run that writes into output.
class FindingsRecorder : public RuleObserver {
public:
    explicit FindingsRecorder(const std::vector<std::string>& output) : output_(output) {}

    void conditionStarted() override { frames_.emplace_back(); }
    void referenceRead(std::string_view reference, std::string_view value, bool found) override;
    void conditionEnded() override;
    void printed(size_t first, size_t end) override;

    std::vector<Finding> take() { return std::move(findings_); }

private:
    const std::vector<std::string>& output_;
    std::vector<std::vector<Evidence>> frames_;
    std::vector<Finding> findings_;
    std::unordered_set<std::string> seen_;
};

// The name a report is known by: its %COMPUTERNAME% value, trimmed, or the
// file name of path when that is empty.
std::string computerNameOf(const VariableList& variables, const std::string& path);

// Loads the report at path as `analyze` does and runs ruleText over it,
// recording the findings. A report that cannot be read gives its error and no
// findings; nothing is thrown for it.
ReportFindings findReportFindings(const std::string& path, const std::string& ruleText);

} // namespace qmx
