#pragma once

#include "runs/AppState.h"
#include "runs/RunEnd.h"
#include "runs/RunHost.h"

#include <cstddef>
#include <limits>

namespace quorrel {

// One run of the variable-outcome model on one landscape: what the variable-outcome
// single-run window's Start button does. The protocol is that of FixedSingleRun; the run
// also seeds and releases the genotypes and feeds the outcome statistics (plots at most 200
// times a run), the growth rate-competitive graphs (every display cycle) and the
// frequency-time plot of variable outcome.
class VariableSingleRun {
public:
    explicit VariableSingleRun(AppState& app) : app_(app) {}

    RunEnd Start(RunHost& host);

    // The generation reached: 0 before generation 1 and when the run could not start.
    int CurGen() const { return curGen_; }

    // The most genotype storage a run may take, in bytes; for tests of the failure path.
    std::size_t GenotypeByteBudget = std::numeric_limits<std::size_t>::max();

private:
    AppState& app_;
    int curGen_ = 0;
};

} // namespace quorrel
