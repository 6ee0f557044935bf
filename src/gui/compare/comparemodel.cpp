#include "gui/compare/comparemodel.h"

#include "gui/support/textcodec.h"

#include <QBrush>

namespace qmx {

void CompareGridModel::setGrid(ComparisonGrid grid)
{
    beginResetModel();
    grid_ = std::move(grid);
    rebuildRows();
    endResetModel();
}

void CompareGridModel::setBaseline(Baseline baseline)
{
    beginResetModel();
    grid_.mark(baseline);
    rebuildRows();
    endResetModel();
}

void CompareGridModel::setDifferencesOnly(bool on)
{
    beginResetModel();
    differencesOnly_ = on;
    rebuildRows();
    endResetModel();
}

void CompareGridModel::rebuildRows()
{
    rows_.clear();
    if (!differencesOnly_)
        return;
    for (size_t r = 0; r < grid_.rowCount(); ++r)
        if (grid_.differs(r))
            rows_.push_back(r);
}

size_t CompareGridModel::gridRow(int row) const
{
    return differencesOnly_ ? rows_[static_cast<size_t>(row)] : static_cast<size_t>(row);
}

QModelIndex CompareGridModel::nextRed(const QModelIndex& from, bool forward) const
{
    const int rows = rowCount(), columns = columnCount();
    if (rows == 0 || columns == 0)
        return {};
    // Cells in reading order; before the first cell when nothing is current.
    long long pos = from.isValid() ? static_cast<long long>(from.row()) * columns + from.column()
                                   : (forward ? -1 : static_cast<long long>(rows) * columns);
    const long long end = static_cast<long long>(rows) * columns;
    for (pos += forward ? 1 : -1; pos >= 0 && pos < end; pos += forward ? 1 : -1) {
        const int row = static_cast<int>(pos / columns), column = static_cast<int>(pos % columns);
        if (grid_.red(gridRow(row), static_cast<size_t>(column)))
            return index(row, column);
    }
    return {};
}

int CompareGridModel::rowCount(const QModelIndex& parent) const
{
    if (parent.isValid())
        return 0;
    return static_cast<int>(differencesOnly_ ? rows_.size() : grid_.rowCount());
}

int CompareGridModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(grid_.columnCount());
}

QVariant CompareGridModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid())
        return {};
    const size_t row = gridRow(index.row()), column = static_cast<size_t>(index.column());
    switch (role) {
    case Qt::DisplayRole:
    case Qt::ToolTipRole: return toQString(grid_.cell(row, column));
    case Qt::ForegroundRole:
        return grid_.red(row, column) ? QVariant(QBrush(QColor(255, 0, 0))) : QVariant();
    case Qt::BackgroundRole:
        return grid_.blue(row, column) ? QVariant(QBrush(QColor(0, 0, 255))) : QVariant();
    default: return {};
    }
}

QVariant CompareGridModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (section < 0)
        return {};
    if (orientation == Qt::Horizontal && section < columnCount()
        && (role == Qt::DisplayRole || role == Qt::ToolTipRole))
        return QString::fromUtf8(grid_.header(static_cast<size_t>(section)));
    if (orientation == Qt::Vertical && section < rowCount()) {
        if (role == Qt::DisplayRole || role == Qt::ToolTipRole)
            return toQString(grid_.key(gridRow(section)));
        if (role == Qt::TextAlignmentRole)
            return static_cast<int>(Qt::AlignLeft | Qt::AlignVCenter);
    }
    return {};
}

Qt::ItemFlags CompareGridModel::flags(const QModelIndex& index) const
{
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}

} // namespace qmx
