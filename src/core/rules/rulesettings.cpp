#include "rules/rulesettings.h"

#include "setup/settingsnotices.h"
#include "store/bigini.h"
#include "util/error.h"
#include "util/fileio.h"
#include "util/lines.h"
#include "util/text.h"

#include <algorithm>
#include <utility>

namespace qmx {

namespace {

const std::string kParameters = "QMXREAD_PARAMETERS";
const std::string kRuleList = "RULE_LIST_SETTINGS";
const std::string kCount = "Count";
const std::string kDefaultRuleSet = "Default_Rule_Set";

// The initial texts of a dialog that found no settings file.
const std::string kDefaultHost = "ftp.example.com";
const std::string kAnonymousPassword = "qmxread@example.com";

// Numbered keys past the last one stored read as empty, so a damaged Count
// near 2^31 would fill memory with empty lines before the dialog appears.
// No real rule set or list comes near this many lines.
constexpr int32_t kMaxCount = 100000;

int32_t readCount(const TBigIniFile& ini, const std::string& section)
{
    return std::min(ini.ReadInteger(section, kCount, 0), kMaxCount);
}

std::vector<std::string> readLines(const TBigIniFile& ini, const std::string& section)
{
    std::vector<std::string> lines;
    const int32_t count = readCount(ini, section);
    for (int32_t i = 0; i < count; ++i)
        lines.push_back(ini.ReadString(section, toDecimal(i), ""));
    return lines;
}

// Replaces a section by Count and the numbered lines. Erasing first drops
// lines beyond the new count and moves the section to the end of the file.
void writeLines(TBigIniFile& ini, const std::string& section, const std::vector<std::string>& lines)
{
    ini.EraseSection(section);
    ini.WriteInteger(section, kCount, static_cast<int32_t>(lines.size()));
    for (size_t i = 0; i < lines.size(); ++i)
        ini.WriteString(section, toDecimal(static_cast<long long>(i)), lines[i]);
}

// A rule set is known by its section or by its entry in the list.
bool knowsRuleSet(const TBigIniFile& ini, const std::string& name)
{
    StringList sections;
    ini.ReadSections(sections);
    for (const auto& s : sections)
        if (equalsNoCase(s, name))
            return true;
    const int32_t count = readCount(ini, kRuleList);
    for (int32_t i = 0; i < count; ++i)
        if (equalsNoCase(ini.ReadString(kRuleList, toDecimal(i), ""), name))
            return true;
    return false;
}

} // namespace

RuleSettings::RuleSettings(std::string iniPath) : iniPath_(std::move(iniPath))
{
    ftp_ = FtpFields{kDefaultHost, "21", "anonymous", kAnonymousPassword, "incoming", "", "0",
                     "5000", false};
}

void RuleSettings::loadIfPresent()
{
    if (!fileExists(iniPath_))
        return;
    load();
    const TBigIniFile ini(iniPath_);
    recent_.read(ini);
}

void RuleSettings::keepUnreadable()
{
    std::string notice = keepUnreadableSettings(iniPath_);
    if (!notice.empty())
        backupNotice_ = std::move(notice);
}

void RuleSettings::load()
{
    // A file read again after a fetch may be no settings file either.
    keepUnreadable();
    const TBigIniFile ini(iniPath_);

    FtpFields f;
    f.host = ini.ReadString(kParameters, "Host", kDefaultHost);
    f.port = ini.ReadString(kParameters, "Port", "21");
    f.userName = ini.ReadString(kParameters, "User_Name", "anonymous");
    f.password = ini.ReadString(kParameters, "Password", "");
    f.directory = ini.ReadString(kParameters, "Directory", "outgoing");
    f.proxyServer = ini.ReadString(kParameters, "Proxy_Server", "");
    f.proxyPort = ini.ReadString(kParameters, "Proxy_Port", "0");
    f.timeout = ini.ReadString(kParameters, "Timeout", "5000");
    f.useProxy = ini.ReadBool(kParameters, "Use_Proxy", false);

    std::string current = ini.ReadString(kParameters, kDefaultRuleSet, "DEFAULT");

    std::vector<std::string> names;
    int selected = -1;
    const int32_t count = readCount(ini, kRuleList);
    for (int32_t i = 0; i < count; ++i) {
        names.push_back(ini.ReadString(kRuleList, toDecimal(i), ""));
        if (names.back() == current)
            selected = i;
    }

    std::vector<std::string> editor = readLines(ini, current);

    ftp_ = std::move(f);
    current_ = std::move(current);
    ruleSets_ = std::move(names);
    selected_ = selected;
    editor_ = std::move(editor);
}

void RuleSettings::save()
{
    keepUnreadable();
    TBigIniFile ini(iniPath_);
    ini.WriteString(kParameters, "Host", ftp_.host);
    ini.WriteString(kParameters, "Port", ftp_.port);
    ini.WriteString(kParameters, "User_Name", ftp_.userName);
    ini.WriteString(kParameters, "Password", ftp_.password);
    ini.WriteString(kParameters, "Directory", ftp_.directory);
    ini.WriteString(kParameters, "Proxy_Server", ftp_.proxyServer);
    ini.WriteString(kParameters, "Proxy_Port", ftp_.proxyPort);
    ini.WriteString(kParameters, "Timeout", ftp_.timeout);
    ini.WriteBool(kParameters, "Use_Proxy", ftp_.useProxy);

    writeLines(ini, kRuleList, ruleSets_);

    const std::string chosen = selectedRuleSet();
    ini.WriteString(kParameters, kDefaultRuleSet, chosen);
    writeLines(ini, chosen, editor_);
    recent_.write(ini);
    ini.UpdateFile();
}

std::string RuleSettings::selectedRuleSet() const
{
    if (selected_ < 0 || static_cast<size_t>(selected_) >= ruleSets_.size())
        return {};
    return ruleSets_[static_cast<size_t>(selected_)];
}

std::string RuleSettings::ruleText() const { return joinLines(editor_); }

void RuleSettings::select(int index)
{
    const int previous = selected_;
    selected_ = index >= 0 && static_cast<size_t>(index) < ruleSets_.size() ? index : -1;
    try {
        // The editor's text goes to the rule set it belongs to, then the
        // chosen one is read back from the same store.
        keepUnreadable();
        TBigIniFile ini(iniPath_);
        writeLines(ini, current_, editor_);
        const std::string chosen = selectedRuleSet();
        std::vector<std::string> lines = readLines(ini, chosen);
        ini.UpdateFile();
        editor_ = std::move(lines);
        current_ = chosen;
    } catch (...) {
        selected_ = previous;
        throw;
    }
}

void RuleSettings::addRuleSet(const std::string& name)
{
    if (trimView(name).empty())
        throw Error("Please enter a rule set name.");
    for (char c : name)
        if (static_cast<unsigned char>(c) < 32)
            throw Error("A rule set name cannot contain line breaks or other control characters.");
    for (const std::string& listed : ruleSets_)
        if (equalsNoCase(listed, name))
            throw Error("A rule set named '" + listed + "' already exists.");
    // Each rule set is kept in a section named after it; these sections
    // hold the program's own settings.
    if (equalsNoCase(name, kParameters) || equalsNoCase(name, kRuleList)
        || equalsNoCase(name, RecentFiles::kSection))
        throw Error("'" + name + "' is reserved for the program's own settings; choose another name.");

    ruleSets_.push_back(name);
    try {
        select(static_cast<int>(ruleSets_.size()) - 1);
    } catch (...) {
        ruleSets_.pop_back();
        throw;
    }
    // A new rule set starts empty even when a section of that name was left
    // in the file; the empty text is stored at the next switch or at the end.
    editor_.clear();
}

void RuleSettings::removeSelected()
{
    if (selected_ < 0 || static_cast<size_t>(selected_) >= ruleSets_.size())
        return;
    const std::string removed = ruleSets_[static_cast<size_t>(selected_)];
    std::vector<std::string> names = ruleSets_;
    names.erase(names.begin() + selected_);
    const std::string first = names.empty() ? std::string() : names.front();

    // The removed rule set's text is discarded, not saved.
    keepUnreadable();
    TBigIniFile ini(iniPath_);
    ini.EraseSection(removed);
    std::vector<std::string> lines = readLines(ini, first);
    ini.UpdateFile();

    ruleSets_ = std::move(names);
    selected_ = ruleSets_.empty() ? -1 : 0;
    editor_ = std::move(lines);
    current_ = first;
}

std::vector<std::string> RuleSettings::ruleLinesOf(const std::string& iniPath, const std::string& name,
                                                  bool mustExist)
{
    const TBigIniFile ini(readOnly, iniPath);
    if (mustExist && !knowsRuleSet(ini, name))
        throw Error("The settings file \"" + iniPath + "\" has no rule set \"" + name + "\"");
    return readLines(ini, name);
}

std::string RuleSettings::defaultRuleSet(const std::string& iniPath)
{
    const TBigIniFile ini(readOnly, iniPath);
    return ini.ReadString(kParameters, kDefaultRuleSet, "DEFAULT");
}

std::string RuleSettings::ruleTextOf(const std::string& iniPath, const std::string& name)
{
    return joinLines(ruleLinesOf(iniPath, name, true));
}

std::string RuleSettings::defaultRuleText(const std::string& iniPath)
{
    return joinLines(ruleLinesOf(iniPath, defaultRuleSet(iniPath), false));
}

} // namespace qmx
