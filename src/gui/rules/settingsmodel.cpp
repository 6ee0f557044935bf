#include "gui/rules/settingsmodel.h"

#include "gui/shell/prompts.h"
#include "gui/support/filenames.h"
#include "gui/support/guards.h"
#include "gui/support/textcodec.h"

#include <utility>

namespace qmx {

SettingsModel::SettingsModel(const QString& path, Prompts& prompts, QObject* parent)
    : QObject(parent), path_(path), prompts_(prompts), settings_(localPath(path))
{}

template <class F> void SettingsModel::change(F&& step)
{
    guarded(prompts_, std::forward<F>(step));
    Q_EMIT reset();
}

void SettingsModel::open()
{
    change([this] { settings_.loadIfPresent(); });
}

void SettingsModel::load()
{
    change([this] { settings_.load(); });
}

bool SettingsModel::save()
{
    return guarded(prompts_, [this] { settings_.save(); });
}

void SettingsModel::reloadFetched()
{
    std::string notice;
    change([&] { notice = settings_.reloadFetched(); });
    fetched_ = true;
    fetchNotice_ = toQString(notice);
}

bool SettingsModel::takeFetched(QString& notice)
{
    notice = fetchNotice_;
    fetchNotice_.clear();
    return std::exchange(fetched_, false);
}

void SettingsModel::setEditorLines(std::vector<std::string> lines)
{
    settings_.editorLines() = std::move(lines);
}

void SettingsModel::select(int index)
{
    change([&] { settings_.select(index); });
}

void SettingsModel::addRuleSet(const std::string& name)
{
    change([&] { settings_.addRuleSet(name); });
}

void SettingsModel::removeSelected()
{
    change([this] { settings_.removeSelected(); });
}

} // namespace qmx