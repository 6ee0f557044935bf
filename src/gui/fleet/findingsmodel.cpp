#include "gui/fleet/findingsmodel.h"

#include "gui/support/textcodec.h"

#include <QBrush>
#include <QColor>

#include <algorithm>
#include <numeric>

namespace qmx {

namespace {

QString evidenceTip(const std::vector<Evidence>& evidence)
{
    QStringList lines;
    for (const Evidence& e : evidence)
        lines << toQString(e.reference) + QLatin1Char('=') + toQString(e.value);
    return lines.isEmpty() ? QObject::tr("No condition decided this finding.")
                           : lines.join(QLatin1Char('\n'));
}

} // namespace

void FindingsModel::setResult(std::vector<ReportFindings> reports, QStringList captions,
                              std::optional<std::vector<HostChange>> changes)
{
    beginResetModel();
    reports_ = std::move(reports);
    captions_ = std::move(captions);
    summary_ = summarize(reports_);
    rows_.clear();
    for (const SummaryRow& s : summary_) {
        Row row{s.text, int(s.hosts.size()), std::vector<Cell>(reports_.size())};
        for (const FindingHost& h : s.hosts)
            row.cells.at(h.report) = {Mark::Present, evidenceTip(h.evidence)};
        rows_.push_back(std::move(row));
    }
    if (changes)
        markChanges(*changes);
    endResetModel();
}

FindingsModel::Row& FindingsModel::rowFor(const std::string& text)
{
    const int at = rowOf(text);
    if (at >= 0)
        return rows_[size_t(at)];
    // Fixed everywhere: no report has it now.
    rows_.push_back(Row{text, 0, std::vector<Cell>(reports_.size())});
    return rows_.back();
}

void FindingsModel::markChanges(const std::vector<HostChange>& changes)
{
    for (size_t column = 0; column < reports_.size(); ++column) {
        // Computers are matched as the comparison matched them: by name,
        // the first report of a name taking part.
        const auto change = std::find_if(changes.begin(), changes.end(), [&](const HostChange& c) {
            return c.side != HostChange::Side::OldOnly && c.computer == reports_[column].computer;
        });
        if (change == changes.end())
            continue;
        for (const std::string& text : change->added)
            if (Row& row = rowFor(text); row.cells[column].mark == Mark::Present)
                row.cells[column].mark = Mark::New;
        for (const std::string& text : change->fixed)
            rowFor(text).cells[column] = {Mark::Fixed, tr("Fixed since the older scan.")};
    }
}

int FindingsModel::rowOf(const std::string& text) const
{
    for (size_t i = 0; i < rows_.size(); ++i)
        if (rows_[i].text == text)
            return int(i);
    return -1;
}

FindingsModel::Mark FindingsModel::mark(int row, int column) const
{
    if (column < kFirstReport)
        return Mark::None;
    return rows_.at(size_t(row)).cells.at(size_t(column - kFirstReport)).mark;
}

int FindingsModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(rows_.size());
}

int FindingsModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : kFirstReport + int(reports_.size());
}

QVariant FindingsModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid())
        return {};
    const Row& row = rows_.at(size_t(index.row()));
    if (index.column() == kCountColumn)
        return role == Qt::DisplayRole ? QVariant(row.count) : QVariant();
    if (index.column() == kTextColumn)
        return role == Qt::DisplayRole || role == Qt::ToolTipRole ? toQString(row.text)
                                                                  : QVariant();
    const Cell& cell = row.cells.at(size_t(index.column() - kFirstReport));
    switch (role) {
    case Qt::DisplayRole:
        switch (cell.mark) {
        case Mark::Present: return QStringLiteral("X");
        case Mark::New: return tr("new");
        case Mark::Fixed: return tr("fixed");
        case Mark::None: return QString();
        }
        return {};
    case Qt::ToolTipRole: return cell.mark == Mark::None ? QVariant() : QVariant(cell.tip);
    case Qt::TextAlignmentRole: return int(Qt::AlignCenter);
    case Qt::BackgroundRole:
        if (cell.mark == Mark::New)
            return QBrush(QColor(255, 210, 200));
        if (cell.mark == Mark::Fixed)
            return QBrush(QColor(205, 240, 205));
        return {};
    default: return {};
    }
}

QVariant FindingsModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    if (section == kCountColumn)
        return tr("Count");
    if (section == kTextColumn)
        return tr("Finding");
    return captions_.value(section - kFirstReport);
}

void FindingsModel::sort(int column, Qt::SortOrder order)
{
    if (column != kCountColumn && column != kTextColumn)
        return;
    Q_EMIT layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    const bool ascending = order == Qt::AscendingOrder;
    std::vector<size_t> ranked(rows_.size());
    std::iota(ranked.begin(), ranked.end(), size_t(0));
    std::stable_sort(ranked.begin(), ranked.end(), [&](size_t i, size_t j) {
        const Row& a = rows_[i];
        const Row& b = rows_[j];
        // Equal counts keep the text order whichever way the counts go.
        if (column == kCountColumn && a.count != b.count)
            return ascending ? a.count < b.count : a.count > b.count;
        if (column == kCountColumn)
            return a.text < b.text;
        return ascending ? a.text < b.text : a.text > b.text;
    });
    std::vector<Row> sorted;
    std::vector<int> newRow(rows_.size());
    for (size_t i = 0; i < ranked.size(); ++i) {
        newRow[ranked[i]] = int(i);
        sorted.push_back(std::move(rows_[ranked[i]]));
    }
    rows_ = std::move(sorted);
    // The selection and current cell follow their rows.
    for (const QModelIndex& old : persistentIndexList())
        changePersistentIndex(old, index(newRow[size_t(old.row())], old.column()));
    Q_EMIT layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

} // namespace qmx
