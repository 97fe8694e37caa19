#pragma once

#include "runs/RunEnd.h"
#include "runs/RunFailure.h"
#include "runs/OutputWindowSet.h"
#include "runs/RunControl.h"
#include "runs/RunObserver.h"

#include <functional>

namespace quorrel {

// Puts the run in the running state, tells the observer a run begins and has it hide the
// output windows the run does not feed (leftAlone: the ones that stay as they are).
void EnterRunning(RunControl& control, RunObserver& observer, const OutputWindowSet& leftAlone);

// The step every run loop takes after a generation: let the interface breathe, pause while
// the run is stopped (and the application is not terminating), then tell whether the loop
// must end now (Reset, Closing, or the application terminating). beforeWaiting, if given,
// runs once when the run is about to wait while stopped.
bool PauseAndTestExit(RunControl& control, const std::function<void()>& beforeWaiting = {});

// How a run that did not fail ended, from its state.
RunEnd EndFromState(const RunControl& control);

// Ends a run that could not start: shows the kept error, if any, tells the observer the run
// is over and returns Failed when there was an error, else NotStarted.
RunEnd EndUnstarted(RunObserver& observer, RunFailure& failure);

// Ends a run that started: shows the kept error, if any, tells the observer the run is over
// and returns Failed when there was an error, else the end from the run's state.
RunEnd EndStarted(const RunControl& control, RunObserver& observer, RunFailure& failure);

} // namespace quorrel
