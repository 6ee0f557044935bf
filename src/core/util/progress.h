// How long core operations report progress and let the window system breathe.
// A long operation steps a Progress once per unit of work, may say what it is
// doing in a status text, and calls the pump between units. The user's wish
// to stop reaches it through the same object: the window sets the request,
// the operation checks it between units and ends early by throwing
// Cancelled. The desktop program backs these with its windows and event
// processing, the command-line tool records the final state. The report
// loader steps and pumps only: it sets no status text, and a window that
// must stop it throws Cancelled from its pump.
#pragma once

#include "core/util/error.h"

#include <functional>
#include <string>

namespace qmx {

// Thrown by an operation that stopped at the user's request.
class Cancelled : public Error {
public:
    Cancelled() : Error("The operation was cancelled.") {}
};

class Progress {
public:
    virtual ~Progress() = default;
    virtual void setMaximum(int maximum) = 0;
    virtual void step() = 0;
    // What the work is doing now, as a line for a label or status bar.
    virtual void setStatus(const std::string& text) { (void)text; }

    // The user asked to stop; the request stays until cleared.
    void requestCancel() { cancel_ = true; }
    void clearCancel() { cancel_ = false; }
    bool cancelRequested() const { return cancel_; }
    // For the operation, between units of work.
    void throwIfCancelled() const
    {
        if (cancel_)
            throw Cancelled();
    }

private:
    bool cancel_ = false;
};

// A progress sink that only counts and keeps the last status text; used
// where nothing is shown.
class CountingProgress : public Progress {
public:
    void setMaximum(int maximum) override { max_ = maximum; }
    void step() override { ++position_; }
    void setStatus(const std::string& text) override { status_ = text; }
    int maximum() const { return max_; }
    int position() const { return position_; }
    const std::string& status() const { return status_; }

private:
    int max_ = 100;
    int position_ = 0;
    std::string status_;
};

using Pump = std::function<void()>;

} // namespace qmx
