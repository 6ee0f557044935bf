#include "ruletext.h"

#include "rules/rulesettings.h"
#include "util/error.h"
#include "util/fileio.h"
#include "util/lines.h"

#include <climits>
#include <unistd.h>

namespace qmx::cli {

std::string programDirectory()
{
    char buf[PATH_MAX];
    const ssize_t n = ::readlink("/proc/self/exe", buf, sizeof buf - 1);
    if (n <= 0)
        return std::string();
    return directoryOf(std::string(buf, static_cast<size_t>(n)));
}

std::string loadRuleText(const RuleSource& source)
{
    if (!source.rulesFile.empty())
        return joinLines(splitAtLineFeeds(readWholeFile(source.rulesFile)));

    std::string path = source.settingsPath;
    if (path.empty()) {
        const std::string dir = programDirectory();
        path = dir + "QMXRead.ini";
        if (dir.empty() || !fileExists(path)) {
            if (!source.ruleSet.empty())
                throw Error("Cannot run rule set \"" + source.ruleSet + "\": there is no settings file \"" +
                            path + "\"");
            return std::string();
        }
    }
    if (source.ruleSet.empty())
        return RuleSettings::defaultRuleText(path);
    return RuleSettings::ruleTextOf(path, source.ruleSet);
}

} // namespace qmx::cli
