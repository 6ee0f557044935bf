// A titled group of radio buttons addressed by item index, laid out in a
// given number of columns (items fill the columns top to bottom).
#pragma once

#include <QGroupBox>
#include <QStringList>

class QButtonGroup;

namespace qmx {

class RadioGroup : public QGroupBox {
    Q_OBJECT
public:
    RadioGroup(const QString& title, const QStringList& items, int columns, QWidget* parent);
    // The checked item, counted from 0; -1 when none is checked.
    int itemIndex() const;
    void setItemIndex(int index);
    int count() const;
    QString item(int index) const;

private:
    QButtonGroup* buttons_;
};

} // namespace qmx
