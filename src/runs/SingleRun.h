#pragma once

#include "engine/Model.h"
#include "runs/AppState.h"
#include "runs/RunControl.h"
#include "runs/RunEnd.h"
#include "runs/RunObserver.h"
#include "runs/RunSinks.h"

#include <cstddef>
#include <limits>

namespace quorrel {

// One run of the model on one landscape: what the Start button of a single-run window does.
// Start runs the whole run and returns when it is over; the window's buttons take effect
// through the run control, read after every generation, and the run feeds the sinks it was
// built with. With variable outcomes the run also
// seeds and releases the genotypes and feeds the outcome statistics (plots at most 200 times
// a run), the growth rate-competitive graphs (every display cycle) and the frequency-time
// plot of variable outcome.
//
// The generator is not reloaded: consecutive runs continue the random sequence.
class SingleRun {
public:
    SingleRun(AppState& app, OutcomeKind kind, const RunSinks& sinks = {}) : app_(app), kind_(kind), sinks_(sinks) {}

    RunEnd Start(RunControl& control, RunObserver& observer);

    // The generation reached: 0 before generation 1 and when the run could not start.
    int CurGen() const { return curGen_; }

    // The most genotype storage a run may take, in bytes; for tests of the failure path.
    std::size_t GenotypeByteBudget = std::numeric_limits<std::size_t>::max();

private:
    AppState& app_;
    OutcomeKind kind_;
    RunSinks sinks_;
    int curGen_ = 0;
};

} // namespace quorrel
