#include "core/rules/startupnotice.h"

#include "core/rules/rulesettings.h"
#include "core/setup/settingsnotices.h"

namespace qmx {

std::string startupNotice(const RuleSettings& settings, bool settingsFound,
                          const std::string& locationProblem)
{
    std::string notice;
    for (const std::string& part :
         {settings.backupNotice(), settings.skippedNotice(),
          noRulesReason(settings.iniPath(), settingsFound, settings.currentRuleSet(),
                        settings.editorLines(), locationProblem)}) {
        if (part.empty())
            continue;
        if (!notice.empty())
            notice += notice.back() == '.' ? " " : ". ";
        notice += part;
    }
    return notice;
}

} // namespace qmx
