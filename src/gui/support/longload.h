// The "long load, close afterwards" protocol shared by every window that
// loads in steps. Events run inside such a load, so the user may ask to
// close the window (or the program) while it is under way: the request is
// remembered, a load that can stop early does so at its next pump, and the
// window closes once the load has ended.
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
    // The program is closing: long work that can stop early should.
    virtual bool stopRequested() const { return false; }
};

// The window that shows how far a long load has got: shown over the frame
// at the start, stepped through Progress, hidden at the end.
class ProgressDisplay : public Progress {
public:
    virtual void start() = 0;
    virtual void finish() = 0;
};

// Progress over a load and the window work that shows its result: the
// display's maximum holds the load's units and a share for the window, so
// the bar reaches its end only when the window is ready.
class LoadAndShowProgress : public Progress {
public:
    LoadAndShowProgress(Progress& display, int windowStages)
        : display_(display), stages_(windowStages)
    {}
    void setMaximum(int loadUnits) override;
    void step() override;
    void setStatus(const std::string& text) override { display_.setStatus(text); }
    // One of the window's stages is done; the last one fills the bar.
    void stageDone();

private:
    Progress& display_;
    int stages_;
    int maximum_ = 0;
    int position_ = 0;
    int stagesDone_ = 0;
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
    bool asked() const { return pending_; }

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
    // For the load's pump: throws Cancelled once the window or the program
    // was asked to close, so the load stops there.
    void throwIfStopped() const;
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
