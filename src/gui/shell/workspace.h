// The window layer's state, without widgets: the prompts, the settings model,
// the recent lists, the compare list, the open documents, the long-work
// state, the open and save dialogs' settings, and the configuration update.
// The main window creates it and hands it to every window; windows talk to
// it and to narrow interfaces, never to the main window or to each other.
#pragma once

#include "gui/shell/comparelist.h"
#include "gui/shell/prompts.h"
#include "gui/support/longload.h"

#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>

#include <memory>
#include <string>

namespace qmx {

class ChildWindow;
class ConfigUpdate;
class RecentFiles;
class SettingsModel;

class Workspace : public QObject, public LongWork {
    Q_OBJECT
public:
    explicit Workspace(std::unique_ptr<Prompts> prompts, QObject* parent = nullptr);
    // Prompts owned elsewhere; they must outlive the workspace.
    explicit Workspace(Prompts& prompts, QObject* parent = nullptr);
    // Writes the settings file, while the prompts can still report a failure.
    ~Workspace() override;

    Prompts& prompts() { return *prompts_; }

    // Start-up: the settings file at path is read when it exists.
    void openSettings(const QString& path);
    // Null until openSettings.
    SettingsModel* settings() const { return settings_.get(); }
    // The rule text report windows run; empty without settings.
    std::string ruleText() const;
    // The recent lists, kept in the settings file; null without settings.
    RecentFiles* recentFiles() const;
    ConfigUpdate& configUpdate() { return *update_; }

    CompareList& compareList() { return compareList_; }
    // The open dialog's settings (the last command's), and the save
    // dialog's, which the scanner input editor uses.
    FileDialogOptions& openDialog() { return openDialog_; }
    FileDialogOptions& saveDialog() { return saveDialog_; }

    // Long work in progress (a report load): closing the program waits for
    // it to end, and commands that would start another are ignored.
    void beginLongWork() override;
    void endLongWork() override;
    bool busy() const { return longWork_ > 0; }
    // The program was asked to close while busy: loads that can stop early
    // do; the request ends with the last long work.
    void requestStop() { stop_ = busy(); }
    bool stopRequested() const override { return stop_; }
    // The progress window long loads show; null when there is none.
    void setProgressDisplay(ProgressDisplay* display) { progress_ = display; }
    ProgressDisplay* progressDisplay() const { return progress_; }

    // The open documents, in the order they were opened.
    void addDocument(ChildWindow* document);
    void documentLoaded(ChildWindow* document);
    QList<ChildWindow*> documents() const;
    // The open workstation reports whose caption is exactly caption, in
    // window order.
    QList<ChildWindow*> reportDocuments(const QString& caption) const;

    // A message for the frame's status bar; 0 keeps it until replaced.
    void showStatus(const QString& text, int timeoutMs = 0);
    // Asks the frame for a new result window over the ticked reports.
    void requestComparison() { Q_EMIT compareRequested(); }
    // Asks the frame for a new Findings window over the open reports.
    void requestFindings() { Q_EMIT findingsRequested(); }
    // Asks the frame to make document the active window, on the page with
    // its findings.
    void bringToFront(ChildWindow* document);

Q_SIGNALS:
    void documentOpened(ChildWindow* document);
    void documentFinishedLoading(ChildWindow* document);
    // The document is being destroyed; only its address is left.
    void documentClosed(QObject* document);
    void longWorkEnded();
    void statusMessage(const QString& text, int timeoutMs);
    void compareRequested();
    void findingsRequested();
    void activationRequested(ChildWindow* document);

private:
    void setUpDialogs();

    std::unique_ptr<Prompts> ownedPrompts_;
    Prompts* prompts_;
    std::unique_ptr<SettingsModel> settings_;
    std::unique_ptr<ConfigUpdate> update_;
    CompareList compareList_;
    FileDialogOptions openDialog_;
    FileDialogOptions saveDialog_;
    int longWork_ = 0;
    bool stop_ = false;
    ProgressDisplay* progress_ = nullptr;
    QList<QPointer<ChildWindow>> documents_;
};

} // namespace qmx
