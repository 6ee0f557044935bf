// The reader's settings file QMXRead.ini: the FTP connection fields and any
// number of named rule sets. The model holds what the Options dialog's
// controls hold; every operation opens its own INI store on the file and
// releases it at its end, so the file on disk is current after each step.
// Callers without a dialog ask it for the rule text of a named set.
#pragma once

#include "recent/recentfiles.h"

#include <string>
#include <vector>

namespace qmx {

struct FtpFields {
    std::string host, port, userName, password, directory, proxyServer, proxyPort, timeout;
    bool useProxy = false;
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
    // text.
    // A file that cannot be read as settings is copied aside first (see
    // backupNotice).
    void load();
    // Writes the FTP fields, the list, the selected set as the default and
    // the editor's text into that set.
    void save();

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

    // The chooser now selects index: the editor's text is stored under the
    // set it belongs to and the chosen set's text read.
    void select(int index);
    // Refuses (qmx::Error with the user-facing text, nothing changed) an empty
    // name, a name already listed in any case, and the settings' own section
    // names; otherwise adds and switches to it.
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

private:
    // Every write of the file goes through here first.
    void keepUnreadable();

    std::string iniPath_;
    std::string backupNotice_;
    FtpFields ftp_;
    std::vector<std::string> ruleSets_;
    int selected_ = -1;
    std::string current_;
    std::vector<std::string> editor_;
    RecentFiles recent_;
};

} // namespace qmx
