#include "gui/recent/recentmenu.h"

#include "gui/support/filenames.h"

#include <QAction>
#include <QFileInfo>
#include <QFontMetrics>
#include <QMenu>
#include <QMimeData>
#include <QUrl>

namespace qmx {

namespace {

constexpr int kShownChars = 70;

} // namespace

RecentMenu::RecentMenu(QMenu* menu, QAction* after, Open open, QObject* parent)
    : QObject(parent), menu_(menu), after_(after), open_(std::move(open))
{}

void RecentMenu::setFiles(RecentFiles* files)
{
    files_ = files;
    refresh();
}

QString RecentMenu::entryName(RecentKind kind, size_t i)
{
    return QStringLiteral("MRUFileList%1Item%2").arg(static_cast<int>(kind) + 1).arg(i + 1);
}

void RecentMenu::refresh()
{
    // The entry being chosen may be the one that asks for the refresh: the
    // old entries leave the menu now and are deleted once its signal ends.
    for (QAction* a : std::as_const(entries_)) {
        menu_->removeAction(a);
        a->setObjectName(QString());
        a->deleteLater();
    }
    entries_.clear();
    if (!files_)
        return;
    const QString tips[RecentFiles::kKinds] = {tr("Open the workstation report %1"),
                                               tr("Open the scanner input file %1"),
                                               tr("Open the server report %1")};
    // One numbering across the groups, so each accelerator digit is unique.
    int number = 0;
    for (size_t k = 0; k < RecentFiles::kKinds; ++k) {
        const auto kind = static_cast<RecentKind>(k);
        const auto& list = files_->list(kind);
        if (list.empty())
            continue;
        auto* separator = new QAction(menu_);
        separator->setSeparator(true);
        entries_ << separator;
        for (size_t i = 0; i < list.size(); ++i) {
            const QString path = fromRecentPath(list[i]);
            // A deep path is cut in the middle so the menu keeps a sane
            // width; the status bar shows it whole.
            const QFontMetrics metrics(menu_->font());
            QString text =
                metrics.elidedText(path, Qt::ElideMiddle, metrics.averageCharWidth() * kShownChars);
            text.replace(QLatin1Char('&'), QLatin1String("&&"));
            ++number;
            auto* a = new QAction(
                number < 10 ? QStringLiteral("&%1 %2").arg(number).arg(text) : text, menu_);
            a->setObjectName(entryName(kind, i));
            a->setStatusTip(tips[k].arg(path));
            connect(a, &QAction::triggered, this, [this, kind, path] { open_(kind, path); });
            entries_ << a;
        }
    }
    // Inserted before whatever follows the last own entry, which is nothing
    // today; the frame's entries keep their positions either way.
    const QList<QAction*> all = menu_->actions();
    const qsizetype at = all.indexOf(after_);
    QAction* before = at >= 0 && at + 1 < all.size() ? all.at(at + 1) : nullptr;
    menu_->insertActions(before, entries_);
}

QString fromRecentPath(const std::string& path)
{
    return fromLocalPath(path);
}

std::string toRecentPath(const QString& path)
{
    return localPath(path);
}

QStringList droppedFiles(const QMimeData* data)
{
    QStringList files;
    if (!data || !data->hasUrls())
        return files;
    for (const QUrl& url : data->urls()) {
        if (!url.isLocalFile())
            return {};
        files << url.toLocalFile();
    }
    return files;
}

bool opensAsScannerInput(const QString& path)
{
    return QFileInfo(path).fileName().endsWith(QLatin1String(".ini"), Qt::CaseInsensitive);
}

} // namespace qmx
