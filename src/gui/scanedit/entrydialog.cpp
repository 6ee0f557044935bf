#include "gui/scanedit/entrydialog.h"

#include "gui/scanedit/radiogroup.h"
#include "gui/support/textcodec.h"
#include "gui/support/widgets.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHideEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace qmx {

namespace {

QStringList readOnItems()
{
    return {QObject::tr("All"), QObject::tr("Windows NT only"), QObject::tr("Windows 9x only")};
}

QLabel* labelFor(const QString& text, QWidget* buddy, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setBuddy(buddy);
    return label;
}

} // namespace

EntryDialog::EntryDialog(const char* name, const QString& caption, QWidget* parent)
    : QDialog(parent, Qt::Tool)
{
    setObjectName(QLatin1String(name));
    setWindowTitle(caption);
    Edit1 = makeEdit(this, "Edit1");
    CheckBox1 = makeNamed<QCheckBox>("CheckBox1", tr("Only for client version"), this);
    Edit2 = makeEdit(this, "Edit2");
    Button1 = makeNamed<QPushButton>("Button1", tr("&Ok"), this);
    Button1->setDefault(true);
    connect(CheckBox1, &QCheckBox::clicked, this, &EntryDialog::CheckBox1Click);
    connect(Button1, &QPushButton::clicked, this, &EntryDialog::Button1Click);
}

QString EntryDialog::resultLine() const
{
    return toQString(result_);
}

EntryScope EntryDialog::scope() const
{
    EntryScope s;
    s.readOn = static_cast<ReadOn>(std::max(RadioGroup1->itemIndex(), 0));
    s.onlyForClientVersion = CheckBox1->isChecked();
    s.clientVersion = fromQString(Edit2->text());
    return s;
}

void EntryDialog::Button1Click()
{
    result_ = buildLine();
    resetFields();
    hide();
}

void EntryDialog::CheckBox1Click()
{
    Edit2->setEnabled(CheckBox1->isChecked());
}

void EntryDialog::resetFields()
{
    Edit1->clear();
    Edit2->clear();
    RadioGroup1->setItemIndex(0);
    CheckBox1->setChecked(false);
    Edit2->setEnabled(false);
}

void EntryDialog::hideEvent(QHideEvent* event)
{
    QDialog::hideEvent(event);
    // A hide by the window system (the frame minimised) is no answer.
    if (!event->spontaneous())
        Q_EMIT hidden();
}

Tfaddreg::Tfaddreg(QWidget* parent) : EntryDialog("faddreg", tr("Registry"), parent)
{
    RadioGroup1 = new RadioGroup(tr("Read on"), readOnItems(), 1, this);
    RadioGroup1->setObjectName(QStringLiteral("RadioGroup1"));
    RadioGroup2 = new RadioGroup(
        tr("Type"), {tr("String"), tr("Binary"), tr("Integer"), tr("All Values"), tr("All Keys")},
        2, this);
    RadioGroup2->setObjectName(QStringLiteral("RadioGroup2"));
    Edit3 = makeEdit(this, "Edit3");

    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(8, 6, 8, 6);
    grid->setSpacing(4);
    grid->addWidget(labelFor(tr("Registry Key:"), Edit1, this), 0, 0);
    grid->addWidget(Edit1, 0, 1, 1, 3);
    grid->addWidget(RadioGroup2, 1, 0, 1, 2);
    grid->addWidget(RadioGroup1, 1, 2, 1, 2);
    grid->addWidget(labelFor(tr("Default value"), Edit3, this), 2, 0);
    grid->addWidget(Edit3, 2, 1);
    grid->addWidget(CheckBox1, 2, 2, 1, 2);
    grid->addWidget(Edit2, 3, 2);
    grid->addWidget(Button1, 3, 3);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(2, 1);
    setFixedSize(427, 185);
    resetFields();
}

std::string Tfaddreg::buildLine() const
{
    RegistryEntry e;
    e.scope = scope();
    e.type = static_cast<RegistryType>(std::max(RadioGroup2->itemIndex(), 0));
    e.key = fromQString(Edit1->text());
    e.defaultValue = fromQString(Edit3->text());
    return registryLine(e);
}

void Tfaddreg::resetFields()
{
    EntryDialog::resetFields();
    Edit3->clear();
    RadioGroup2->setItemIndex(0);
}

TFFile::TFFile(QWidget* parent) : EntryDialog("FFile", tr("File"), parent)
{
    RadioGroup1 = new RadioGroup(tr("Read on"), readOnItems(), 3, this);
    RadioGroup1->setObjectName(QStringLiteral("RadioGroup1"));

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 6, 8, 6);
    layout->setSpacing(4);
    auto* top = new QHBoxLayout;
    top->addWidget(labelFor(tr("File Name:"), Edit1, this));
    top->addWidget(Edit1, 1);
    layout->addLayout(top);
    layout->addWidget(RadioGroup1);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(CheckBox1);
    bottom->addWidget(Edit2, 1);
    bottom->addSpacing(12);
    bottom->addWidget(Button1);
    layout->addLayout(bottom);
    setFixedSize(385, 114);
    resetFields();
    // Unlike the registry dialog, the version field starts usable.
    Edit2->setEnabled(true);
}

std::string TFFile::buildLine() const
{
    return fileLine({scope(), fromQString(Edit1->text())});
}

} // namespace qmx
