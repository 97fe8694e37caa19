#pragma once

#include "engine/Dialogs.h"
#include "engine/InitProgress.h"
#include "output/FreqTimeSink.h"
#include "output/GrowthCompetitiveSink.h"
#include "output/LandscapeArraySink.h"
#include "output/LandscapeSink.h"
#include "output/OutcomeStatisticsSink.h"
#include "output/SpaceTimeSink.h"
#include "output/StatisticsSink.h"
#include "runs/OutputWindowSet.h"
#include "runs/RunEnd.h"
#include "runs/RunProgress.h"
#include "runs/RunState.h"

namespace quorrel {

// What a run driver needs from the window (or program) that hosts its run. The desktop
// model window implements it on top of its controls and lets Qt handle events in Breathe;
// the batch runner implements it without windows; tests script it.
//
// The run state and the display cycle are kept here: the window's buttons and its
// display-cycle field write them (SetState, SetDisplayCycle), the driver reads them after
// every generation.
class RunHost {
public:
    virtual ~RunHost() = default;

    // --- Run state and pause -------------------------------------------------------------

    RunState State() const { return state_; }
    void SetState(RunState state) { state_ = state; }

    // The interval in generations between landscape displays; the driver reads it every
    // generation, so a change made while stopped applies from the next generation.
    int DisplayCycle() const { return displayCycle_; }
    void SetDisplayCycle(int cycle) { displayCycle_ = cycle; }

    // Lets the interface handle pending events; called once after every generation.
    virtual void Breathe() {}
    // Called repeatedly while the run is stopped and the application is not terminating,
    // until the state changes. The desktop program waits for the next event here.
    virtual void WaitWhileStopped() { Breathe(); }
    // True once the application has begun to terminate; the run ends after the current generation.
    virtual bool Terminating() const { return false; }

    // --- What the window shows ------------------------------------------------------------

    // Start: RunState has just become Running; the buttons show "running".
    virtual void RunStarted() {}
    // Start: the output windows that the mode does not feed are to be hidden.
    virtual void HideOutputWindows(const OutputWindowSet& /*leftAlone*/) {}
    // The generation (and run, landscape) now being computed.
    virtual void ShowProgress(const RunProgress& /*progress*/) {}
    // The run is over: the buttons show "idle"; unless the state is Closing, the window
    // comes to the front.
    virtual void RunFinished(RunEnd /*how*/) {}

    // --- Services -------------------------------------------------------------------------

    virtual Dialogs& Messages() = 0;
    // The progress shown while the initial landscape (and genotypes) are built.
    virtual InitProgress& Initialising() { return silentProgress_; }

    // The output windows a run feeds; none in the batch runner (files only).
    virtual LandscapeSink* LandscapeWindow() { return nullptr; }
    virtual StatisticsSink* StatisticsWindow() { return nullptr; }
    virtual SpaceTimeSink* SpaceTimeWindow() { return nullptr; }
    virtual FreqTimeSink* FreqTimeWindow() { return nullptr; }
    // The outputs of variable-outcome runs.
    virtual OutcomeStatisticsSink* OutcomeStatisticsWindow() { return nullptr; }
    virtual GrowthCompetitiveSink* GCGraphWindow() { return nullptr; }
    virtual GrowthCompetitiveSink* GCGraphAWindow() { return nullptr; }
    virtual FreqTimeSink* FreqTimeOutcomeWindow() { return nullptr; }
    // The "Multi-Landscape" window of the landscape arrays.
    virtual LandscapeArraySink* LandscapeArrayWindow() { return nullptr; }

private:
    RunState state_ = RunState::Running;
    int displayCycle_ = 1;
    InitProgress silentProgress_;
};

} // namespace quorrel
