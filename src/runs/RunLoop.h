#pragma once

#include "runs/RunEnd.h"
#include "runs/RunFailure.h"
#include "runs/OutputWindowSet.h"
#include "runs/RunHost.h"

namespace quorrel {

// Puts the host in the running state, tells it a run begins and has it hide the output
// windows the run does not feed (leftAlone: the ones that stay as they are).
void EnterRunning(RunHost& host, const OutputWindowSet& leftAlone);

// The step every run loop takes after a generation: let the interface breathe, pause while
// the run is stopped (and the application is not terminating), then tell whether the loop
// must end now (Reset, Closing, or the application terminating).
bool PauseAndTestExit(RunHost& host);

// How a run that did not fail ended, from the host's state.
RunEnd EndFromState(const RunHost& host);

// Ends a run that could not start: shows the kept error, if any, tells the host the run is
// over and returns Failed when there was an error, else NotStarted.
RunEnd EndUnstarted(RunHost& host, RunFailure& failure, Dialogs& dialogs);

// Ends a run that started: shows the kept error, if any, tells the host the run is over and
// returns Failed when there was an error, else the end from the host's state.
RunEnd EndStarted(RunHost& host, RunFailure& failure, Dialogs& dialogs);

} // namespace quorrel
