#include "gui/support/cellcopy.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QTableView>

#include <algorithm>
#include <climits>
#include <map>

namespace qmx {

namespace {

class CellCopyFilter : public QObject {
public:
    explicit CellCopyFilter(QTableView* grid) : QObject(grid), grid_(grid) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        const auto type = event->type();
        if (watched != grid_ || (type != QEvent::KeyPress && type != QEvent::ShortcutOverride))
            return false;
        if (!static_cast<QKeyEvent*>(event)->matches(QKeySequence::Copy))
            return false;
        // Take the key before any shortcut does, then copy on the press.
        event->accept();
        if (type == QEvent::KeyPress)
            QGuiApplication::clipboard()->setText(selectedCellsText(grid_));
        return true;
    }

private:
    QTableView* grid_;
};

} // namespace

QString selectedCellsText(const QTableView* grid)
{
    const QModelIndexList selected =
        grid->selectionModel() ? grid->selectionModel()->selectedIndexes() : QModelIndexList{};
    if (selected.isEmpty())
        return {};
    const QHeaderView* columns = grid->horizontalHeader();
    // Row, then shown column position, to cell text.
    std::map<int, std::map<int, QString>> cells;
    int firstColumn = INT_MAX, lastColumn = -1;
    for (const QModelIndex& index : selected) {
        const int shown = columns->visualIndex(index.column());
        cells[index.row()][shown] = index.data(Qt::DisplayRole).toString();
        firstColumn = std::min(firstColumn, shown);
        lastColumn = std::max(lastColumn, shown);
    }
    // Rows without a selected cell are left out.
    QStringList lines;
    for (const auto& [row, rowCells] : cells) {
        QStringList line;
        for (int c = firstColumn; c <= lastColumn; ++c) {
            const auto it = rowCells.find(c);
            line << (it == rowCells.end() ? QString() : it->second);
        }
        lines << line.join(QLatin1Char('\t'));
    }
    return lines.join(QLatin1Char('\n'));
}

void installCellCopy(QTableView* grid)
{
    grid->installEventFilter(new CellCopyFilter(grid));
}

} // namespace qmx
