// The program's settings model: the rule sets, the FTP fields and the recent
// lists of QMXRead.ini, held from start-up to program end by the workspace.
// The Options dialog is one view of it and writes every edit straight into
// it; report windows take the rule text they run from it. Failures reach the
// user through the prompts and leave the model as it was.
#pragma once

#include "core/rules/rulesettings.h"

#include <QObject>
#include <QString>

#include <string>
#include <vector>

namespace qmx {

class Prompts;

class SettingsModel : public QObject {
    Q_OBJECT
public:
    // path: the settings file; nothing is read yet.
    SettingsModel(const QString& path, Prompts& prompts, QObject* parent = nullptr);

    QString path() const { return path_; }
    const RuleSettings& settings() const { return settings_; }
    FtpFields& ftp() { return settings_.ftp(); }
    RecentFiles& recentFiles() { return settings_.recentFiles(); }
    // The text report windows run: the editor's lines joined by CR LF.
    std::string ruleText() const { return settings_.ruleText(); }

    // Start-up: reads the file when it exists, with the recent lists.
    void open();
    // Reads the file again (after an update fetched a new one).
    void load();
    // Writes the file; false after an error, which has been shown.
    bool save();
    // An update has just written a new settings file: read it again at once,
    // whatever the update does next, keeping this run's recent lists.
    void reloadFetched();
    // Whether reloadFetched ran since the last call, and the notice it gave
    // when the fetched file replaced text the user had edited ("" if none).
    bool takeFetched(QString& notice);
    // The editor's text as the user types it.
    void setEditorLines(std::vector<std::string> lines);
    void select(int index);
    void addRuleSet(const std::string& name);
    void removeSelected();

Q_SIGNALS:
    // Read again or another rule set chosen: every view shows the model anew.
    void reset();

private:
    template <class F> void change(F&& step);

    bool fetched_ = false;
    QString fetchNotice_;

    QString path_;
    Prompts& prompts_;
    RuleSettings settings_;
};

} // namespace qmx
