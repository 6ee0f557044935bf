// The list of open workstation reports offered for comparison: the full path
// of every report window, each with a tick. The shell appends, a report
// window removes its own entry when it closes, the comparison reads the
// ticked entries.
#pragma once

#include <QString>
#include <QStringList>
#include <QVector>

namespace qmx {

class CompareList {
public:
    struct Entry {
        QString path;
        bool ticked = false;
    };

    // Appends without looking for an equal entry: a report opened twice is
    // listed twice.
    void append(const QString& path) { entries_.push_back({path, false}); }
    // Removes the first entry equal to path (with case); false when none.
    bool removeFirstEqual(const QString& path)
    {
        for (qsizetype i = 0; i < entries_.size(); ++i)
            if (entries_.at(i).path == path) {
                entries_.removeAt(i);
                return true;
            }
        return false;
    }
    const QVector<Entry>& entries() const { return entries_; }
    QVector<Entry>& entries() { return entries_; }
    QStringList paths() const
    {
        QStringList out;
        for (const auto& e : entries_)
            out << e.path;
        return out;
    }
    qsizetype size() const { return entries_.size(); }

private:
    QVector<Entry> entries_;
};

} // namespace qmx
