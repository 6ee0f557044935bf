// The configuration update as the desktop program runs it, without widgets:
// the core's update sequence over one FTP client kept for the program's life
// (a connection left open by a failed update is reused), waiting with window
// events running, its status texts and running state announced by signals,
// and a cancel that ends the current wait. The Options dialog's FTP page only
// shows it.
#pragma once

#include "core/update/update.h"
#include "core/util/progress.h"

#include <QObject>
#include <QString>

#include <string>
#include <vector>

namespace qmx {

class ConfigUpdate : public QObject {
    Q_OBJECT
public:
    explicit ConfigUpdate(QObject* parent = nullptr);
    ~ConfigUpdate() override;

    // Runs the whole update and returns when it has ended: "" after
    // success, otherwise the text to show. Events run while it waits; a
    // second run asked for meanwhile is refused with "".
    std::string run(const UpdateRequest& request);
    // Ends the current wait; the run returns the cancel's text.
    void cancel();
    bool running() const { return running_; }
    // The names of the last listing.
    const std::vector<std::string>& fileNames() const { return names_; }

Q_SIGNALS:
    // Each status text as it is reached; "" at the end.
    void statusChanged(const QString& text);
    void runningChanged(bool running);
    // A fetched settings file has replaced the one at path.
    void settingsWritten(const QString& path);

private:
    class Status : public CountingProgress {
    public:
        explicit Status(ConfigUpdate& owner) : owner_(owner) {}
        void setStatus(const std::string& text) override;

    private:
        ConfigUpdate& owner_;
    };

    FtpClient client_;
    Status status_{*this};
    std::vector<std::string> names_;
    bool running_ = false;
};

} // namespace qmx
