#include "gui/update/configupdate.h"

#include "gui/support/filenames.h"
#include "gui/support/textcodec.h"

#include <QCoreApplication>

namespace qmx {

ConfigUpdate::ConfigUpdate(QObject* parent) : QObject(parent)
{
    client_.setWait([] { QCoreApplication::processEvents(); }, &status_);
}

ConfigUpdate::~ConfigUpdate() = default;

void ConfigUpdate::Status::setStatus(const std::string& text)
{
    CountingProgress::setStatus(text);
    Q_EMIT owner_.statusChanged(toQString(text));
}

std::string ConfigUpdate::run(const UpdateRequest& request)
{
    if (running_)
        return {};
    running_ = true;
    status_.clearCancel();
    Q_EMIT runningChanged(true);
    std::string error;
    try {
        runUpdate(client_, request, names_, status_,
                  [this](const std::string& path) { Q_EMIT settingsWritten(fromLocalPath(path)); });
    } catch (const std::exception& e) {
        error = e.what();
    }
    running_ = false;
    Q_EMIT runningChanged(false);
    return error;
}

void ConfigUpdate::cancel()
{
    if (running_)
        status_.requestCancel();
}

} // namespace qmx
