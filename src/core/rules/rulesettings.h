// The reader's settings file QMXRead.ini as the Options dialog keeps it: the
// FTP connection fields and any number of named rule sets. The model holds
// what the dialog's controls hold; every operation opens its own INI store on
// the file and releases it at its end, so the file on disk is current after
// each step.
#pragma once

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

    // FormCreate: loadrules when the file exists.
    void FormCreate();
    // A file that cannot be read as settings is copied aside first (see
    // backupNotice).
    void loadrules();
    void saverules();

    // The chooser: its entries, its selection (-1: none) and its text.
    const std::vector<std::string>& ruleSets() const { return ruleSets_; }
    int selected() const { return selected_; }
    std::string chooserText() const;
    // The rule set whose text is in the editor.
    const std::string& currentRuleSet() const { return current_; }

    // The editor's lines; the dialog writes them back before each operation.
    std::vector<std::string>& editorLines() { return editor_; }
    const std::vector<std::string>& editorLines() const { return editor_; }
    // The editor's text, lines joined by CR LF.
    std::string ruleText() const;

    FtpFields& ftp() { return ftp_; }
    const FtpFields& ftp() const { return ftp_; }

    // ComboBox1Change: the chooser now selects index.
    void ComboBox1Change(int index);
    // Refuses (qmx::Error with the user-facing text, nothing changed) an empty
    // name, a name already listed in any case, and the settings' own section
    // names; otherwise adds and switches to it.
    void addRuleSet(const std::string& name);
    // Removes the selected rule set (the caller has asked for confirmation);
    // does nothing when none is selected.
    void removeSelected();

    // For callers without a dialog (the command-line tool). Each opens the
    // file read-only; a missing file, section or key gives the defaults.
    // The lines of the named rule set (section found in any case).
    static std::vector<std::string> readRuleSetLines(const std::string& iniPath,
                                                     const std::string& name);
    // The same lines joined by CR LF, as the editor's text would be.
    static std::string readRuleSetText(const std::string& iniPath, const std::string& name);
    // Default_Rule_Set ("DEFAULT" when the key is missing).
    static std::string readDefaultRuleSet(const std::string& iniPath);
    // Lines joined by CR LF.
    static std::string joinLines(const std::vector<std::string>& lines);

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
};

} // namespace qmx
