// The reader's settings file QMXRead.ini: the FTP connection fields and any
// number of named rule sets. The model holds what the Options dialog's
// controls hold; every operation opens its own INI store on the file and
// releases it at its end, and writes only what the user changed in this run
// onto the file as it is on disk then, so that changes made meanwhile by
// another instance, an update or an editor survive. Callers without a dialog
// ask it for the rule text of a named set.
#pragma once

#include "core/recent/recentfiles.h"

#include <optional>
#include <string>
#include <vector>

namespace qmx {

class TBigIniFile;

struct FtpFields {
    std::string host, port, userName, password, directory, proxyServer, proxyPort, timeout;
    bool useProxy = false;

    bool operator==(const FtpFields&) const = default;
};

class RuleSettings {
public:
    // The controls' initial texts (no settings file at all).
    explicit RuleSettings(std::string iniPath);

    const std::string& iniPath() const { return iniPath_; }

    // Loads the file when it exists (the dialog's start), and the recent-file
    // lists.
    void loadIfPresent();
    // Reads the FTP fields, the rule set list, the default rule set and its
    // text; listed names reserved for the settings' own sections are skipped
    // (see skippedNotice). A file that cannot be read as settings is copied
    // aside first (see backupNotice).
    void load();
    // Writes what changed in this run onto the file as it is on disk now:
    // each changed FTP field, the rule sets added and removed, the selected
    // set as the default (after a switch or an edit) and the editor's text
    // into that set (when edited), the recent-file lists (when changed).
    // Nothing when nothing changed; everything when there is no file yet.
    // Throws qmx::Error, writing nothing, for an editor text that cannot be
    // stored.
    void save();
    // Reads the file again after an update replaced it; what the user changed
    // was saved before the update began, so nothing is left to write for it.
    // Returns the notice for the status bar when the fetched file holds
    // another text for the rule set the user had edited in the editor, ""
    // otherwise. The recent-file lists are kept and written at the end.
    std::string reloadFetched();

    // The chooser: its entries, its selection (-1: none) and its text.
    const std::vector<std::string>& ruleSets() const { return ruleSets_; }
    int selected() const { return selected_; }
    std::string selectedRuleSet() const;
    // The rule set whose text is in the editor.
    const std::string& currentRuleSet() const { return current_; }

    // The editor's lines; the dialog writes them back before each operation.
    std::vector<std::string>& editorLines() { return editor_; }
    const std::vector<std::string>& editorLines() const { return editor_; }
    // The editor's text, lines joined by CR LF.
    std::string ruleText() const;

    FtpFields& ftp() { return ftp_; }
    const FtpFields& ftp() const { return ftp_; }

    // The chooser now selects index: the editor's text, when edited, is
    // stored under the set it belongs to and the chosen set's text read.
    void select(int index);
    // Refuses (qmx::Error with the user-facing text, nothing changed) an empty
    // name, a name already listed in any case, and the settings' own section
    // names; otherwise adds and switches to it. The new set starts empty,
    // unless another instance has listed it meanwhile: then its text is kept.
    void addRuleSet(const std::string& name);
    // Removes the selected rule set (the caller has asked for confirmation);
    // does nothing when none is selected.
    void removeSelected();

    // For callers without a dialog (the command-line tool). Each opens the
    // file read-only and throws qmx::Error when it cannot be read.
    // The rule text of the named set, its lines joined by CR LF. A name that
    // the file knows neither as a section nor as a listed rule set (in any
    // case) is an error.
    static std::string ruleTextOf(const std::string& iniPath, const std::string& name);
    // The rule text of the file's Default_Rule_Set ("DEFAULT" when the key is
    // missing); empty when the file holds no text for it.
    static std::string defaultRuleText(const std::string& iniPath);
    // The same as lines; an unknown name is an error only with mustExist.
    static std::vector<std::string> ruleLinesOf(const std::string& iniPath, const std::string& name,
                                                bool mustExist);
    // Default_Rule_Set ("DEFAULT" when the key is missing).
    static std::string defaultRuleSet(const std::string& iniPath);

    // The recent-file lists: read once by loadIfPresent (a settings file
    // fetched later does not replace them) and written by save.
    RecentFiles& recentFiles() { return recent_; }
    const RecentFiles& recentFiles() const { return recent_; }

    // Set when a settings file that could not be read as settings was kept
    // as QMXRead.ini.bak before it is written over; "" otherwise.
    const std::string& backupNotice() const { return backupNotice_; }
    // Set by a load that skipped listed names reserved for the settings' own
    // sections (they stay listed in the file); "" otherwise.
    const std::string& skippedNotice() const { return skippedNotice_; }

private:
    // Every write of the file goes through here first.
    void keepUnreadable();
    void loadFrom(const TBigIniFile& ini);
    void writeChanges(TBigIniFile& ini);
    void writeWhole(TBigIniFile& ini);
    void switchTo(int index, bool adding);
    bool editorEdited() const { return !editorBase_ || editor_ != *editorBase_; }
    // Throws when the editor's text cannot be written back whole.
    void checkStorable() const;
    void noteEdited(const std::string& ruleSet);

    std::string iniPath_;
    std::string backupNotice_;
    std::string skippedNotice_;
    FtpFields ftp_;
    std::vector<std::string> ruleSets_;
    int selected_ = -1;
    std::string current_;
    std::vector<std::string> editor_;
    RecentFiles recent_;

    // What the file held when read, to tell what the user changed since.
    FtpFields ftpBase_;
    std::vector<std::string> listBase_;
    // nullopt: a new rule set, whose (empty) text is written in any case.
    std::optional<std::vector<std::string>> editorBase_;
    RecentFiles recentBase_;
    bool switched_ = false;           // a set was chosen, added or removed
    bool editorCut_ = false;          // the editor holds only the first lines of a damaged set
    std::vector<std::string> edited_; // the sets whose text this run wrote
};

} // namespace qmx
