#pragma once

#include "engine/Dialogs.h"
#include "engine/InitProgress.h"
#include "runs/OutputWindowSet.h"
#include "runs/RunEnd.h"
#include "runs/RunProgress.h"

namespace quorrel {

// What a run tells the window (or program) that hosts it, and the services it asks of it:
// messages through the dialog seam and the progress of the initial landscape.
class RunObserver {
public:
    virtual ~RunObserver() = default;

    // Start: the run state has just become Running; the buttons show "running".
    virtual void RunStarted() {}
    // Start: the output windows that the mode does not feed are to be hidden.
    virtual void HideOutputWindows(const OutputWindowSet& /*leftAlone*/) {}
    // The generation (and run, landscape) now being computed.
    virtual void ShowProgress(const RunProgress& /*progress*/) {}
    // The run is over: the buttons show "idle"; unless the state is Closing, the window
    // comes to the front.
    virtual void RunFinished(RunEnd /*how*/) {}

    virtual Dialogs& Messages() = 0;
    // The progress shown while the initial landscape (and genotypes) are built.
    virtual InitProgress& Initialising() { return silentProgress_; }

private:
    InitProgress silentProgress_;
};

} // namespace quorrel
