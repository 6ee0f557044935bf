// The grid of the Findings window: one row per finding, a count column, the
// finding's text, then one column per report with a mark where the report
// has the finding (its evidence as tool-tip). Compared with an older scan,
// a mark also says whether the finding is new on that computer, and
// findings fixed since then get a mark of their own. Sorts by count or by
// text.
#pragma once

#include "core/fleet/summary.h"

#include <QAbstractTableModel>
#include <QStringList>

#include <optional>
#include <vector>

namespace qmx {

class FindingsModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum class Mark { None, Present, New, Fixed };
    static constexpr int kCountColumn = 0;
    static constexpr int kTextColumn = 1;
    static constexpr int kFirstReport = 2;

    using QAbstractTableModel::QAbstractTableModel;

    // reports: the readable reports, one column each, headed by captions.
    // changes: the comparison with an older scan, when there is one.
    void setResult(std::vector<ReportFindings> reports, QStringList captions,
                   std::optional<std::vector<HostChange>> changes = std::nullopt);

    const std::vector<ReportFindings>& reports() const { return reports_; }
    const std::vector<SummaryRow>& summary() const { return summary_; }
    Mark mark(int row, int column) const;
    int count(int row) const { return rows_.at(size_t(row)).count; }
    // The row holding text (Windows-1252), or -1.
    int rowOf(const std::string& text) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    void sort(int column, Qt::SortOrder order) override;

private:
    struct Cell {
        Mark mark = Mark::None;
        QString tip;
    };
    struct Row {
        std::string text;
        int count = 0;
        std::vector<Cell> cells;
    };
    void markChanges(const std::vector<HostChange>& changes);
    Row& rowFor(const std::string& text);

    std::vector<ReportFindings> reports_;
    std::vector<SummaryRow> summary_;
    QStringList captions_;
    std::vector<Row> rows_;
};

} // namespace qmx
