#include "gui/support/longload.h"

#include <QCloseEvent>
#include <QTimer>
#include <QWidget>

namespace qmx {

bool DeferredClose::defer(QCloseEvent* event, bool working)
{
    if (!working)
        return false;
    pending_ = true;
    event->ignore();
    return true;
}

void DeferredClose::closeIfAsked(QWidget* target)
{
    if (!pending_)
        return;
    pending_ = false;
    QTimer::singleShot(0, target, &QWidget::close);
}

bool LongLoadGuard::begin()
{
    if (loading_)
        return false;
    loading_ = true;
    work_.beginLongWork();
    return true;
}

void LongLoadGuard::end()
{
    loading_ = false;
    work_.endLongWork();
}

void LongLoadGuard::closeIfAsked(QWidget* window)
{
    close_.closeIfAsked(window->parentWidget() ? window->parentWidget() : window);
}

} // namespace qmx
