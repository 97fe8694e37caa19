#pragma once

#include "runs/AppState.h"
#include "runs/RunEnd.h"
#include "runs/RunHost.h"

namespace quorrel {

// One run of the fixed-outcome model on one landscape: what the single-run window's Start
// button does. Start runs the whole run and returns when it is over; the host's buttons
// take effect through the run state, read after every generation.
//
// The generator is not reloaded: consecutive runs continue the random sequence.
class FixedSingleRun {
public:
    explicit FixedSingleRun(AppState& app) : app_(app) {}

    RunEnd Start(RunHost& host);

    // The generation reached: 0 before generation 1 and when the initial landscape failed.
    int CurGen() const { return curGen_; }

private:
    AppState& app_;
    int curGen_ = 0;
};

} // namespace quorrel
