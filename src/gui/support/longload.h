// The "long load, close afterwards" protocol shared by every window that
// loads in steps. Events run inside such a load, so the user may ask to
// close the window (or the program) while it is under way: the request is
// remembered, the load ends normally, and the window closes afterwards.
#pragma once

#include "core/util/progress.h"

class QCloseEvent;
class QWidget;

namespace qmx {

// Long work as the program counts it: while any is under way, closing the
// program waits and commands that would start more are ignored.
class LongWork {
public:
    virtual ~LongWork() = default;
    virtual void beginLongWork() = 0;
    virtual void endLongWork() = 0;
};

// The window that shows how far a long load has got: shown over the frame
// at the start, stepped through Progress, hidden at the end.
class ProgressDisplay : public Progress {
public:
    virtual void start() = 0;
    virtual void finish() = 0;
};

// A close asked for while work runs, carried out once it has ended.
class DeferredClose {
public:
    // For closeEvent: while working, ignores the event, remembers the
    // request and returns true.
    bool defer(QCloseEvent* event, bool working);
    // After the work: closes target from the event loop when a close was
    // asked for meanwhile.
    void closeIfAsked(QWidget* target);

private:
    bool pending_ = false;
};

// One window's step-wise load: at most one at a time, counted as long work,
// and the window's close deferred until the load has ended.
class LongLoadGuard {
public:
    explicit LongLoadGuard(LongWork& work) : work_(work) {}

    bool loading() const { return loading_; }
    // Starts a load; false (nothing started) while one runs.
    [[nodiscard]] bool begin();
    void end();
    // For the window's closeEvent; true when the close waits for the load.
    bool deferClose(QCloseEvent* event) { return close_.defer(event, loading_); }
    // After end() and whatever the window reports: the frame around window
    // is what was asked to close, and it closes once the command that
    // started the load has finished, so that command's own bookkeeping is
    // undone too.
    void closeIfAsked(QWidget* window);

private:
    LongWork& work_;
    DeferredClose close_;
    bool loading_ = false;
};

} // namespace qmx
