#include "gui/rules/rules.h"

#include "core/util/fileio.h"
#include "core/util/lines.h"
#include "gui/rules/ruleeditor.h"
#include "gui/rules/ruleedits.h"
#include "gui/rules/settingsmodel.h"
#include "gui/shell/childwindow.h"
#include "gui/shell/prompts.h"
#include "gui/shell/workspace.h"
#include "gui/support/guards.h"
#include "gui/support/textcodec.h"
#include "gui/support/textedit.h"
#include "gui/support/widgets.h"
#include "gui/update/configupdate.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QStatusBar>
#include <QStyle>
#include <QTabWidget>
#include <QVBoxLayout>

namespace qmx {

namespace {

QCheckBox* makeCheck(QWidget* parent, const char* name, const QString& text, bool checked,
                     bool enabled)
{
    auto* c = new QCheckBox(text, parent);
    c->setObjectName(QLatin1String(name));
    c->setChecked(checked);
    c->setEnabled(enabled);
    return c;
}

// The variables of the workstation report in front (the main window's
// current one, else the one opened last), or none.
const VariableList* frontReport(const Workspace& workspace)
{
    const VariableList* last = nullptr;
    for (ChildWindow* document : workspace.documents()) {
        const VariableList* variables = document->reportVariables();
        if (!variables)
            continue;
        const auto* sub = qobject_cast<QMdiSubWindow*>(document->parentWidget());
        if (sub && sub->mdiArea() && sub->mdiArea()->currentSubWindow() == sub)
            return variables;
        last = variables;
    }
    return last;
}

} // namespace

Tfrules::Tfrules(Workspace& workspace, QWidget* parent)
    : QDialog(parent), workspace_(workspace), prompts_(workspace.prompts()),
      model_(*workspace.settings()), update_(workspace.configUpdate())
{
    setObjectName(QStringLiteral("frules"));
    setWindowTitle(tr("Options"));
    setModal(false);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 0);
    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    layout->addWidget(PageControl1, 1);
    StatusBar1 = new QStatusBar(this);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    StatusBar1->setSizeGripEnabled(false);
    CloseButton = new QPushButton(tr("&Close"), this);
    CloseButton->setObjectName(QStringLiteral("CloseButton"));
    CloseButton->setAutoDefault(false);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(StatusBar1, 1);
    bottom->addWidget(CloseButton);
    layout->addLayout(bottom);
    connect(CloseButton, &QPushButton::clicked, this, &Tfrules::CloseButtonClick);

    buildRulesPage(workspace);
    buildFtpPage();
    resize(460, 400);
    FormCreate();
}

Tfrules::~Tfrules()
{
    // A running update sees this at its next wait and unwinds without
    // touching the dialog again.
    update_.cancel();
}

void Tfrules::FormCreate()
{
    fromModel();
    connectModel();
}

void Tfrules::connectModel()
{
    connect(&model_, &SettingsModel::reset, this, &Tfrules::fromModel);
    for (QLineEdit* e : {Edit1, Edit2, Edit3, Edit4, Edit5, Edit7, Edit8, Edit9})
        connect(e, &QLineEdit::textChanged, this, &Tfrules::toModel);
    connect(CheckBox1, &QCheckBox::toggled, this, &Tfrules::toModel);
    connect(Memo1, &QPlainTextEdit::textChanged, this, &Tfrules::toModel);
    connect(&update_, &ConfigUpdate::statusChanged, this, &Tfrules::showStatus);
    // The last update's message is about fields the user is now changing.
    for (QLineEdit* e : {Edit1, Edit2, Edit3, Edit4, Edit5, Edit7, Edit8, Edit9})
        connect(e, &QLineEdit::textEdited, StatusBar1, &QStatusBar::clearMessage);
    connect(&update_, &ConfigUpdate::runningChanged, this, &Tfrules::updateButton1);
}

void Tfrules::buildRulesPage(Workspace& workspace)
{
    TabSheet1 = new QWidget;
    TabSheet1->setObjectName(QStringLiteral("TabSheet1"));
    PageControl1->addTab(TabSheet1, tr("Rules"));
    auto* layout = new QVBoxLayout(TabSheet1);
    auto* row = new QHBoxLayout;
    ComboBox1 = new QComboBox(TabSheet1);
    ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
    ComboBox1->setEditable(false);
    BitBtn2 = new QPushButton(style()->standardIcon(QStyle::SP_FileDialogNewFolder), tr("&Add"),
                              TabSheet1);
    BitBtn2->setObjectName(QStringLiteral("BitBtn2"));
    BitBtn1 =
        new QPushButton(style()->standardIcon(QStyle::SP_TrashIcon), tr("&Remove"), TabSheet1);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    row->addWidget(new QLabel(tr("Rule Set:"), TabSheet1));
    row->addWidget(ComboBox1, 1);
    row->addWidget(BitBtn2);
    row->addWidget(BitBtn1);
    TestOnReports = new QPushButton(tr("Test on open reports"), TabSheet1);
    TestOnReports->setObjectName(QStringLiteral("TestOnReports"));
    TestOnReports->setToolTip(tr("Runs the text below, saved or not, over every open report "
                                 "and shows the findings"));
    row->addWidget(TestOnReports);
    layout->addLayout(row);
    Memo1 = new TextEdit(TabSheet1);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    // A control character in a rule text (a pasted Ctrl-Z would end the
    // settings file when it is next read) is taken out as it arrives.
    connect(
        new ControlCharacterFilter(Memo1), &ControlCharacterFilter::removed, this, [this](int n) {
            showStatus(tr("%n control character(s) taken out of the rule text: the settings file "
                          "cannot hold them.",
                          nullptr, n));
        });
    Memo1->setLineWrapMode(QPlainTextEdit::NoWrap);
    QFont mono(QStringLiteral("Monospace"));
    mono.setStyleHint(QFont::TypeWriter);
    Memo1->setFont(mono);
    layout->addWidget(Memo1, 1);
    auto* lint = new RuleEditorLint(
        Memo1, [this] { return ruleText(); }, TabSheet1);
    layout->addWidget(lint);
    // References are checked against the report in front, again whenever
    // a report finishes loading or a window closes.
    RuleLint& rules = lint->lint();
    rules.setReport([&workspace] { return frontReport(workspace); });
    connect(&workspace, &Workspace::documentFinishedLoading, &rules, &RuleLint::textChanged);
    connect(&workspace, &Workspace::documentClosed, &rules, &RuleLint::textChanged);

    connect(ComboBox1, &QComboBox::activated, this, &Tfrules::ComboBox1Change);
    connect(BitBtn2, &QPushButton::clicked, this, &Tfrules::BitBtn2Click);
    connect(BitBtn1, &QPushButton::clicked, this, &Tfrules::BitBtn1Click);
    connect(TestOnReports, &QPushButton::clicked, &workspace_, &Workspace::requestFindings);
}

void Tfrules::buildFtpPage()
{
    TabSheet2 = new QWidget;
    TabSheet2->setObjectName(QStringLiteral("TabSheet2"));
    PageControl1->addTab(TabSheet2, tr("FTP"));
    auto* layout = new QGridLayout(TabSheet2);

    auto* server = new QFormLayout;
    Edit1 = makeEdit(TabSheet2, "Edit1");
    Edit2 = makeEdit(TabSheet2, "Edit2");
    Edit3 = makeEdit(TabSheet2, "Edit3");
    Edit4 = makeEdit(TabSheet2, "Edit4");
    Edit4->setEchoMode(QLineEdit::Password);
    Edit5 = makeEdit(TabSheet2, "Edit5");
    Edit9 = makeEdit(TabSheet2, "Edit9");
    server->addRow(tr("Host"), Edit1);
    server->addRow(tr("Port"), Edit2);
    server->addRow(tr("User Name"), Edit3);
    server->addRow(tr("Password"), Edit4);
    server->addRow(tr("Directory"), Edit5);
    server->addRow(tr("Timeout"), Edit9);
    layout->addLayout(server, 0, 0, 2, 1);

    auto* proxy = new QGroupBox(tr("Proxy"), TabSheet2);
    proxy->setObjectName(QStringLiteral("GroupBox2"));
    auto* pf = new QGridLayout(proxy);
    CheckBox1 = makeCheck(proxy, "CheckBox1", tr("Use Proxy Server"), false, true);
    Label7 = new QLabel(tr("Server"), proxy);
    Label7->setObjectName(QStringLiteral("Label7"));
    Label8 = new QLabel(tr("Port"), proxy);
    Label8->setObjectName(QStringLiteral("Label8"));
    Edit7 = makeEdit(proxy, "Edit7");
    Edit8 = makeEdit(proxy, "Edit8");
    pf->addWidget(CheckBox1, 0, 0, 1, 2);
    pf->addWidget(Label7, 1, 0);
    pf->addWidget(Edit7, 1, 1);
    pf->addWidget(Label8, 2, 0);
    pf->addWidget(Edit8, 2, 1);
    layout->addWidget(proxy, 0, 1);

    GroupBox1 = new QGroupBox(tr("Files to Retieve"), TabSheet2);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    auto* files = new QVBoxLayout(GroupBox1);
    CheckBox2 = makeCheck(GroupBox1, "CheckBox2", QStringLiteral("QMXRead.exe"), false, false);
    CheckBox3 = makeCheck(GroupBox1, "CheckBox3", QStringLiteral("QMXRead.ini"), true, true);
    CheckBox4 = makeCheck(GroupBox1, "CheckBox4", QStringLiteral("QMXScan.exe"), false, false);
    CheckBox5 = makeCheck(GroupBox1, "CheckBox5", QStringLiteral("QMXScan.ini"), true, true);
    for (QCheckBox* c : {CheckBox2, CheckBox3, CheckBox4, CheckBox5})
        files->addWidget(c);
    layout->addWidget(GroupBox1, 1, 1);

    Button1 = new QPushButton(tr("&Update Now"), TabSheet2);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setEnabled(false);
    layout->addWidget(Button1, 2, 1, Qt::AlignRight);
    layout->setRowStretch(3, 1);

    connect(CheckBox1, &QCheckBox::toggled, this, &Tfrules::CheckBox1Click);
    connect(Edit1, &QLineEdit::textChanged, this, &Tfrules::updateButton1);
    connect(Button1, &QPushButton::clicked, this, &Tfrules::Button1Click);
    CheckBox1Click();
}

void Tfrules::CheckBox1Click()
{
    const bool on = CheckBox1->isChecked();
    for (QWidget* w : std::initializer_list<QWidget*>{Label7, Label8, Edit7, Edit8})
        w->setEnabled(on);
}

void Tfrules::updateButton1()
{
    Button1->setEnabled(!updating() && !Edit1->text().isEmpty());
}

void Tfrules::showStatus(const QString& text)
{
    if (text.isEmpty())
        StatusBar1->clearMessage();
    else
        StatusBar1->showMessage(text);
}

void Tfrules::CloseButtonClick()
{
    hide();
    // The same write as at program end, so closing the dialog is a point
    // where the user's changes are known to be on disk.
    model_.save();
}

void Tfrules::hideEvent(QHideEvent* event)
{
    // Closing the dialog stops the update it started.
    update_.cancel();
    QDialog::hideEvent(event);
}

bool Tfrules::updating() const
{
    return update_.running();
}

const std::vector<std::string>& Tfrules::fileNames() const
{
    return update_.fileNames();
}

void Tfrules::Button1Click()
{
    if (updating())
        return;
    UpdateRequest request;
    if (!guarded(prompts_, [&] { request = makeUpdateRequest(model_.ftp()); }))
        return;
    request.fetchSettings = CheckBox3->isChecked();
    request.fetchScan = CheckBox5->isChecked();
    const std::string dir = directoryOf(model_.settings().iniPath());
    request.targetDir = dir;
    showStatus(QString());
    // What the user typed is written first, as "Close" writes it, so the
    // reload after the update brings it back.
    toModel();
    if (!model_.save())
        return;

    // The dialog may be destroyed while events run; nothing touches it once
    // it has gone.
    const QPointer<Tfrules> self(this);
    std::string error;
    {
        BusyCursor busy;
        error = update_.run(request);
    }
    if (!self)
        return;
    if (!error.empty()) {
        showStatus(toQString(error));
        return;
    }
    QString notice;
    if (!model_.takeFetched(notice) && fileExists(dir + kSettingsFileName))
        loadrules();
    if (!notice.isEmpty())
        showStatus(notice);
}

void Tfrules::toModel()
{
    if (filling_)
        return;
    FtpFields& f = model_.ftp();
    f.host = fromQString(Edit1->text());
    f.port = fromQString(Edit2->text());
    f.userName = fromQString(Edit3->text());
    f.password = fromQString(Edit4->text());
    f.directory = fromQString(Edit5->text());
    f.proxyServer = fromQString(Edit7->text());
    f.proxyPort = fromQString(Edit8->text());
    f.timeout = fromQString(Edit9->text());
    f.useProxy = CheckBox1->isChecked();
    model_.setEditorLines(splitLines(fromQString(Memo1->toPlainText())));
}

void Tfrules::fromModel()
{
    const RuleSettings& settings = model_.settings();
    const FtpFields f = settings.ftp();
    filling_ = true;
    Edit1->setText(toQString(f.host));
    Edit2->setText(toQString(f.port));
    Edit3->setText(toQString(f.userName));
    Edit4->setText(toQString(f.password));
    Edit5->setText(toQString(f.directory));
    Edit7->setText(toQString(f.proxyServer));
    Edit8->setText(toQString(f.proxyPort));
    Edit9->setText(toQString(f.timeout));
    CheckBox1->setChecked(f.useProxy);
    CheckBox1Click();
    {
        QSignalBlocker block(ComboBox1);
        ComboBox1->clear();
        for (const auto& name : settings.ruleSets())
            ComboBox1->addItem(toQString(name));
        ComboBox1->setCurrentIndex(settings.selected());
    }
    Memo1->setPlainText(toQStringList(settings.editorLines()).join(QLatin1Char('\n')));
    filling_ = false;
}

std::string Tfrules::ruleText() const
{
    return model_.ruleText();
}

void Tfrules::loadrules()
{
    model_.load();
}

void Tfrules::saverules()
{
    model_.save();
}

void Tfrules::ComboBox1Change(int index)
{
    model_.select(index);
}

void Tfrules::BitBtn2Click()
{
    const auto name =
        prompts_.inputText(tr("Add Rule Set"), tr("Enter the rule set name to add."), QString());
    if (!name)
        return;
    const QString unstorable = unstorableCharacters(*name);
    if (!unstorable.isEmpty()) {
        prompts_.error(tr("The rule set name cannot be stored in the settings file, which has no "
                          "room for these characters: %1")
                           .arg(unstorable));
        return;
    }
    model_.addRuleSet(fromQString(*name));
}

void Tfrules::BitBtn1Click()
{
    if (model_.settings().selected() < 0)
        return;
    const QString name = ComboBox1->currentText();
    if (!prompts_.confirm(tr("Are you sure you want to delete the ") + name + tr(" rule set?")))
        return;
    model_.removeSelected();
}

} // namespace qmx
