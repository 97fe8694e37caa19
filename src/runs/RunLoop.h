#pragma once

#include "runs/RunEnd.h"
#include "runs/RunHost.h"

namespace quorrel {

// The step every run loop takes after a generation: let the interface breathe, pause while
// the run is stopped (and the application is not terminating), then tell whether the loop
// must end now (Reset, Closing, or the application terminating).
bool PauseAndTestExit(RunHost& host);

// How a run that did not fail ended, from the host's state.
RunEnd EndFromState(const RunHost& host);

} // namespace quorrel
