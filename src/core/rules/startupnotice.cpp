#include "rules/startupnotice.h"

#include "rules/rulesettings.h"
#include "setup/settingsnotices.h"

namespace qmx {

std::string startupNotice(const RuleSettings& settings, bool settingsFound)
{
    std::string notice = settings.backupNotice();
    const std::string why = noRulesReason(settings.iniPath(), settingsFound,
                                          settings.currentRuleSet(), settings.editorLines());
    if (!notice.empty() && !why.empty())
        notice += ". ";
    return notice + why;
}

} // namespace qmx
