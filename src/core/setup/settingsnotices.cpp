#include "core/setup/settingsnotices.h"

#include "core/store/bigini.h"
#include "core/util/error.h"
#include "core/util/fileio.h"
#include "core/util/text.h"

#include <algorithm>

namespace qmx {

bool unreadableAsSettings(const std::string& path)
{
    if (!fileExists(path))
        return false;
    std::string text = readWholeFile(path);
    if (text.empty())
        return false;
    // Opened without a file name, so it can never write back.
    const TBigIniFile ini(std::string(), std::move(text));
    StringList sections;
    ini.ReadSections(sections);
    return std::none_of(sections.begin(), sections.end(), [](const std::string& s) {
        return equalsNoCase(s, "QMXREAD_PARAMETERS") || equalsNoCase(s, "RULE_LIST_SETTINGS");
    });
}

std::string keepUnreadableSettings(const std::string& path)
{
    if (!unreadableAsSettings(path))
        return {};
    const std::string backup = path + ".bak";
    writeFileAtomic(backup, readWholeFile(path));
    return "\"" + path + "\" could not be read as settings; the old file is kept as \"" + backup
           + "\"";
}

std::string noRulesReason(const std::string& settingsPath, bool settingsFound,
                          const std::string& ruleSet, const std::vector<std::string>& ruleLines,
                          const std::string& locationProblem)
{
    try {
        refuseNonRegularFile(settingsPath);
    } catch (const Error& e) {
        return std::string("No rules run: ") + e.what();
    }
    if (!settingsFound)
        return "No rules run: no settings file found at \"" + settingsPath + "\""
               + (locationProblem.empty() ? "" : ". " + locationProblem);
    const bool empty = std::all_of(ruleLines.begin(), ruleLines.end(),
                                   [](const std::string& l) { return trimView(l).empty(); });
    if (empty)
        return "No rules run: the rule set \"" + ruleSet + "\" in \"" + settingsPath
               + "\" is empty";
    return {};
}

} // namespace qmx
