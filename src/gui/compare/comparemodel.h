// The comparison grid as a Qt item model: one row per compared key (the key
// is the row's header, so it stays in view while the values scroll), one
// column per report (the report's path is the column header), each cell's
// value with its red font and blue background as roles. Rows without a red
// cell can be hidden. A model over the core grid keeps tens of thousands of
// rows cheap to show.
#pragma once

#include "core/compare/comparison.h"

#include <QAbstractTableModel>
#include <QColor>

#include <vector>

namespace qmx {

class CompareGridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    using QAbstractTableModel::QAbstractTableModel;

    void setGrid(ComparisonGrid grid);
    const ComparisonGrid& grid() const { return grid_; }
    void setBaseline(Baseline baseline);
    void setDifferencesOnly(bool on);
    bool differencesOnly() const { return differencesOnly_; }

    // The next (or previous) red cell after from in reading order, or an
    // invalid index when there is none.
    QModelIndex nextRed(const QModelIndex& from, bool forward) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    size_t gridRow(int row) const;
    void rebuildRows();

    ComparisonGrid grid_;
    bool differencesOnly_ = false;
    std::vector<size_t> rows_; // the grid rows shown, when only differences are
};

} // namespace qmx
