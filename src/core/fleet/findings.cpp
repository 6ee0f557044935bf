#include "core/fleet/findings.h"

#include "core/rules/interpreter.h"
#include "core/util/error.h"
#include "core/util/text.h"

namespace qmx {

void FindingsRecorder::referenceRead(std::string_view reference, std::string_view value, bool found)
{
    if (frames_.empty())
        return;
    // A condition that reads one variable twice shows it once.
    for (const Evidence& e : frames_.back())
        if (e.reference == reference)
            return;
    frames_.back().push_back({std::string(reference), found ? std::string(value) : std::string()});
}

void FindingsRecorder::conditionEnded()
{
    if (!frames_.empty())
        frames_.pop_back();
}

void FindingsRecorder::printed(size_t first, size_t end)
{
    for (size_t i = first; i < end && i < output_.size(); ++i) {
        const std::string& line = output_[i];
        if (line.empty() || !seen_.insert(line).second)
            continue;
        Finding f{line, {}};
        if (!frames_.empty())
            f.evidence = frames_.back();
        findings_.push_back(std::move(f));
    }
}

std::string computerNameOf(const VariableList& variables, const std::string& path)
{
    const VariableList::Id id = variables.findFirstByName("%COMPUTERNAME%");
    if (id != VariableList::npos) {
        std::string name = trim(VariableList::valueOf(variables.text(id)));
        if (!name.empty())
            return name;
    }
    const size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

ReportFindings findReportFindings(const std::string& path, const std::string& ruleText)
{
    ReportFindings result;
    result.path = path;
    try {
        ReportDocument doc;
        LoadOptions options;
        options.runRules = [&](ReportDocument& d) {
            // Named before the rules run, so a rule that SETs the name does
            // not move the report to another host.
            result.computer = computerNameOf(d.variables, path);
            FindingsRecorder recorder(d.suggestions);
            runRules(d.variables, d.suggestions, false, ruleText, &recorder);
            result.findings = recorder.take();
        };
        loadall(doc, path, options);
    } catch (const std::exception& e) {
        result = ReportFindings{path, {}, {}, errorMessage(e, "load \"" + path + "\"")};
    }
    return result;
}

} // namespace qmx
