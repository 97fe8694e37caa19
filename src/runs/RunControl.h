#pragma once

#include "runs/RunState.h"

namespace quorrel {

// The one small object a run polls to stay responsive and to be stopped or cancelled. The
// window's buttons and its display-cycle field write the state and the cycle (SetState,
// SetDisplayCycle); the driver reads them after every generation. The desktop window lets
// Qt handle events in Breathe and waits for the next event while stopped; the batch runner
// does nothing there and reports a signal through Terminating; tests script them.
class RunControl {
public:
    virtual ~RunControl() = default;

    RunState State() const { return state_; }
    void SetState(RunState state) { state_ = state; }

    // The interval in generations between landscape displays; the driver reads it every
    // generation, so a change made while stopped applies from the next generation.
    int DisplayCycle() const { return displayCycle_; }
    void SetDisplayCycle(int cycle) { displayCycle_ = cycle; }

    // Lets the interface handle pending events; called once after every generation.
    virtual void Breathe() {}
    // Called repeatedly while the run is stopped and the application is not terminating,
    // until the state changes.
    virtual void WaitWhileStopped() { Breathe(); }
    // True once the application has begun to terminate; the run ends after the current generation.
    virtual bool Terminating() const { return false; }

private:
    RunState state_ = RunState::Running;
    int displayCycle_ = 1;
};

} // namespace quorrel
