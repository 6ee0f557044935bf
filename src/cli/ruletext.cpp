#include "ruletext.h"

#include "report/bigini.h"
#include "rules/rulesettings.h"
#include "setup/settingslocation.h"
#include "setup/settingsnotices.h"
#include "util/error.h"
#include "util/fileio.h"
#include "util/text.h"


namespace qmx::cli {

namespace {

const char* const kParameters = "QMXREAD_PARAMETERS";
const char* const kRuleList = "RULE_LIST_SETTINGS";

// Opened from memory with no file name, so the store can never write back.
TBigIniFile openSettings(const std::string& path)
{
    return TBigIniFile(std::string(), readWholeFile(path));
}

bool knowsRuleSet(const TBigIniFile& store, const std::string& name)
{
    StringList sections;
    store.ReadSections(sections);
    for (const auto& s : sections)
        if (equalsNoCase(s, name))
            return true;
    const int32_t count = store.ReadInteger(kRuleList, "Count", 0);
    for (int32_t i = 0; i < count; ++i)
        if (equalsNoCase(store.ReadString(kRuleList, toDecimal(i), ""), name))
            return true;
    return false;
}

} // namespace

std::string programDirectory() { return runningProgramDirectory(); }

std::vector<std::string> splitAtLineFeeds(const std::string& text)
{
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t lf = text.find('\n', start);
        const bool last = lf == std::string::npos;
        if (last)
            lf = text.size();
        size_t end = lf;
        if (!last && end > start && text[end - 1] == '\r')
            --end;
        lines.push_back(text.substr(start, end - start));
        start = lf + 1;
    }
    return lines;
}

std::string loadRuleText(const RuleSource& source, std::string* whyNone)
{
    if (!source.rulesFile.empty())
        return RuleSettings::joinLines(splitAtLineFeeds(readWholeFile(source.rulesFile)));

    std::string path = source.settingsPath;
    if (path.empty()) {
        path = locateSettings();
        if (!fileExists(path)) {
            if (!source.ruleSet.empty())
                throw Error("Cannot run rule set \"" + source.ruleSet + "\": there is no settings file \"" +
                            path + "\"");
            if (whyNone)
                *whyNone = noRulesReason(path, false, {}, {});
            return std::string();
        }
    }
    // Read once here so that a settings file that cannot be read is an error.
    const TBigIniFile store = openSettings(path);
    std::string name = source.ruleSet;
    if (name.empty())
        name = store.ReadString(kParameters, "Default_Rule_Set", "DEFAULT");
    else if (!knowsRuleSet(store, name))
        throw Error("The settings file \"" + path + "\" has no rule set \"" + name + "\"");
    const std::vector<std::string> lines = RuleSettings::readRuleSetLines(path, name);
    if (whyNone)
        *whyNone = noRulesReason(path, true, name, lines);
    return RuleSettings::joinLines(lines);
}

} // namespace qmx::cli
