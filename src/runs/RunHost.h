#pragma once

#include "runs/RunControl.h"
#include "runs/RunObserver.h"

namespace quorrel {

// A window or program that hosts runs: the control the run polls and the observer it
// reports to, in one object. Drivers take the two parts apart; the sinks a run feeds are
// handed to its driver when it is built (RunSinks).
class RunHost : public RunControl, public RunObserver {};

} // namespace quorrel
