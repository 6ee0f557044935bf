// Lets pending window events run during a long operation. The core calls
// the pump once per unit of work; running the event loop that often would
// cost more than the work itself, so events run once the interval has
// passed. The longest stretch without events is recorded.
#pragma once

#include <QElapsedTimer>

namespace qmx {

class EventPump {
public:
    explicit EventPump(int intervalMs = 10) : interval_(intervalMs) { timer_.start(); }
    void operator()();
    // Runs events now, whatever the interval.
    void now();

    qint64 maxGapMs() const { return maxGapNs_ / 1000000; }
    qint64 maxGapNs() const { return maxGapNs_; }
    int runs() const { return runs_; }

private:
    int interval_;
    QElapsedTimer timer_;
    qint64 maxGapNs_ = 0;
    int runs_ = 0;
};

} // namespace qmx
