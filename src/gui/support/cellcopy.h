// Ctrl+C on a grid copies every selected cell, not only the current one:
// the selection's rows one a line, its cells separated by tabs, in the
// order the columns are shown, with unselected cells inside the selected
// block left empty, ready to paste into a spreadsheet.
#pragma once

#include <QString>

class QTableView;

namespace qmx {

QString selectedCellsText(const QTableView* grid);
// Makes Ctrl+C (the platform's copy key) on grid copy the selected cells.
void installCellCopy(QTableView* grid);

} // namespace qmx
