#include "gui/report/checkgrid.h"

#include "gui/support/textcodec.h"

#include <QBrush>

namespace qmx {

QColor toQColor(Colour c)
{
    const Rgb rgb = colourRgb(c);
    return QColor(rgb.r, rgb.g, rgb.b);
}

CheckTableModel::CheckTableModel(int columns, QObject* parent)
    : QAbstractTableModel(parent), columns_(columns)
{
    reset();
}

void CheckTableModel::setTable(CheckTable table)
{
    beginResetModel();
    table_ = std::move(table);
    blankRow_ = false;
    endResetModel();
}

void CheckTableModel::reset()
{
    beginResetModel();
    table_ = CheckTable{};
    table_.columns = static_cast<size_t>(columns_);
    blankRow_ = true;
    endResetModel();
}

std::optional<GridRow> CheckTableModel::row(int dataRow) const
{
    const size_t r = static_cast<size_t>(dataRow);
    if (dataRow >= 0 && r < table_.rows.size())
        return table_.rows[r];
    return std::nullopt;
}

int CheckTableModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : blankRow_ ? 1 : static_cast<int>(table_.rows.size());
}

int CheckTableModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : columns_;
}

QVariant CheckTableModel::data(const QModelIndex& index, int role) const
{
    const std::optional<GridRow> r = row(index.row());
    if (!r)
        return {};
    const size_t c = static_cast<size_t>(index.column());
    switch (role) {
    case Qt::DisplayRole:
    case Qt::ToolTipRole: return c < r->cells.size() ? toQString(r->cells[c]) : QString();
    case Qt::BackgroundRole:
        if (r->background != Colour::None)
            return QBrush(toQColor(r->background));
        return {};
    case Qt::ForegroundRole:
        if (c < r->colors.size() && r->colors[c] != Colour::None)
            return QBrush(toQColor(r->colors[c]));
        return {};
    default: return {};
    }
}

QVariant CheckTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole) {
        const auto& header = table_.header;
        const size_t c = static_cast<size_t>(section);
        return c < header.size() ? toQString(header[c]) : QString();
    }
    if (orientation == Qt::Vertical && role == Qt::DisplayRole)
        return section + 1;
    return QAbstractTableModel::headerData(section, orientation, role);
}

} // namespace qmx
