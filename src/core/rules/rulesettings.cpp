#include "core/rules/rulesettings.h"

#include "core/rules/settingsfile.h"
#include "core/setup/settingsnotices.h"
#include "core/store/bigini.h"
#include "core/util/error.h"
#include "core/util/fileio.h"
#include "core/util/lines.h"
#include "core/util/text.h"

#include <algorithm>
#include <utility>

namespace qmx {

namespace {

const std::string& kParameters = kParametersSection;
const std::string& kDefaultRuleSet = kDefaultRuleSetKey;

// The initial texts of a dialog that found no settings file.
const std::string kDefaultHost = "ftp.example.com";
const std::string kAnonymousPassword = "qmxread@example.com";

// A rule set is known by its section or by its entry in the list.
bool knowsRuleSet(const TBigIniFile& ini, const std::string& name)
{
    StringList sections;
    ini.ReadSections(sections);
    const auto same = [&](const std::string& s) { return equalsNoCase(s, name); };
    return std::any_of(sections.begin(), sections.end(), same)
           || std::ranges::any_of(readNumbered(ini, kRuleListSection).lines, same);
}

FtpFields readFtp(const TBigIniFile& ini)
{
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
    return f;
}

// Writes the fields that differ from base, in the file's key order; with no
// base, all of them.
void writeFtp(TBigIniFile& ini, const FtpFields& f, const FtpFields* base)
{
    const std::pair<const char*, std::string FtpFields::*> texts[] = {
        {"Host", &FtpFields::host},
        {"Port", &FtpFields::port},
        {"User_Name", &FtpFields::userName},
        {"Password", &FtpFields::password},
        {"Directory", &FtpFields::directory},
        {"Proxy_Server", &FtpFields::proxyServer},
        {"Proxy_Port", &FtpFields::proxyPort},
        {"Timeout", &FtpFields::timeout},
    };
    for (const auto& [key, field] : texts)
        if (!base || f.*field != base->*field)
            ini.WriteString(kParameters, key, f.*field);
    if (!base || f.useProxy != base->useProxy)
        ini.WriteBool(kParameters, "Use_Proxy", f.useProxy);
}

std::string quotedList(const std::vector<std::string>& names)
{
    std::string out;
    for (const std::string& n : names)
        out += (out.empty() ? "'" : ", '") + n + "'";
    return out;
}

} // namespace

RuleSettings::RuleSettings(std::string iniPath) : iniPath_(std::move(iniPath))
{
    ftp_ = FtpFields{kDefaultHost, "21",   "anonymous", kAnonymousPassword, "incoming", "",
                     "0",          "5000", false};
    ftpBase_ = ftp_;
    editorBase_.emplace();
}

void RuleSettings::loadIfPresent()
{
    if (!fileExists(iniPath_))
        return;
    keepUnreadable();
    const TBigIniFile ini(iniPath_);
    loadFrom(ini);
    recent_.read(ini);
    recentBase_ = recent_;
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
    loadFrom(ini);
}

void RuleSettings::loadFrom(const TBigIniFile& ini)
{
    FtpFields f = readFtp(ini);
    std::string current = ini.ReadString(kParameters, kDefaultRuleSet, "DEFAULT");

    // A listed reserved name would have the editor show, and the saves erase,
    // the settings' own sections: it is neither shown nor written.
    std::vector<std::string> names, skipped;
    int selected = -1;
    for (std::string& name : readNumbered(ini, kRuleListSection).lines) {
        if (isReservedName(name)) {
            skipped.push_back(std::move(name));
            continue;
        }
        names.push_back(std::move(name));
        if (names.back() == current)
            selected = static_cast<int>(names.size()) - 1;
    }
    NumberedLines text;
    if (isReservedName(current)) {
        if (std::ranges::none_of(skipped,
                                 [&](const std::string& n) { return equalsNoCase(n, current); }))
            skipped.push_back(current);
        current.clear();
    } else {
        text = readNumbered(ini, current);
    }

    ftp_ = f;
    ftpBase_ = std::move(f);
    current_ = std::move(current);
    ruleSets_ = names;
    listBase_ = std::move(names);
    selected_ = selected;
    editor_ = text.lines;
    editorBase_ = std::move(text.lines);
    editorCut_ = text.cut;
    switched_ = false;
    skippedNotice_ =
        skipped.empty()
            ? std::string()
            : quotedList(skipped) + (skipped.size() > 1 ? " are" : " is")
                  + " reserved for the program's own settings and not shown as a rule set.";
}

void RuleSettings::checkStorable() const
{
    if (editorCut_)
        throw Error("Rule set '" + current_
                    + "' has more lines than were read from the settings file; "
                      "its text is not saved, so that the lines not read are kept.");
    const std::string problem = ruleTextProblem(editor_);
    if (!problem.empty())
        throw Error(problem);
}

void RuleSettings::noteEdited(const std::string& ruleSet)
{
    if (std::ranges::none_of(edited_,
                             [&](const std::string& n) { return equalsNoCase(n, ruleSet); }))
        edited_.push_back(ruleSet);
}

void RuleSettings::save()
{
    const bool edited = editorEdited();
    if (edited)
        checkStorable();
    keepUnreadable();
    const bool whole = !fileExists(iniPath_);
    TBigIniFile ini(iniPath_);
    if (whole)
        writeWhole(ini);
    else
        writeChanges(ini);
    ini.UpdateFile();

    if (whole || edited)
        noteEdited(selectedRuleSet());
    ftpBase_ = ftp_;
    listBase_ = ruleSets_;
    editorBase_ = editor_;
    recentBase_ = recent_;
    switched_ = false;
}

// A new file: everything the dialog holds, in the file's order.
void RuleSettings::writeWhole(TBigIniFile& ini)
{
    writeFtp(ini, ftp_, nullptr);
    writeNumbered(ini, kRuleListSection, ruleSets_);
    const std::string chosen = selectedRuleSet();
    ini.WriteString(kParameters, kDefaultRuleSet, chosen);
    writeNumbered(ini, chosen, editor_);
    recent_.write(ini);
}

void RuleSettings::writeChanges(TBigIniFile& ini)
{
    // Everything that can refuse comes first: a store released with changes
    // writes them.
    std::optional<std::vector<std::string>> list;
    if (ruleSets_ != listBase_) {
        NumberedLines disk = readNumbered(ini, kRuleListSection);
        if (disk.cut)
            throw Error("The rule set list in \"" + iniPath_
                        + "\" has more entries than could be read; "
                          "the settings are not saved, so that none of them is lost.");
        list = mergeRuleList(std::move(disk.lines), listBase_, ruleSets_);
    }
    writeFtp(ini, ftp_, &ftpBase_);
    if (list)
        writeNumbered(ini, kRuleListSection, *list);
    const std::string chosen = selectedRuleSet();
    const bool edited = editorEdited();
    if (switched_ || edited)
        ini.WriteString(kParameters, kDefaultRuleSet, chosen);
    if (edited)
        writeNumbered(ini, chosen, editor_);
    if (!(recent_ == recentBase_))
        recent_.write(ini);
}

std::string RuleSettings::reloadFetched()
{
    const std::string was = current_;
    const std::vector<std::string> mine = editor_;
    const bool edited = editorEdited() || std::ranges::any_of(edited_, [&](const std::string& n) {
                            return equalsNoCase(n, was);
                        });
    keepUnreadable();
    const TBigIniFile ini(iniPath_);
    loadFrom(ini);
    // The lists stay those of this run; the file's own are what they replace.
    recentBase_ = RecentFiles();
    recentBase_.read(ini);
    edited_.clear();
    if (!edited || readNumbered(ini, was).lines == mine)
        return {};
    return "The fetched settings file holds another text for rule set '" + was
           + "'; the fetched text replaces the one you edited.";
}

std::string RuleSettings::selectedRuleSet() const
{
    if (selected_ < 0 || static_cast<size_t>(selected_) >= ruleSets_.size())
        return {};
    return ruleSets_[static_cast<size_t>(selected_)];
}

std::string RuleSettings::ruleText() const
{
    return joinLines(editor_);
}

void RuleSettings::select(int index)
{
    switchTo(index, false);
}

// The editor's text, when edited, goes to the rule set it belongs to, then
// the chosen one is read back from the same store. Nothing changes in the
// model until the file is written.
void RuleSettings::switchTo(int index, bool adding)
{
    const int target = index >= 0 && static_cast<size_t>(index) < ruleSets_.size() ? index : -1;
    const std::string chosen = target < 0 ? std::string() : ruleSets_[static_cast<size_t>(target)];
    const bool edited = editorEdited();
    if (edited)
        checkStorable();
    keepUnreadable();
    TBigIniFile ini(iniPath_);
    if (edited)
        writeNumbered(ini, current_, editor_);
    NumberedLines lines = readNumbered(ini, chosen);
    // A set new to this run starts empty, also over a section left in the
    // file, unless another instance has listed it since.
    const bool keep =
        !adding
        || std::ranges::any_of(readNumbered(ini, kRuleListSection).lines,
                               [&](const std::string& n) { return equalsNoCase(n, chosen); });
    ini.UpdateFile();

    if (edited)
        noteEdited(current_);
    selected_ = target;
    current_ = chosen;
    switched_ = true;
    editor_ = keep ? std::move(lines.lines) : std::vector<std::string>();
    editorCut_ = keep && lines.cut;
    editorBase_ = keep ? std::optional(editor_) : std::nullopt;
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
    if (isReservedName(name))
        throw Error("'" + name
                    + "' is reserved for the program's own settings; choose another name.");

    ruleSets_.push_back(name);
    try {
        switchTo(static_cast<int>(ruleSets_.size()) - 1, true);
    } catch (...) {
        ruleSets_.pop_back();
        throw;
    }
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
    NumberedLines lines = readNumbered(ini, first);
    ini.UpdateFile();

    ruleSets_ = std::move(names);
    selected_ = ruleSets_.empty() ? -1 : 0;
    switched_ = true;
    current_ = first;
    editor_ = lines.lines;
    editorBase_ = std::move(lines.lines);
    editorCut_ = lines.cut;
}

std::vector<std::string> RuleSettings::ruleLinesOf(const std::string& iniPath,
                                                   const std::string& name, bool mustExist)
{
    const TBigIniFile ini(readOnly, iniPath);
    if (mustExist && !knowsRuleSet(ini, name))
        throw Error("The settings file \"" + iniPath + "\" has no rule set \"" + name + "\"");
    return readNumbered(ini, name).lines;
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
