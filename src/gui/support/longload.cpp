#include "gui/support/longload.h"

#include <QCloseEvent>
#include <QTimer>
#include <QWidget>

#include <algorithm>

namespace qmx {

void LoadAndShowProgress::setMaximum(int loadUnits)
{
    // The window's share is about what showing a large report costs beside
    // loading it.
    maximum_ = loadUnits + std::max(stages_, loadUnits / 5);
    position_ = 0;
    stagesDone_ = 0;
    display_.setMaximum(maximum_);
}

void LoadAndShowProgress::step()
{
    // The load's own units never take the bar to its end.
    if (position_ + 1 >= maximum_)
        return;
    ++position_;
    display_.step();
}

void LoadAndShowProgress::stageDone()
{
    if (stagesDone_ >= stages_)
        return;
    ++stagesDone_;
    const int left = stages_ - stagesDone_;
    const int target =
        left == 0 ? maximum_ : position_ + (maximum_ - position_ - left) / (left + 1);
    for (; position_ < target; ++position_)
        display_.step();
}

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

void LongLoadGuard::throwIfStopped() const
{
    if (loading_ && (close_.asked() || work_.stopRequested()))
        throw Cancelled();
}

void LongLoadGuard::closeIfAsked(QWidget* window)
{
    close_.closeIfAsked(window->parentWidget() ? window->parentWidget() : window);
}

} // namespace qmx
