// TfrmCompareResults: the result of one comparison, a child window holding
// the grid of every section and key of the ticked reports (rows) against the
// reports (columns). It is a snapshot taken when the window is created. For
// an engineer comparing many machines it can hide rows without differences,
// jump between differing cells (F8, Shift+F8), mark against the first report
// or the most common value, copy cells and export the grid as CSV.
#pragma once

#include "gui/shell/childwindow.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QTableView;
class QToolButton;

namespace qmx {

class CompareGridModel;

class TfrmCompareResults : public ChildWindow {
    Q_OBJECT
public:
    // Builds the columns from the ticked entries of the workspace's compare
    // list and runs the comparison.
    explicit TfrmCompareResults(Workspace& workspace, QWidget* parent = nullptr);

    void CompareGrid();
    // Moves the current cell to the next or previous red cell.
    void nextDifference();
    void previousDifference();
    // Asks for a file and writes the grid shown there as CSV.
    void exportCsv();

    const CompareGridModel& model() const { return *model_; }

private:
    void FormCreate();
    void buildControls();
    void moveToDifference(bool forward);
    void updateSummary();

    QStringList headers_;
    CompareGridModel* model_ = nullptr;
    QTableView* StringAlignGrid1 = nullptr;
    QCheckBox* DifferencesOnly = nullptr;
    QComboBox* BaselineChoice = nullptr;
    QToolButton* PreviousDifference = nullptr;
    QToolButton* NextDifference = nullptr;
    QPushButton* ExportCsv = nullptr;
    QLabel* Summary = nullptr;
};

} // namespace qmx
