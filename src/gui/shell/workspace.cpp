#include "gui/shell/workspace.h"

#include "gui/rules/settingsmodel.h"
#include "gui/shell/childwindow.h"
#include "gui/update/configupdate.h"

namespace qmx {

Workspace::Workspace(std::unique_ptr<Prompts> prompts, QObject* parent)
    : QObject(parent), ownedPrompts_(std::move(prompts)), prompts_(ownedPrompts_.get()),
      update_(std::make_unique<ConfigUpdate>())
{
    setUpDialogs();
}

Workspace::Workspace(Prompts& prompts, QObject* parent)
    : QObject(parent), prompts_(&prompts), update_(std::make_unique<ConfigUpdate>())
{
    setUpDialogs();
}

Workspace::~Workspace()
{
    // An update still waiting sees the cancel at its next wait.
    update_->cancel();
    if (settings_)
        settings_->save();
    settings_.reset();
}

void Workspace::setUpDialogs()
{
    openDialog_.filter = QStringLiteral(
        "Client Config Files (*.txt)|*.txt|Client Config Generator Files (*.ini)|*.ini|"
        "Server Config Files (*.txt)|*.txt|All Files (*.*)|*.*");
    openDialog_.filterIndex = 1;
    openDialog_.defaultExt = QStringLiteral("*.txt");
    saveDialog_.filter =
        QStringLiteral("Client Config Generator Files (*.ini)|*.ini|All Files (*.*)|*.*");
    saveDialog_.filterIndex = 1;
    saveDialog_.defaultExt = QStringLiteral("*.ini");
    saveDialog_.fileName = QStringLiteral("qmxscan.ini");
}

void Workspace::openSettings(const QString& path)
{
    settings_ = std::make_unique<SettingsModel>(path, *prompts_);
    settings_->open();
    // A fetched settings file is read at once, so nothing stale is written
    // over it later, even when the rest of the update fails.
    connect(update_.get(), &ConfigUpdate::settingsWritten, settings_.get(),
            [model = settings_.get()](const QString&) { model->reloadFetched(); });
}

std::string Workspace::ruleText() const
{
    return settings_ ? settings_->ruleText() : std::string();
}

RecentFiles* Workspace::recentFiles() const
{
    return settings_ ? &settings_->recentFiles() : nullptr;
}

void Workspace::beginLongWork()
{
    ++longWork_;
}

void Workspace::endLongWork()
{
    if (longWork_ > 0)
        --longWork_;
    if (longWork_ == 0) {
        stop_ = false;
        Q_EMIT longWorkEnded();
    }
}

void Workspace::addDocument(ChildWindow* document)
{
    documents_ << document;
    connect(document, &QObject::destroyed, this, [this](QObject* gone) {
        documents_.removeIf([](const QPointer<ChildWindow>& d) { return d.isNull(); });
        Q_EMIT documentClosed(gone);
    });
    Q_EMIT documentOpened(document);
}

void Workspace::documentLoaded(ChildWindow* document)
{
    Q_EMIT documentFinishedLoading(document);
}

QList<ChildWindow*> Workspace::documents() const
{
    QList<ChildWindow*> out;
    for (const auto& d : documents_)
        if (d)
            out << d.data();
    return out;
}

QList<ChildWindow*> Workspace::reportDocuments(const QString& caption) const
{
    QList<ChildWindow*> out;
    for (ChildWindow* d : documents())
        if (d->isWorkstationReport() && d->caption() == caption)
            out << d;
    return out;
}

void Workspace::showStatus(const QString& text, int timeoutMs)
{
    Q_EMIT statusMessage(text, timeoutMs);
}

void Workspace::bringToFront(ChildWindow* document)
{
    Q_EMIT activationRequested(document);
    document->showSuggestionsPage();
}

} // namespace qmx
