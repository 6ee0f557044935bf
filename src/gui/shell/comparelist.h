// The list of open workstation reports offered for comparison: the full path
// of every report window, each with a tick. The shell appends, a report
// window removes its own entry when it closes, the comparison reads the
// ticked entries. It is an item model, so the compare chooser's check list
// shows it and the user's ticks land in it directly.
#pragma once

#include <QAbstractListModel>
#include <QString>
#include <QStringList>
#include <QVector>

namespace qmx {

class CompareList : public QAbstractListModel {
    Q_OBJECT
public:
    struct Entry {
        QString path;
        bool ticked = false;
    };

    // Appends without looking for an equal entry: a report opened twice is
    // listed twice.
    void append(const QString& path)
    {
        const auto row = static_cast<int>(entries_.size());
        beginInsertRows({}, row, row);
        entries_.push_back({path, false});
        endInsertRows();
    }
    // Removes the first entry equal to path (with case); false when none.
    bool removeFirstEqual(const QString& path)
    {
        for (qsizetype i = 0; i < entries_.size(); ++i)
            if (entries_.at(i).path == path) {
                beginRemoveRows({}, static_cast<int>(i), static_cast<int>(i));
                entries_.removeAt(i);
                endRemoveRows();
                return true;
            }
        return false;
    }
    void setTicked(qsizetype row, bool ticked)
    {
        setData(index(static_cast<int>(row)), ticked ? Qt::Checked : Qt::Unchecked,
                Qt::CheckStateRole);
    }
    const QVector<Entry>& entries() const { return entries_; }
    QStringList paths() const
    {
        QStringList out;
        for (const auto& e : entries_)
            out << e.path;
        return out;
    }
    // The ticked paths, in list order.
    QStringList tickedPaths() const
    {
        QStringList out;
        for (const auto& e : entries_)
            if (e.ticked)
                out << e.path;
        return out;
    }
    qsizetype size() const { return entries_.size(); }

    int rowCount(const QModelIndex& parent = {}) const override
    {
        return parent.isValid() ? 0 : static_cast<int>(entries_.size());
    }
    QVariant data(const QModelIndex& index, int role) const override
    {
        if (!index.isValid() || index.row() >= entries_.size())
            return {};
        const Entry& e = entries_.at(index.row());
        if (role == Qt::DisplayRole || role == Qt::ToolTipRole)
            return e.path;
        if (role == Qt::CheckStateRole)
            return e.ticked ? Qt::Checked : Qt::Unchecked;
        return {};
    }
    bool setData(const QModelIndex& index, const QVariant& value, int role) override
    {
        if (role != Qt::CheckStateRole || !index.isValid() || index.row() >= entries_.size())
            return false;
        entries_[index.row()].ticked = value.toInt() == Qt::Checked;
        Q_EMIT dataChanged(index, index, {Qt::CheckStateRole});
        return true;
    }
    Qt::ItemFlags flags(const QModelIndex& index) const override
    {
        return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable
                               : Qt::NoItemFlags;
    }

private:
    QVector<Entry> entries_;
};

} // namespace qmx
