#include "gui/server/srvcfg.h"

#include "core/server/serverreport.h"
#include "core/util/error.h"
#include "gui/find/findbar.h"
#include "gui/shell/workspace.h"
#include "gui/support/eventpump.h"
#include "gui/support/filenames.h"
#include "gui/support/guards.h"
#include "gui/support/lineview.h"
#include "gui/support/textcodec.h"
#include "gui/support/widgets.h"

#include <QCloseEvent>
#include <QFontDatabase>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QStatusBar>
#include <QTabWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace qmx {

namespace {

// List and table items added between two runs of window events; a slice of
// this many takes a few milliseconds.
constexpr size_t kLinesPerSlice = 250;

constexpr std::array<int, 5> kPanelWidths = {125, 84, 50, 160, 160};

// The report is laid out in fixed columns; the texts and lists keep them.
QFont fixedFont()
{
    return QFontDatabase::systemFont(QFontDatabase::FixedFont);
}

LineView* makeMemo(const char* name)
{
    auto* memo = makeNamed<LineView>(name);
    memo->setFont(fixedFont());
    return memo;
}

QTreeWidget* makeTable(const char* name, const QStringList& titles,
                       std::initializer_list<int> widths)
{
    auto* table = makeNamed<QTreeWidget>(name);
    table->setRootIsDecorated(false);
    table->setUniformRowHeights(true);
    table->setColumnCount(static_cast<int>(titles.size()));
    table->setHeaderLabels(titles);
    int col = 0;
    for (const int w : widths)
        table->setColumnWidth(col++, w);
    table->header()->setStretchLastSection(false);
    return table;
}

// Adds items to a list or table a slice at a time, letting events run
// between slices. make(item) builds what add() takes for one item.
template <class Items, class Make, class Add>
void addSliced(const Items& items, EventPump& pump, Make&& make, Add&& add)
{
    for (size_t first = 0; first < items.size(); first += kLinesPerSlice) {
        const size_t last = std::min(items.size(), first + kLinesPerSlice);
        QList<decltype(make(items[0]))> slice;
        slice.reserve(static_cast<qsizetype>(last - first));
        for (size_t i = first; i < last; ++i)
            slice << make(items[i]);
        add(slice);
        pump();
    }
}

template <class Rows> void fillTable(QTreeWidget* table, const Rows& rows, EventPump& pump)
{
    addSliced(
        rows, pump,
        [](const auto& row) {
            QStringList cells;
            for (const std::string_view c : row)
                cells << toQString(c);
            return new QTreeWidgetItem(cells);
        },
        [table](const QList<QTreeWidgetItem*>& slice) { table->addTopLevelItems(slice); });
}

void fillList(QListWidget* list, const TextLines& items, EventPump& pump)
{
    addSliced(
        items, pump, [](std::string_view item) { return toQString(item); },
        [list](const QList<QString>& slice) { list->addItems(slice); });
}

} // namespace

Tsrvrcfg::Tsrvrcfg(Workspace& workspace, QWidget* parent)
    : ChildWindow(workspace, parent), load_(workspace)
{
    setObjectName(QStringLiteral("srvrcfg"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    PageControl1 = makeNamed<QTabWidget>("PageControl1", this);
    layout->addWidget(PageControl1, 1);
    const QString captions[] = {tr("Config Analysis"), tr("Config Text"), tr("ZCF Files"),
                                tr("DOS Files"),       tr("Vols/Ints"),   tr("Suggestions"),
                                tr("Patches"),         tr("Compare")};
    for (size_t k = 0; k < TabSheets.size(); ++k) {
        TabSheets[k] = new QWidget;
        TabSheets[k]->setObjectName(QStringLiteral("TabSheet%1").arg(k + 1));
        PageControl1->addTab(TabSheets[k], captions[k]);
    }
    buildAnalysisPage();
    Memo1 = makeMemo("Memo1");
    (new QVBoxLayout(TabSheets[1]))->addWidget(FindBar::wrap(Memo1));
    auto* click = makeNamed<QLabel>("Label13", tr("Click for C:AUTOEXEC.ZCF"));
    buildFilesPage(TabSheets[2], tr("STARTUP.ZCF"), Memo2, "Memo2", tr("SYS:SYSTEM\\AUTOEXEC.ZCF"),
                   Memo3, "Memo3", click);
    buildFilesPage(TabSheets[3], tr("CONFIG.SYS"), Memo4, "Memo4", tr("AUTOEXEC.BAT"), Memo5,
                   "Memo5", nullptr);
    buildTablesPage();
    buildStatusBar();
    layout->addWidget(StatusBar1);
    PageControl1->setCurrentIndex(0);
}

void Tsrvrcfg::buildAnalysisPage()
{
    auto* grid = new QGridLayout(TabSheets[0]);
    ListBox1 = makeNamed<QListWidget>("ListBox1");
    ListBox1->setUniformItemSizes(true);
    Label2 = makeNamed<QLabel>(
        "Label2", QString::fromLatin1(kOtherZlmsDesign.data(), kOtherZlmsDesign.size()));
    ListBox2 = makeNamed<QListWidget>("ListBox2");
    ListBox2->setUniformItemSizes(true);
    for (QListWidget* list : {ListBox1, ListBox2})
        list->setFont(fixedFont());
    grid->addWidget(makeNamed<QLabel>("Label1", tr("Patches")), 0, 0);
    grid->addWidget(ListBox1, 1, 0);
    grid->addWidget(Label2, 2, 0);
    grid->addWidget(ListBox2, 3, 0);

    GroupBox1 = makeNamed<QGroupBox>("GroupBox1", tr("Server Info"));
    auto* form = new QFormLayout(GroupBox1);
    QLineEdit** edits[] = {&Edit1, &Edit2, &Edit3, &Edit4, &Edit5, &Edit6};
    const QString labels[] = {tr("OS Version"), tr("Server Name"), tr("Total Memory"),
                              tr("License"),    tr("Engine Type"), tr("Internal Net")};
    for (int k = 0; k < 6; ++k) {
        *edits[k] = makeNamed<QLineEdit>(qPrintable(QStringLiteral("Edit%1").arg(k + 1)));
        (*edits[k])->setReadOnly(true);
        form->addRow(labels[k], *edits[k]);
    }
    Label9 = makeNamed<QLabel>(
        "Label9", QString::fromLatin1(kConfigCreatedDesign.data(), kConfigCreatedDesign.size()));
    Label10 = makeNamed<QLabel>(
        "Label10", QString::fromLatin1(kProducedByDesign.data(), kProducedByDesign.size()));
    QFont small = Label9->font();
    small.setPointSizeF(small.pointSizeF() * 0.85);
    for (QLabel* l : {Label9, Label10}) {
        l->setFont(small);
        form->addRow(l);
    }
    GroupBox2 = makeNamed<QGroupBox>("GroupBox2", tr("Complete Patch Sets In Config"));
    ListBox3 = makeNamed<QListWidget>("ListBox3");
    (new QVBoxLayout(GroupBox2))->addWidget(ListBox3);
    grid->addWidget(GroupBox1, 0, 1, 2, 1);
    grid->addWidget(GroupBox2, 2, 1, 2, 1);
    grid->setColumnStretch(0, 3);
    grid->setColumnStretch(1, 2);
    grid->setRowStretch(1, 1);
    grid->setRowStretch(3, 2);
}

void Tsrvrcfg::buildFilesPage(QWidget* page, const QString& first, LineView*& memoA,
                              const char* nameA, const QString& second, LineView*& memoB,
                              const char* nameB, QLabel* note)
{
    auto* box = new QVBoxLayout(page);
    memoA = makeMemo(nameA);
    memoB = makeMemo(nameB);
    box->addWidget(new QLabel(first));
    box->addWidget(FindBar::wrap(memoA), 1);
    auto* heading = new QHBoxLayout;
    heading->addWidget(new QLabel(second));
    heading->addStretch(1);
    if (note)
        heading->addWidget(note);
    box->addLayout(heading);
    box->addWidget(FindBar::wrap(memoB), 1);
}

void Tsrvrcfg::buildTablesPage()
{
    auto* box = new QVBoxLayout(TabSheets[4]);
    auto* volumes = new QHBoxLayout;
    volumes->addWidget(new QLabel(tr("Volume Info")));
    volumes->addWidget(new QLabel(tr("(Mounted Volumes)")));
    volumes->addStretch(1);
    box->addLayout(volumes);
    ListView1 = makeTable("ListView1",
                          {tr("Volume Name"), tr("Volume Size"), tr("Free Blocks"),
                           tr("Purgable Blocks"), tr("Purgable Vol Space")},
                          {150, 150, 100, 150, 300});
    box->addWidget(ListView1, 1);
    auto* ints = new QHBoxLayout;
    ints->addWidget(new QLabel(tr("Interrupts")));
    ints->addSpacing(24);
    ints->addWidget(makeNamed<QLabel>(
        "Label12", tr("Priority of Ints: 0, 1, 2/9, 10, 11, 12, 13, 14,15, 3, 4, 5, 6, 7")));
    ints->addStretch(1);
    box->addLayout(ints);
    ListView2 = makeTable("ListView2",
                          {tr("Interrupt"), tr("Device Type"), tr("Driver"), tr("Mirror Status")},
                          {70, 150, 120, 513});
    box->addWidget(ListView2, 1);
}

void Tsrvrcfg::buildStatusBar()
{
    StatusBar1 = makeNamed<QStatusBar>("StatusBar1", this);
    StatusBar1->setSizeGripEnabled(false);
    for (size_t k = 0; k < panels_.size(); ++k) {
        panels_[k] = makeNamed<QLabel>(qPrintable(QStringLiteral("Panel%1").arg(k)));
        panels_[k]->setFixedWidth(kPanelWidths[k]);
        panels_[k]->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        StatusBar1->addWidget(panels_[k]);
    }
}

QString Tsrvrcfg::panelText(int index) const
{
    return index >= 0 && index < 5 ? panels_[static_cast<size_t>(index)]->text() : QString();
}

int Tsrvrcfg::panelWidth(int index) const
{
    return index >= 0 && index < 5 ? panels_[static_cast<size_t>(index)]->width() : 0;
}

void Tsrvrcfg::showReport(const ServerReport& r, EventPump& pump)
{
    QLineEdit* edits[] = {Edit1, Edit2, Edit3, Edit4, Edit5, Edit6};
    const std::string* values[] = {&r.osVersion, &r.serverName, &r.totalMemory,
                                   &r.license,   &r.engineType, &r.internalNet};
    for (int k = 0; k < 6; ++k)
        edits[k]->setText(toQString(*values[k]));
    Label2->setText(toQString(r.label2));
    Label9->setText(toQString(r.label9));
    Label10->setText(toQString(r.label10));
    fillList(ListBox1, r.patches, pump);
    fillList(ListBox2, r.modules, pump);
    Memo1->setLines(r.lines, r.text);
    Memo2->setLines(r.startupZcf, r.text);
    Memo3->setLines(r.autoexecZcf, r.text);
    Memo4->setLines(r.configSys, r.text);
    Memo5->setLines(r.autoexecBat, r.text);
    fillTable(ListView1, r.volumes, pump);
    fillTable(ListView2, r.interrupts, pump);
    for (size_t k = 1; k < panels_.size(); ++k)
        panels_[k]->setText(toQString(r.status[k]));
}

bool Tsrvrcfg::loadall(const QString& path)
{
    if (!load_.begin())
        return false;
    bool failed = false;
    EventPump pump;
    {
        BusyCursor busy;
        pump.now();
        try {
            const ServerReport r = loadServerReport(localPath(path), [&pump] { pump(); });
            showReport(r, pump);
        } catch (const Error&) {
            failed = true;
        }
        pump.now();
    }
    lastMaxGapNs_ = pump.maxGapNs();
    load_.end();
    if (failed)
        workspace_.prompts().error(tr("Cannot open file %1").arg(path));
    load_.closeIfAsked(this);
    return !failed;
}

void Tsrvrcfg::closeEvent(QCloseEvent* event)
{
    // Events run inside the load; the window goes once it is done.
    if (load_.deferClose(event))
        return;
    event->accept();
}

} // namespace qmx
