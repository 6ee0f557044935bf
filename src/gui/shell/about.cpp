#include "shell/about.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>

namespace qmx {

TAboutBox::TAboutBox(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("AboutBox"));
    setWindowTitle(tr("About"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint
                   | Qt::WindowCloseButtonHint);
    auto* grid = new QGridLayout(this);
    auto* icon = new QLabel(this);
    icon->setObjectName(QStringLiteral("ProgramIcon"));
    icon->setPixmap(style()->standardIcon(QStyle::SP_ComputerIcon).pixmap(48, 48));
    grid->addWidget(icon, 0, 0, 2, 1, Qt::AlignTop);

    auto label = [this](const char* name, const QString& text) {
        auto* l = new QLabel(text, this);
        l->setObjectName(QLatin1String(name));
        return l;
    };
    ProductName = label("ProductName", QStringLiteral("QMXRead"));
    QFont big = ProductName->font();
    big.setBold(true);
    big.setPointSizeF(big.pointSizeF() * 1.4);
    ProductName->setFont(big);
    Version = label("Version", tr("Version %1").arg(QStringLiteral("1.0.0")));
    Copyright = label("Copyright", tr("Copyright (c) the QMXRead developers"));
    Comments = label("Comments", tr("Reads workstation scan reports, runs rule sets over "
                                    "them and writes suggestions."));
    Comments->setWordWrap(true);
    grid->addWidget(ProductName, 0, 1);
    grid->addWidget(Version, 1, 1);
    grid->addWidget(Copyright, 2, 1);
    grid->addWidget(Comments, 3, 1);

    OKButton = new QPushButton(tr("OK"), this);
    OKButton->setObjectName(QStringLiteral("OKButton"));
    OKButton->setDefault(true);
    connect(OKButton, &QPushButton::clicked, this, &QDialog::accept);
    grid->addWidget(OKButton, 4, 0, 1, 2, Qt::AlignHCenter);
    setFixedSize(360, 220);
}

} // namespace qmx
