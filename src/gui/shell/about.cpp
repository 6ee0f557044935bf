#include "gui/shell/about.h"

#include "core/setup/programinfo.h"
#include "gui/shell/programicon.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

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
    icon->setPixmap(programIcon().pixmap(QSize(64, 64), devicePixelRatioF()));
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
    Version = label("Version", tr("Version %1").arg(QString::fromLatin1(programVersion())));
    Copyright = label("Copyright", tr("Copyright (c) the QMXRead developers"));
    Comments = label("Comments", tr("Reads workstation scan reports, runs rule sets over "
                                    "them and writes suggestions."));
    Comments->setWordWrap(true);
    grid->addWidget(ProductName, 0, 1);
    grid->addWidget(Version, 1, 1);
    grid->addWidget(Copyright, 2, 1);
    grid->addWidget(Comments, 3, 1);
    // A long path wraps anywhere rather than widening the box.
    SettingsFile = label("SettingsFile", QString());
    SettingsFile->setWordWrap(true);
    grid->addWidget(SettingsFile, 4, 1);

    OKButton = new QPushButton(tr("OK"), this);
    OKButton->setObjectName(QStringLiteral("OKButton"));
    OKButton->setDefault(true);
    connect(OKButton, &QPushButton::clicked, this, &QDialog::accept);
    grid->addWidget(OKButton, 5, 0, 1, 2, Qt::AlignHCenter);
    grid->setColumnStretch(1, 1);
    setFixedSize(420, 280);
}

void TAboutBox::setSettingsFile(const QString& path)
{
    // Zero-width spaces after each separator let the label break there.
    QString shown = path;
    shown.replace(QLatin1Char('/'), QStringLiteral("/\u200b"));
    SettingsFile->setText(tr("Settings file: %1").arg(shown));
    SettingsFile->setToolTip(path);
}

} // namespace qmx
