// How long core operations report progress and let the window system breathe.
// The report loader steps a Progress once per unit of work and calls the pump
// between lines; the desktop program backs these with the progress window and
// event processing, the command-line tool records the final state.
#pragma once

#include <functional>

namespace qmx {

class Progress {
public:
    virtual ~Progress() = default;
    virtual void setMaximum(int maximum) = 0;
    virtual void step() = 0;
};

// A progress sink that only counts; used where nothing is shown.
class CountingProgress : public Progress {
public:
    void setMaximum(int maximum) override { max_ = maximum; }
    void step() override { ++position_; }
    int maximum() const { return max_; }
    int position() const { return position_; }

private:
    int max_ = 100;
    int position_ = 0;
};

using Pump = std::function<void()>;

} // namespace qmx
