#include "rules/startupnotice.h"

#include "rules/rulesettings.h"
#include "setup/settingsnotices.h"

namespace qmx {

std::string startupNotice(const RuleSettings& settings, bool settingsFound,
                          const std::string& locationProblem)
{
    std::string notice = settings.backupNotice();
    const std::string why =
        noRulesReason(settings.iniPath(), settingsFound, settings.currentRuleSet(),
                      settings.editorLines(), locationProblem);
    if (!notice.empty() && !why.empty())
        notice += ". ";
    return notice + why;
}

} // namespace qmx
