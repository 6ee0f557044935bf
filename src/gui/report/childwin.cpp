#include "gui/report/childwin.h"

#include "core/report/attached.h"
#include "core/rules/interpreter.h"
#include "core/util/error.h"
#include "core/util/text.h"
#include "gui/find/findbar.h"
#include "gui/report/checkgrid.h"
#include "gui/report/prgres.h"
#include "gui/shell/debugflag.h"
#include "gui/shell/workspace.h"
#include "gui/support/cellcopy.h"
#include "gui/support/celltips.h"
#include "gui/support/filenames.h"
#include "gui/support/guards.h"
#include "gui/support/lineview.h"
#include "gui/support/textcodec.h"
#include "gui/support/widgets.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QStatusBar>
#include <QTabWidget>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>

namespace qmx {

namespace {

LineView* makeText(QWidget* parent, const char* name)
{
    auto* view = new LineView(parent);
    view->setObjectName(QLatin1String(name));
    return view;
}

// The loader's colours as the view takes them; a range without a colour of
// its own leaves the line as it is.
std::vector<LineView::Colouring> colouring(const std::vector<TextColour>& colours)
{
    std::vector<LineView::Colouring> out;
    out.reserve(colours.size());
    for (const TextColour& t : colours)
        if (t.color != Colour::None)
            out.push_back({t.atLine, t.column, t.length, toQColor(t.color)});
    return out;
}

QListWidget* makeList(QWidget* parent, const char* name)
{
    auto* l = new QListWidget(parent);
    l->setObjectName(QLatin1String(name));
    l->setUniformItemSizes(true);
    return l;
}

QWidget* makePage(QTabWidget* tabs, const char* name, const QString& caption)
{
    auto* page = new QWidget;
    page->setObjectName(QLatin1String(name));
    tabs->addTab(page, caption);
    return page;
}

void fillList(QListWidget* list, const std::vector<std::string>& items)
{
    QSignalBlocker block(list);
    list->clear();
    list->addItems(toQStringList(items));
}

} // namespace

TForm1::TForm1(Workspace& workspace, QWidget* parent)
    : ChildWindow(workspace, parent), load_(workspace)
{
    setObjectName(QStringLiteral("Form1"));
    setFont(QFont(QStringLiteral("MS Sans Serif"), 8));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    layout->addWidget(PageControl1, 1);
    StatusBar1 = new QStatusBar(this);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    StatusBar1->setSizeGripEnabled(false);
    layout->addWidget(StatusBar1);

    TabSheet1 = makePage(PageControl1, "TabSheet1", tr("General"));
    TabSheet2 = makePage(PageControl1, "TabSheet2", tr("Config Text"));
    TabSheet3 = makePage(PageControl1, "TabSheet3", tr("Sections"));
    TabSheet4 = makePage(PageControl1, "TabSheet4", tr("Registry Keys"));
    TabSheet5 = makePage(PageControl1, "TabSheet5", tr("Files"));
    TabSheet6 = makePage(PageControl1, "TabSheet6", tr("Attached Files"));
    TabSheet7 = makePage(PageControl1, "TabSheet7", tr("Suggestions"));
    TabSheet8 = makePage(PageControl1, "TabSheet8", tr("Variables"));

    buildGeneralPage();
    buildConfigTextPage();
    buildSectionsPage();
    buildGridPage(TabSheet4, StringGrid1, registryModel_, "StringGrid1", {372, 109, 115},
                  {{tr("Red=Key not found"), QStringLiteral("background:#ff0000;color:#000000")},
                   {tr("Green=Default"), QStringLiteral("color:#008000")},
                   {tr("Yellow=Non-Default"), QStringLiteral("background:#ffff00;color:#000000")},
                   {tr("Blue=Assumed Default"), QStringLiteral("color:#0000ff")}});
    buildGridPage(TabSheet5, StringGrid2, filesModel_, "StringGrid2",
                  {126, 198, 64, 126, 64, 64, 64, 64, 64, 122},
                  {{tr("Red=File not found"), QStringLiteral("background:#ff0000")},
                   {tr("Green=Newer"), QStringLiteral("background:#008000")},
                   {tr("Yellow=Older"), QStringLiteral("background:#ffff00")}});
    buildAttachedPage();
    buildSuggestionsPage();
    buildVariablesPage();

    // The page that faces the user until a report is loaded.
    PageControl1->setCurrentWidget(TabSheet5);
    // The size a new window opens at; the pages follow the window when it is
    // resized or maximized.
    resize(644, 398);
    FormCreate();
}

TForm1::~TForm1() = default;

void TForm1::FormCreate()
{
    registryModel_->reset();
    filesModel_->reset();
}

void TForm1::buildGeneralPage()
{
    auto* layout = new QHBoxLayout(TabSheet1);
    auto* report = new QGroupBox(tr("Report Info"), TabSheet1);
    report->setObjectName(QStringLiteral("GroupBox1"));
    auto* rf = new QFormLayout(report);
    Edit1 = makeEdit(report, "Edit1");
    Edit2 = makeEdit(report, "Edit2");
    rf->addRow(tr("Date:"), Edit1);
    rf->addRow(tr("Time:"), Edit2);

    auto* ws = new QGroupBox(tr("Workstation Info"), TabSheet1);
    ws->setObjectName(QStringLiteral("GroupBox2"));
    auto* wf = new QFormLayout(ws);
    Edit3 = makeEdit(ws, "Edit3");
    Edit4 = makeEdit(ws, "Edit4");
    Edit5 = makeEdit(ws, "Edit5");
    Edit6 = makeEdit(ws, "Edit6");
    Edit7 = makeEdit(ws, "Edit7");
    ComboBox1 = new QComboBox(ws);
    ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
    ComboBox1->setEditable(true);
    ComboBox1->setInsertPolicy(QComboBox::NoInsert);
    Edit9 = makeEdit(ws, "Edit9");
    wf->addRow(tr("Name:"), Edit3);
    wf->addRow(tr("OS:"), Edit4);
    wf->addRow(tr("Memory:"), Edit5);
    wf->addRow(tr("CPU Type:"), Edit6);
    wf->addRow(tr("User Name:"), Edit7);
    wf->addRow(tr("Network Cards:"), ComboBox1);
    wf->addRow(tr("System Up Time:"), Edit9);

    auto* left = new QVBoxLayout;
    left->addWidget(report);
    left->addStretch(1);
    layout->addLayout(left, 2);
    layout->addWidget(ws, 3);
}

void TForm1::buildConfigTextPage()
{
    auto* layout = new QVBoxLayout(TabSheet2);
    layout->setContentsMargins(2, 2, 2, 2);
    // Read-only: the attached files are rebuilt from the lines as loaded.
    RichEdit1 = makeText(TabSheet2, "RichEdit1");
    layout->addWidget(FindBar::wrap(RichEdit1));
}

void TForm1::buildSectionsPage()
{
    auto* grid = new QGridLayout(TabSheet3);
    Label10 = new QLabel(tr("Sections"), TabSheet3);
    Label10->setObjectName(QStringLiteral("Label10"));
    ListBox1 = makeList(TabSheet3, "ListBox1");
    Label11 = new QLabel(tr("Keys"), TabSheet3);
    Label11->setObjectName(QStringLiteral("Label11"));
    ListBox2 = makeList(TabSheet3, "ListBox2");
    auto* valueLabel = new QLabel(tr("Current Key Value:"), TabSheet3);
    Edit10 = LineView::singleLine(TabSheet3);
    Edit10->setObjectName(QStringLiteral("Edit10"));
    auto* allLabel = new QLabel(tr("All Keys in Section"), TabSheet3);
    Memo1 = makeText(TabSheet3, "Memo1");

    grid->addWidget(Label10, 0, 0);
    grid->addWidget(ListBox1, 1, 0, 3, 1);
    grid->addWidget(Label11, 0, 1);
    grid->addWidget(ListBox2, 1, 1, 3, 1);
    grid->addWidget(valueLabel, 0, 2);
    grid->addWidget(Edit10, 1, 2);
    grid->addWidget(allLabel, 2, 2);
    grid->addWidget(Memo1, 3, 2);
    grid->setColumnStretch(0, 2);
    grid->setColumnStretch(1, 2);
    grid->setColumnStretch(2, 3);
    grid->setRowStretch(3, 1);

    connect(ListBox1, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row >= 0)
            ListBox1Click();
    });
    connect(ListBox2, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row >= 0)
            ListBox2Click();
    });
}

void TForm1::buildGridPage(QWidget* page, QTableView*& grid, CheckTableModel*& model,
                           const char* gridName, const std::vector<int>& widths,
                           const std::vector<std::pair<QString, QString>>& legend)
{
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->setSpacing(2);
    auto* bar = new QHBoxLayout;
    bar->setSpacing(4);
    int n = 0;
    for (const auto& [text, style] : legend) {
        auto* l = new QLabel(text, page);
        l->setObjectName(QStringLiteral("%1Legend%2").arg(QLatin1String(gridName)).arg(++n));
        l->setStyleSheet(style + QStringLiteral(";padding:1px 4px;"));
        bar->addWidget(l);
    }
    bar->addStretch(1);
    layout->addLayout(bar);

    model = new CheckTableModel(static_cast<int>(widths.size()), this);
    grid = new QTableView(page);
    grid->setObjectName(QLatin1String(gridName));
    grid->setModel(model);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->setWordWrap(false);
    installCellCopy(grid);
    installClippedTextTips(grid);
    grid->verticalHeader()->hide();
    grid->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    grid->verticalHeader()->setDefaultSectionSize(grid->fontMetrics().height() + 6);
    QHeaderView* h = grid->horizontalHeader();
    h->setSectionsMovable(true);
    h->setSectionResizeMode(QHeaderView::Interactive);
    h->setHighlightSections(false);
    for (size_t c = 0; c < widths.size(); ++c)
        h->resizeSection(static_cast<int>(c), widths[c]);
    layout->addWidget(grid, 1);
}

void TForm1::buildAttachedPage()
{
    auto* grid = new QGridLayout(TabSheet6);
    ListBox3 = makeList(TabSheet6, "ListBox3");
    memo2 = makeText(TabSheet6, "memo2");
    grid->addWidget(new QLabel(tr("Files"), TabSheet6), 0, 0);
    grid->addWidget(ListBox3, 1, 0);
    grid->addWidget(new QLabel(tr("Selected File"), TabSheet6), 0, 1);
    grid->addWidget(memo2, 1, 1);
    grid->setColumnStretch(0, 1);
    grid->setColumnStretch(1, 3);
    // Taking the focus makes the first file current without selecting it;
    // only a file the user selects is rebuilt and shown.
    connect(ListBox3, &QListWidget::itemSelectionChanged, this, &TForm1::ListBox3Click);
}

void TForm1::buildSuggestionsPage()
{
    auto* layout = new QVBoxLayout(TabSheet7);
    layout->setContentsMargins(2, 2, 2, 2);
    Output = makeText(TabSheet7, "Output");
    layout->addWidget(Output, 1);
    auto* row = new QHBoxLayout;
    CheckBox1 = new QCheckBox(tr("&Word Wrap Suggestions"), TabSheet7);
    CheckBox1->setObjectName(QStringLiteral("CheckBox1"));
    CheckBox1->setChecked(true);
    Button1 = new QPushButton(tr("&Reprocess"), TabSheet7);
    Button1->setObjectName(QStringLiteral("Button1"));
    row->addWidget(CheckBox1);
    row->addStretch(1);
    row->addWidget(Button1);
    layout->addLayout(row);
    connect(CheckBox1, &QCheckBox::clicked, this, &TForm1::CheckBox1Click);
    connect(Button1, &QPushButton::clicked, this, &TForm1::Button1Click);
}

void TForm1::buildVariablesPage()
{
    auto* layout = new QVBoxLayout(TabSheet8);
    layout->setContentsMargins(2, 2, 2, 2);
    ListBox4 = makeText(TabSheet8, "ListBox4");
    layout->addWidget(ListBox4);
}

void TForm1::removeVariablesPage()
{
    if (!TabSheet8)
        return;
    PageControl1->removeTab(PageControl1->indexOf(TabSheet8));
    TabSheet8->deleteLater();
    TabSheet8 = nullptr;
    ListBox4 = nullptr;
}

void TForm1::loadall(const QString& path)
{
    if (!load_.begin())
        return;
    Button1->setEnabled(false);
    std::string failure;
    bool stopped = false;
    EventPump pump;
    {
        BusyCursor busy;
        if (!debugFlag())
            removeVariablesPage();
        ProgressDisplay* display = workspace_.progressDisplay();
        CountingProgress counting;
        LoadAndShowProgress progress(display ? static_cast<Progress&>(*display) : counting,
                                     kShowStages);
        if (display)
            display->start();

        LoadOptions options;
        options.progress = &progress;
        // A close asked for while events run stops the load at the next pump.
        options.pump = [this, &pump] {
            pump();
            load_.throwIfStopped();
        };
        pump.now();
        options.runRules = [this](ReportDocument& doc) { runRules(doc); };
        try {
            qmx::loadall(doc_, localPath(path), options);
        } catch (const Cancelled&) {
            stopped = true;
        } catch (const std::exception& e) {
            failure = errorMessage(e, "open the report");
        }
        try {
            if (!stopped)
                showDocument(pump, progress);
        } catch (const std::exception& e) {
            if (failure.empty())
                failure = errorMessage(e, "show the report");
        }
        if (display)
            display->finish();
    }
    lastMaxGapNs_ = pump.maxGapNs();
    Button1->setEnabled(true);
    load_.end();
    if (!failure.empty())
        workspace_.prompts().error(toQString(failure));
    load_.closeIfAsked(this);
}

void TForm1::fileNotFound(const QString& path)
{
    StatusBar1->showMessage(tr("File not found: %1").arg(path));
}

void TForm1::showDocument(EventPump& pump, LoadAndShowProgress& progress)
{
    Edit1->setText(toQString(doc_.general.date));
    Edit2->setText(toQString(doc_.general.time));
    Edit3->setText(toQString(doc_.general.name));
    Edit4->setText(toQString(doc_.general.os));
    Edit5->setText(toQString(doc_.general.memory));
    Edit6->setText(toQString(doc_.general.cpu));
    Edit7->setText(toQString(doc_.general.user));
    Edit9->setText(toQString(doc_.general.uptime));
    ComboBox1->clear();
    ComboBox1->addItems(toQStringList(doc_.nics));
    ComboBox1->setEditText(toQString(doc_.nicShown));

    fillList(ListBox1, doc_.sections);
    Label10->setText(doc_.sectionsLabel.empty() ? tr("Sections") : toQString(doc_.sectionsLabel));
    fillList(ListBox3, doc_.attached);

    if (doc_.registry.header.empty())
        registryModel_->reset();
    else
        registryModel_->setTable(std::move(doc_.registry));
    if (doc_.files.header.empty())
        filesModel_->reset();
    else
        filesModel_->setTable(std::move(doc_.files));
    progress.stageDone();

    showConfigText();
    progress.stageDone();
    showSuggestions();
    showVariables();
    CheckBox1Click();
    PageControl1->setCurrentWidget(TabSheet1);
    pump.now();
    progress.stageDone();
}

void TForm1::showConfigText()
{
    RichEdit1->setLines(doc_.lines, doc_.rawText);
    RichEdit1->setColouring(colouring(doc_.textColours));
}

void TForm1::showSuggestions()
{
    Output->setLines(doc_.suggestions);
}

void TForm1::showVariables()
{
    if (!ListBox4 || !debugFlag())
        return;
    std::vector<std::string> entries = doc_.variables.toVector();
    std::stable_sort(
        entries.begin(), entries.end(),
        [](const std::string& a, const std::string& b) { return compareNoCase(a, b) < 0; });
    ListBox4->setLines(entries);
}

void TForm1::runRules(ReportDocument& doc)
{
    const Workspace* workspace = &workspace_;
    RuleInterpreter interpreter(doc.variables, doc.suggestions, debugFlag(),
                                [workspace] { return workspace->ruleText(); });
    interpreter.dorules("Not");
}

void TForm1::ListBox1Click()
{
    const int row = ListBox1->currentRow();
    Memo1->clear();
    if (row < 0 || !doc_.store)
        return;
    browser_.chooseSection(*doc_.store, fromQString(ListBox1->item(row)->text()));
    fillList(ListBox2, browser_.keys);
    Memo1->setLines(browser_.allKeys);
    Label11->setText(toQString(browser_.keysLabel));
}

void TForm1::ListBox2Click()
{
    const int row = ListBox2->currentRow();
    if (row < 0 || !doc_.store)
        return;
    browser_.chooseKey(*doc_.store, fromQString(ListBox2->item(row)->text()));
    Edit10->setLines(std::vector<std::string>{browser_.currentValue});
}

void TForm1::ListBox3Click()
{
    const QList<QListWidgetItem*> chosen = ListBox3->selectedItems();
    if (chosen.isEmpty())
        return;
    std::vector<std::string> lines;
    std::string failure;
    {
        BusyCursor busy;
        memo2->clear();
        try {
            extractAttached(doc_.lines, fromQString(chosen.first()->text()), lines);
        } catch (const std::exception& e) {
            failure = e.what();
        }
        memo2->setLines(lines);
    }
    if (!failure.empty())
        workspace_.prompts().error(toQString(failure));
}

void TForm1::CheckBox1Click()
{
    const bool wrap = CheckBox1->isChecked();
    Output->setWordWrap(wrap);
    Output->setHorizontalScrollBarPolicy(wrap ? Qt::ScrollBarAlwaysOff : Qt::ScrollBarAlwaysOn);
    Output->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
}

void TForm1::Button1Click()
{
    if (loading())
        return;
    guarded(workspace_.prompts(), [this] {
        doc_.suggestions.clear();
        runRules(doc_);
        showSuggestions();
        showVariables();
    });
}

std::optional<CommandStates> TForm1::commandStates() const
{
    // A report is only read: saved under another name, compared, never run.
    return CommandStates{.save = false, .saveAs = true, .run = false, .compare = true};
}

void TForm1::loadasection(const QString& section)
{
    if (!doc_.store)
        return;
    browser_.loadasection(*doc_.store, fromQString(section));
    fillList(ListBox2, browser_.keys);
}

void TForm1::showSuggestionsPage()
{
    PageControl1->setCurrentWidget(TabSheet7);
}

void TForm1::comparisonDone()
{
    if (!doc_.sections.empty())
        loadasection(toQString(doc_.sections.back()));
}

QString TForm1::LoadaValue(const QString& section, const QString& key) const
{
    if (!doc_.store)
        return {};
    return toQString(qmx::LoadaValue(*doc_.store, fromQString(section), fromQString(key)));
}

void TForm1::closeEvent(QCloseEvent* event)
{
    // Events run inside the load; the window goes once it is done.
    if (load_.deferClose(event))
        return;
    workspace_.compareList().removeFirstEqual(caption());
    doc_ = ReportDocument{};
    browser_ = SectionBrowser{};
    event->accept();
}

} // namespace qmx
