#pragma once

#include "engine/OutcomeKind.h"

namespace quorrel {

// A run mode as the run-mode dialog chooses it.
struct RunMode {
    bool Multiple = false;   // an array of landscapes, not one
    OutcomeKind Outcome = OutcomeKind::Fixed;
    bool MonteCarlo = false; // a series of runs, not one
};

} // namespace quorrel
