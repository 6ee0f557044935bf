#include "gui/compare/compare.h"

#include "gui/shell/workspace.h"
#include "gui/support/widgets.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListView>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

namespace qmx {

TfrmCompare::TfrmCompare(Workspace& workspace, QWidget* parent)
    : QDialog(parent), workspace_(workspace)
{
    setObjectName(QStringLiteral("frmCompare"));
    setWindowTitle(tr("Compare"));
    setModal(false);

    auto* layout = new QVBoxLayout(this);
    Label1 = makeNamed<QLabel>("Label1", tr("Select Configs to Compare:"), this);
    CheckListBox1 = makeNamed<QListView>("CheckListBox1", this);
    CheckListBox1->setModel(&workspace_.compareList());
    CheckListBox1->setUniformItemSizes(true);
    CheckListBox1->setTextElideMode(Qt::ElideMiddle);
    Label1->setBuddy(CheckListBox1);
    layout->addWidget(Label1);
    layout->addWidget(CheckListBox1, 1);

    auto* buttons = new QHBoxLayout;
    BitBtn1 = makeNamed<QPushButton>("BitBtn1", style()->standardIcon(QStyle::SP_DialogOkButton),
                                     tr("&Ok"), this);
    BitBtn2 = makeNamed<QPushButton>(
        "BitBtn2", style()->standardIcon(QStyle::SP_DialogCancelButton), tr("&Cancel"), this);
    BitBtn1->setDefault(true);
    FindingsButton = makeNamed<QPushButton>("FindingsButton", tr("&Findings..."), this);
    FindingsButton->setToolTip(tr("Shows which rule findings occur on which open reports"));
    buttons->addWidget(FindingsButton);
    buttons->addStretch();
    buttons->addWidget(BitBtn1);
    buttons->addWidget(BitBtn2);
    layout->addLayout(buttons);
    resize(420, 300);

    connect(BitBtn1, &QPushButton::clicked, this, &TfrmCompare::BitBtn1Click);
    connect(BitBtn2, &QPushButton::clicked, this, &TfrmCompare::BitBtn2Click);
    connect(FindingsButton, &QPushButton::clicked, &workspace_, &Workspace::requestFindings);
    CompareList* list = &workspace_.compareList();
    connect(list, &QAbstractItemModel::dataChanged, this, &TfrmCompare::updateOk);
    connect(list, &QAbstractItemModel::rowsInserted, this, &TfrmCompare::updateOk);
    connect(list, &QAbstractItemModel::rowsRemoved, this, &TfrmCompare::updateOk);
    connect(list, &QAbstractItemModel::modelReset, this, &TfrmCompare::updateOk);
    updateOk();
}

void TfrmCompare::updateOk()
{
    BitBtn1->setEnabled(!workspace_.compareList().tickedPaths().isEmpty());
}

void TfrmCompare::BitBtn1Click()
{
    // While a report loads, events run inside the load: compare afterwards.
    if (workspace_.busy() || workspace_.compareList().tickedPaths().isEmpty())
        return;
    workspace_.requestComparison();
}

void TfrmCompare::BitBtn2Click()
{
    hide();
}

} // namespace qmx
