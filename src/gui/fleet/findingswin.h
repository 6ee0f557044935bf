// The Findings window: runs the rule text the Options dialog holds now,
// saved or not, over every open workstation report, re-reading each from its
// file so the report windows' own Suggestions pages stay as they are. It
// shows which findings occur on which reports, a chart of the findings that
// hurt most reports, and what changed against a folder of older reports;
// exports the matrix as CSV and brings a report to the front on a
// double-click.
#pragma once

#include "core/fleet/findings.h"
#include "gui/shell/childwindow.h"
#include "gui/support/longload.h"

#include <QList>
#include <QPointer>

#include <optional>
#include <string>
#include <vector>

class QChartView;
class QHorizontalBarSeries;
class QLabel;
class QPushButton;
class QTableView;

namespace qmx {

class FindingsModel;

class FindingsWindow : public ChildWindow {
    Q_OBJECT
public:
    // Runs the rules over the reports open now.
    explicit FindingsWindow(Workspace& workspace, QWidget* parent = nullptr);

    // Runs the rules again over the open reports (and the older folder, when
    // one is chosen); ignored while a run is under way.
    void runFindings();
    // Asks for a folder of older reports and compares with it.
    void compareWithFolder();
    void exportCsv();
    // Brings the report of a marked cell to the front on its Suggestions
    // page.
    void activateCell(const QModelIndex& index);

    const FindingsModel& model() const { return *model_; }
    bool running() const { return load_.loading(); }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    struct Column {
        QString caption;
        QPointer<ChildWindow> window;
    };
    void buildControls();
    void connectControls();
    void showResult(std::vector<ReportFindings> found, const QList<Column>& columns,
                    std::optional<std::vector<ReportFindings>> older);
    void fillChart();
    void selectChartBar(int index);

    QTableView* FindingsGrid = nullptr;
    QChartView* FindingsChart = nullptr;
    QPushButton* RunAgain = nullptr;
    QPushButton* CompareFolder = nullptr;
    QPushButton* ExportCsv = nullptr;
    QLabel* Summary = nullptr;

    FindingsModel* model_ = nullptr;
    QHorizontalBarSeries* bars_ = nullptr;
    // The finding each bar stands for, bar 0 first.
    std::vector<std::string> barTexts_;
    QList<Column> columns_;
    QString olderFolder_;
    LongLoadGuard load_;
};

} // namespace qmx
