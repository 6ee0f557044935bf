#include "gui/report/prgres.h"

#include <QProgressBar>
#include <QVBoxLayout>

#include <algorithm>

namespace qmx {

TForm2::TForm2(QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint
                          | Qt::WindowTitleHint | Qt::MSWindowsFixedSizeDialogHint)
{
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(tr("Processing File"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setRange(0, 100);
    ProgressBar1->setTextVisible(false);
    layout->addWidget(ProgressBar1);
    setFixedSize(449, 32);
}

void TForm2::start(const QWidget* over)
{
    if (over) {
        const QRect main = over->frameGeometry();
        const QRect own = frameGeometry();
        move(main.left() + main.width() / 2 - own.width() / 2,
             main.top() + main.height() / 2 - own.height() / 2);
    }
    position_ = 0;
    ProgressBar1->setValue(0);
    show();
    raise();
    repaint();
}

void TForm2::finish()
{
    hide();
}

void TForm2::setMaximum(int maximum)
{
    ProgressBar1->setMaximum(maximum);
}

void TForm2::step()
{
    ++position_;
    // The bar paints itself at once on every visible change, so it is moved
    // in steps of a few pixels rather than by every unit of work.
    const int max = ProgressBar1->maximum();
    const int shown = std::min(position_, max);
    const int grain = std::max(1, max / 150);
    if (shown == max || shown - ProgressBar1->value() >= grain)
        ProgressBar1->setValue(shown);
}

int TForm2::maximum() const
{
    return ProgressBar1->maximum();
}

} // namespace qmx
