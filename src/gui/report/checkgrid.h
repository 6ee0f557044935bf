// The check tables as Qt item models: a core CheckTable's header gives the
// column captions, each of its rows a grid row with its own background and
// per-cell text colours. A model over the whole table keeps a report with tens of
// thousands of rows cheap to show.
#pragma once

#include "core/report/checktables.h"

#include <QAbstractTableModel>
#include <QColor>

#include <optional>

namespace qmx {

QColor toQColor(Colour c);

class CheckTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    CheckTableModel(int columns, QObject* parent = nullptr);

    // Takes the table over.
    void setTable(CheckTable table);
    // No captions and one empty row, as a window shows before a load.
    void reset();
    const CheckTable& table() const { return table_; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    std::optional<GridRow> row(int dataRow) const;

    CheckTable table_;
    bool blankRow_ = false; // the one empty row shown before a load
    int columns_;
};

} // namespace qmx
