#include "gui/scanedit/radiogroup.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QGridLayout>
#include <QRadioButton>

namespace qmx {

RadioGroup::RadioGroup(const QString& title, const QStringList& items, int columns, QWidget* parent)
    : QGroupBox(title, parent), buttons_(new QButtonGroup(this))
{
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(6, 2, 6, 2);
    grid->setVerticalSpacing(0);
    const int rows = (static_cast<int>(items.size()) + columns - 1) / std::max(columns, 1);
    for (int i = 0; i < items.size(); ++i) {
        auto* r = new QRadioButton(items.at(i), this);
        buttons_->addButton(r, i);
        grid->addWidget(r, i % rows, i / rows);
    }
}

int RadioGroup::itemIndex() const
{
    return buttons_->checkedId();
}

void RadioGroup::setItemIndex(int index)
{
    if (QAbstractButton* b = buttons_->button(index))
        b->setChecked(true);
}

int RadioGroup::count() const
{
    return static_cast<int>(buttons_->buttons().size());
}

QString RadioGroup::item(int index) const
{
    QAbstractButton* b = buttons_->button(index);
    return b ? b->text() : QString();
}

} // namespace qmx
