#include "cli/ruletext.h"

#include "core/rules/rulesettings.h"
#include "core/setup/settingslocation.h"
#include "core/setup/settingsnotices.h"
#include "core/util/error.h"
#include "core/util/fileio.h"
#include "core/util/lines.h"

namespace qmx::cli {

RuleSource ruleSourceOf(const ParsedArgs& args)
{
    return {args.value("--settings"), args.value("--rule-set"), args.value("--rules-file")};
}

std::string loadRuleText(const RuleSource& source, std::string* whyNone)
{
    if (!source.rulesFile.empty())
        return joinLines(splitAtLineFeeds(readWholeFile(source.rulesFile)));

    std::string path = source.settingsPath;
    if (path.empty()) {
        const LocatedSettings located = locateSettingsFile();
        path = located.path;
        if (!fileExists(path)) {
            // A FIFO or device there is refused as it is with --settings.
            refuseNonRegularFile(path);
            if (!source.ruleSet.empty())
                throw Error("Cannot run rule set \"" + source.ruleSet
                            + "\": there is no settings file \"" + path + "\""
                            + (located.problem.empty() ? "" : ". " + located.problem));
            if (whyNone)
                *whyNone = noRulesReason(path, false, {}, {}, located.problem);
            return std::string();
        }
    }
    // An unknown rule set named on the command line is an error; the
    // default one may be missing and then has no lines.
    const bool named = !source.ruleSet.empty();
    const std::string name = named ? source.ruleSet : RuleSettings::defaultRuleSet(path);
    const std::vector<std::string> lines = RuleSettings::ruleLinesOf(path, name, named);
    if (whyNone)
        *whyNone = noRulesReason(path, true, name, lines);
    return joinLines(lines);
}

} // namespace qmx::cli
