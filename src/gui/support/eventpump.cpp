#include "gui/support/eventpump.h"

#include <QCoreApplication>

namespace qmx {

void EventPump::operator()()
{
    if (timer_.elapsed() >= interval_)
        now();
}

void EventPump::now()
{
    const qint64 gap = timer_.nsecsElapsed();
    if (gap > maxGapNs_)
        maxGapNs_ = gap;
    ++runs_;
    QCoreApplication::processEvents();
    timer_.restart();
}

} // namespace qmx
