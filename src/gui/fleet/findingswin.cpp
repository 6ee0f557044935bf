#include "gui/fleet/findingswin.h"

#include "core/fleet/reportfiles.h"
#include "core/util/error.h"
#include "core/util/fileio.h"
#include "gui/fleet/findingsmodel.h"
#include "gui/shell/workspace.h"
#include "gui/support/cellcopy.h"
#include "gui/support/eventpump.h"
#include "gui/support/filenames.h"
#include "gui/support/guards.h"
#include "gui/support/textcodec.h"
#include "gui/support/widgets.h"

#include <QBarCategoryAxis>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QCloseEvent>
#include <QCursor>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QHorizontalBarSeries>
#include <QLabel>
#include <QPushButton>
#include <QSplitter>
#include <QTableView>
#include <QToolTip>
#include <QVBoxLayout>
#include <QValueAxis>

#include <algorithm>

namespace qmx {

namespace {

constexpr int kChartBars = 10;
// Short enough for the category axis to show whole beside the bars; the
// whole text is the bar's tool-tip.
constexpr int kChartLabelChars = 16;

// Reads every report at paths with the rule text, a step and a chance for
// events after each one.
std::vector<ReportFindings> readReports(const std::vector<std::string>& paths,
                                        const std::string& rules, Progress& progress,
                                        EventPump& pump)
{
    std::vector<ReportFindings> found;
    found.reserve(paths.size());
    for (const std::string& path : paths) {
        found.push_back(findReportFindings(path, rules));
        progress.step();
        pump();
    }
    return found;
}

QString chartLabel(int rank, const std::string& text)
{
    QString label = toQString(text).simplified();
    if (label.size() > kChartLabelChars)
        label = label.left(kChartLabelChars - 3) + QStringLiteral("...");
    // The rank keeps labels apart that read the same once shortened.
    return QStringLiteral("%1. %2").arg(rank).arg(label);
}

} // namespace

FindingsWindow::FindingsWindow(Workspace& workspace, QWidget* parent)
    : ChildWindow(workspace, parent), load_(workspace)
{
    setObjectName(QStringLiteral("frmFindings"));
    setWindowTitle(tr("Findings"));
    buildControls();
    connectControls();
    runFindings();
}

void FindingsWindow::buildControls()
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    auto* bar = new QHBoxLayout;
    RunAgain = makeNamed<QPushButton>("RunAgain", tr("&Run Again"), this);
    RunAgain->setToolTip(tr("Runs the Options dialog's rule text again over the open reports"));
    CompareFolder = makeNamed<QPushButton>("CompareFolder", tr("Compare with &Folder..."), this);
    CompareFolder->setToolTip(tr("Marks the findings that are new or fixed since a folder of "
                                 "older reports"));
    ExportCsv = makeNamed<QPushButton>("ExportCsv", tr("Export CSV..."), this);
    Summary = makeNamed<QLabel>("Summary", this);
    bar->addWidget(RunAgain);
    bar->addWidget(CompareFolder);
    bar->addWidget(Summary, 1);
    bar->addWidget(ExportCsv);
    layout->addLayout(bar);

    model_ = new FindingsModel(this);
    FindingsGrid = makeNamed<QTableView>("FindingsGrid", this);
    FindingsGrid->setModel(model_);
    FindingsGrid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    FindingsGrid->setWordWrap(false);
    FindingsGrid->setSortingEnabled(true);
    FindingsGrid->horizontalHeader()->setSortIndicator(FindingsModel::kCountColumn,
                                                       Qt::DescendingOrder);
    FindingsGrid->horizontalHeader()->setDefaultSectionSize(90);
    FindingsGrid->horizontalHeader()->setTextElideMode(Qt::ElideLeft);
    FindingsGrid->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    FindingsGrid->verticalHeader()->setDefaultSectionSize(FindingsGrid->fontMetrics().height() + 6);
    FindingsGrid->verticalHeader()->hide();
    installCellCopy(FindingsGrid);

    auto* chart = new QChart;
    chart->setTitle(tr("Findings on most reports"));
    chart->legend()->hide();
    chart->setMargins(QMargins(2, 2, 2, 2));
    FindingsChart = makeNamed<QChartView>("FindingsChart", chart, this);
    FindingsChart->setRenderHint(QPainter::Antialiasing);
    FindingsChart->setMinimumWidth(300);

    auto* split = new QSplitter(Qt::Horizontal, this);
    split->addWidget(FindingsGrid);
    split->addWidget(FindingsChart);
    split->setStretchFactor(0, 3);
    split->setStretchFactor(1, 2);
    layout->addWidget(split, 1);
}

void FindingsWindow::connectControls()
{
    connect(RunAgain, &QPushButton::clicked, this, &FindingsWindow::runFindings);
    connect(CompareFolder, &QPushButton::clicked, this, &FindingsWindow::compareWithFolder);
    connect(ExportCsv, &QPushButton::clicked, this, &FindingsWindow::exportCsv);
    connect(FindingsGrid, &QTableView::doubleClicked, this, &FindingsWindow::activateCell);
}

void FindingsWindow::runFindings()
{
    if (workspace_.busy() || !load_.begin())
        return;
    EventPump pump;
    guarded(workspace_.prompts(), [&] {
        BusyCursor busy;
        // The rule text as the editor holds it now, saved or not.
        const std::string rules = workspace_.ruleText();
        QList<Column> columns;
        std::vector<std::string> paths;
        for (ChildWindow* document : workspace_.documents())
            if (document->isWorkstationReport()) {
                columns << Column{document->caption(), document};
                paths.push_back(localPath(document->caption()));
            }
        std::vector<std::string> olderPaths;
        if (!olderFolder_.isEmpty()) {
            try {
                olderPaths = expandReportPaths({localPath(olderFolder_)});
            } catch (const Error&) {
                olderFolder_.clear(); // the next run goes on without it
                throw;
            }
        }

        ProgressDisplay* display = workspace_.progressDisplay();
        CountingProgress counting;
        Progress& progress = display ? static_cast<Progress&>(*display) : counting;
        struct Shown {
            ProgressDisplay* display;
            ~Shown()
            {
                if (display)
                    display->finish();
            }
        } shown{display};
        if (display)
            display->start();
        progress.setMaximum(int(paths.size() + olderPaths.size()));
        pump.now();
        auto found = readReports(paths, rules, progress, pump);
        std::optional<std::vector<ReportFindings>> older;
        if (!olderFolder_.isEmpty())
            older = readReports(olderPaths, rules, progress, pump);
        showResult(std::move(found), columns, std::move(older));
    });
    load_.end();
    load_.closeIfAsked(this);
}

void FindingsWindow::showResult(std::vector<ReportFindings> found, const QList<Column>& columns,
                                std::optional<std::vector<ReportFindings>> older)
{
    std::vector<ReportFindings> readable;
    QStringList captions;
    QStringList unreadable;
    columns_.clear();
    for (size_t i = 0; i < found.size(); ++i) {
        if (!found[i].error.empty()) {
            unreadable << columns[qsizetype(i)].caption + QStringLiteral(": ")
                              + toQString(found[i].error);
            continue;
        }
        captions << columns[qsizetype(i)].caption;
        columns_ << columns[qsizetype(i)];
        readable.push_back(std::move(found[i]));
    }
    std::optional<std::vector<HostChange>> changes;
    if (older)
        changes = compareScans(*older, readable);
    model_->setResult(std::move(readable), captions, std::move(changes));
    const QHeaderView* header = FindingsGrid->horizontalHeader();
    model_->sort(header->sortIndicatorSection(), header->sortIndicatorOrder());
    FindingsGrid->setColumnWidth(FindingsModel::kCountColumn, 50);
    FindingsGrid->setColumnWidth(FindingsModel::kTextColumn, 320);

    QString text = tr("%n finding(s) on %1 report(s)", nullptr, int(model_->summary().size()))
                       .arg(captions.size());
    if (older)
        text += tr(", compared with %1").arg(olderFolder_);
    if (!unreadable.isEmpty())
        text += tr("; %n report(s) could not be read", nullptr, int(unreadable.size()));
    Summary->setText(text);
    Summary->setToolTip(unreadable.join(QLatin1Char('\n')));
    fillChart();
}

void FindingsWindow::fillChart()
{
    QChart* chart = FindingsChart->chart();
    chart->removeAllSeries();
    // removeAxis hands the axis back to the caller.
    for (QAbstractAxis* axis : chart->axes()) {
        chart->removeAxis(axis);
        delete axis;
    }
    barTexts_.clear();
    const auto& summary = model_->summary();
    const int shown = std::min<int>(kChartBars, int(summary.size()));
    auto* set = new QBarSet(tr("Reports"));
    QStringList labels;
    // The chart draws its first bar at the bottom: the top finding goes last.
    for (int rank = shown; rank >= 1; --rank) {
        const SummaryRow& row = summary[size_t(rank - 1)];
        *set << qreal(row.hosts.size());
        labels << chartLabel(rank, row.text);
        barTexts_.push_back(row.text);
    }
    bars_ = new QHorizontalBarSeries;
    bars_->append(set);
    chart->addSeries(bars_);
    auto* categories = new QBarCategoryAxis;
    categories->append(labels);
    chart->addAxis(categories, Qt::AlignLeft);
    bars_->attachAxis(categories);
    auto* counts = new QValueAxis;
    counts->setRange(0, std::max<qsizetype>(1, columns_.size()));
    counts->setLabelFormat(QStringLiteral("%d"));
    counts->setTickCount(int(std::min<qsizetype>(columns_.size(), 5)) + 1);
    chart->addAxis(counts, Qt::AlignBottom);
    bars_->attachAxis(counts);
    connect(bars_, &QHorizontalBarSeries::clicked, this,
            [this](int index, QBarSet*) { selectChartBar(index); });
    connect(bars_, &QHorizontalBarSeries::hovered, this, [this](bool on, int index, QBarSet*) {
        if (on && index >= 0 && size_t(index) < barTexts_.size())
            QToolTip::showText(QCursor::pos(), toQString(barTexts_[size_t(index)]), FindingsChart);
        else
            QToolTip::hideText();
    });
}

void FindingsWindow::selectChartBar(int index)
{
    if (index < 0 || size_t(index) >= barTexts_.size())
        return;
    const int row = model_->rowOf(barTexts_[size_t(index)]);
    if (row < 0)
        return;
    FindingsGrid->selectRow(row);
    FindingsGrid->scrollTo(model_->index(row, FindingsModel::kTextColumn));
}

void FindingsWindow::activateCell(const QModelIndex& index)
{
    if (!index.isValid() || index.column() < FindingsModel::kFirstReport)
        return;
    const auto mark = model_->mark(index.row(), index.column());
    if (mark != FindingsModel::Mark::Present && mark != FindingsModel::Mark::New)
        return;
    const Column& column = columns_.at(index.column() - FindingsModel::kFirstReport);
    if (!column.window) {
        workspace_.showStatus(tr("The report window %1 has been closed.").arg(column.caption),
                              5000);
        return;
    }
    workspace_.bringToFront(column.window);
}

void FindingsWindow::compareWithFolder()
{
    if (running())
        return;
    const auto folder = workspace_.prompts().openFolder(tr("Folder of Older Reports"));
    if (!folder)
        return;
    olderFolder_ = *folder;
    runFindings();
}

void FindingsWindow::exportCsv()
{
    qmx::exportCsv(workspace_.prompts(), QStringLiteral("findings.csv"), [this] {
        return findingsMatrixCsv(model_->reports(), model_->summary(), [](const std::string& p) {
            return fromLocalPath(p).toUtf8().toStdString();
        });
    });
}

void FindingsWindow::closeEvent(QCloseEvent* event)
{
    if (load_.deferClose(event))
        return;
    ChildWindow::closeEvent(event);
}

} // namespace qmx
