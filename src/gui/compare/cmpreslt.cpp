#include "gui/compare/cmpreslt.h"

#include "core/util/fileio.h"
#include "gui/compare/comparemodel.h"
#include "gui/shell/workspace.h"
#include "gui/support/cellcopy.h"
#include "gui/support/celltips.h"
#include "gui/support/filenames.h"
#include "gui/support/guards.h"
#include "gui/support/textcodec.h"
#include "gui/support/widgets.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QToolButton>
#include <QVBoxLayout>

namespace qmx {

TfrmCompareResults::TfrmCompareResults(Workspace& workspace, QWidget* parent)
    : ChildWindow(workspace, parent)
{
    setObjectName(QStringLiteral("frmCompareResults"));
    setWindowTitle(tr("Compare Results"));
    buildControls();
    FormCreate();
}

void TfrmCompareResults::buildControls()
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    auto* bar = new QHBoxLayout;
    DifferencesOnly = makeNamed<QCheckBox>("DifferencesOnly", tr("&Differences only"), this);
    auto* baselineLabel = new QLabel(tr("&Baseline:"), this);
    BaselineChoice = makeNamed<QComboBox>("BaselineChoice", this);
    BaselineChoice->addItems({tr("First report"), tr("Most common value")});
    baselineLabel->setBuddy(BaselineChoice);

    auto* previous = new QAction(tr("Previous difference"), this);
    previous->setShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F8));
    auto* next = new QAction(tr("Next difference"), this);
    next->setShortcut(QKeySequence(Qt::Key_F8));
    for (QAction* a : {previous, next}) {
        // Each result window answers its own keys, not the frame's.
        a->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        a->setToolTip(a->text() + QStringLiteral(" (")
                      + a->shortcut().toString(QKeySequence::NativeText) + QLatin1Char(')'));
        addAction(a);
    }
    PreviousDifference = makeNamed<QToolButton>("PreviousDifference", this);
    PreviousDifference->setDefaultAction(previous);
    NextDifference = makeNamed<QToolButton>("NextDifference", this);
    NextDifference->setDefaultAction(next);
    ExportCsv = makeNamed<QPushButton>("ExportCsv", tr("Export CSV..."), this);
    bar->addWidget(DifferencesOnly);
    bar->addSpacing(8);
    bar->addWidget(baselineLabel);
    bar->addWidget(BaselineChoice);
    bar->addSpacing(8);
    bar->addWidget(PreviousDifference);
    bar->addWidget(NextDifference);
    bar->addStretch();
    bar->addWidget(ExportCsv);
    layout->addLayout(bar);

    model_ = new CompareGridModel(this);
    StringAlignGrid1 = makeNamed<QTableView>("StringAlignGrid1", this);
    StringAlignGrid1->setModel(model_);
    installClippedTextTips(StringAlignGrid1);
    StringAlignGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    StringAlignGrid1->setWordWrap(false);
    StringAlignGrid1->horizontalHeader()->setDefaultSectionSize(300);
    StringAlignGrid1->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    StringAlignGrid1->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    // Headers are paths: keep the file name in view.
    StringAlignGrid1->horizontalHeader()->setTextElideMode(Qt::ElideLeft);
    // Fixed row heights: no row is measured, however many there are.
    QHeaderView* keys = StringAlignGrid1->verticalHeader();
    keys->setSectionResizeMode(QHeaderView::Fixed);
    keys->setDefaultSectionSize(StringAlignGrid1->fontMetrics().height() + 6);
    keys->setFixedWidth(300);
    keys->setTextElideMode(Qt::ElideMiddle);
    installCellCopy(StringAlignGrid1);
    layout->addWidget(StringAlignGrid1, 1);

    Summary = makeNamed<QLabel>("Summary", this);
    layout->addWidget(Summary);

    connect(DifferencesOnly, &QCheckBox::toggled, this, [this](bool on) {
        model_->setDifferencesOnly(on);
        updateSummary();
    });
    connect(BaselineChoice, &QComboBox::currentIndexChanged, this, [this](int i) {
        model_->setBaseline(i == 1 ? Baseline::Majority : Baseline::First);
        updateSummary();
    });
    connect(previous, &QAction::triggered, this, &TfrmCompareResults::previousDifference);
    connect(next, &QAction::triggered, this, &TfrmCompareResults::nextDifference);
    connect(ExportCsv, &QPushButton::clicked, this, &TfrmCompareResults::exportCsv);
}

void TfrmCompareResults::FormCreate()
{
    headers_ = workspace_.compareList().tickedPaths();
    CompareGrid();
}

void TfrmCompareResults::CompareGrid()
{
    BusyCursor busy;
    std::vector<CompareColumn> columns;
    QList<ChildWindow*> visited;
    for (const QString& path : headers_) {
        // The header is shown and exported as UTF-8 text.
        CompareColumn column{path.toUtf8().toStdString(), {}};
        for (ChildWindow* report : workspace_.reportDocuments(path)) {
            column.reports.push_back(report->comparisonSource());
            visited << report;
        }
        columns.push_back(std::move(column));
    }
    const auto baseline =
        BaselineChoice->currentIndex() == 1 ? Baseline::Majority : Baseline::First;
    model_->setGrid(compareReports(columns, baseline));
    for (ChildWindow* report : visited)
        report->comparisonDone();
    updateSummary();
}

void TfrmCompareResults::updateSummary()
{
    const ComparisonGrid& grid = model_->grid();
    Summary->setText(tr("%1 of %2 rows differ").arg(grid.differingRows()).arg(grid.rowCount()));
}

void TfrmCompareResults::moveToDifference(bool forward)
{
    const QModelIndex target = model_->nextRed(StringAlignGrid1->currentIndex(), forward);
    if (!target.isValid()) {
        QApplication::beep();
        return;
    }
    StringAlignGrid1->setCurrentIndex(target);
    StringAlignGrid1->scrollTo(target);
}

void TfrmCompareResults::nextDifference()
{
    moveToDifference(true);
}

void TfrmCompareResults::previousDifference()
{
    moveToDifference(false);
}

void TfrmCompareResults::exportCsv()
{
    qmx::exportCsv(workspace_.prompts(), QStringLiteral("compare.csv"), [this] {
        return comparisonCsv(model_->grid(), model_->differencesOnly(), [](std::string_view s) {
            return toQString(s).toUtf8().toStdString();
        });
    });
}

} // namespace qmx
