// The recent-file entries of the File menu: after a given entry (the last of
// the frame's own), one group per kind of document, each entry opening its
// path through the callback. The lists themselves are the settings' own;
// refresh() shows their current state. Paths are kept as the file system's
// bytes, so any file name the system allows comes back unchanged.
#pragma once

#include "core/recent/recentfiles.h"

#include <QList>
#include <QObject>
#include <QString>

#include <functional>
#include <string>

class QAction;
class QMenu;
class QMimeData;

namespace qmx {

class RecentMenu : public QObject {
    Q_OBJECT
public:
    using Open = std::function<void(RecentKind kind, const QString& path)>;

    // Entries go after `after`, which must stay the menu's last own entry.
    RecentMenu(QMenu* menu, QAction* after, Open open, QObject* parent = nullptr);

    // The lists shown; null shows none.
    void setFiles(RecentFiles* files);
    RecentFiles* files() const { return files_; }
    void refresh();

    // The object name of an entry: "MRUFileList1Item1" is the newest
    // workstation report, list 2 the scanner input files, list 3 the server
    // reports.
    static QString entryName(RecentKind kind, size_t i);

private:
    QMenu* menu_;
    QAction* after_;
    Open open_;
    RecentFiles* files_ = nullptr;
    QList<QAction*> entries_;
};

QString fromRecentPath(const std::string& path);
std::string toRecentPath(const QString& path);

// The local files named by a drop, in the order given; none when the drop
// carries anything else.
QStringList droppedFiles(const QMimeData* data);
// A dropped file opens in the scanner input editor when its name ends in
// ".ini" in any case, otherwise as a workstation report.
bool opensAsScannerInput(const QString& path);

} // namespace qmx
