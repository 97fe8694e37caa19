#pragma once

#include "engine/ArraySettings.h"
#include "engine/OutcomeKind.h"
#include "runs/AppState.h"
#include "runs/RunControl.h"
#include "runs/RunEnd.h"
#include "runs/RunObserver.h"
#include "runs/RunSinks.h"

namespace quorrel {

// One run of an array of linked landscapes, fixed or variable outcome: what the Start button
// of an array window does. Start reads and checks the
// settings from the window's texts into app.Array (Influx := InfluxInside), makes the
// per-landscape tables and runs the whole run; the window's buttons take effect through the
// run control, read after every landscape and every generation, and the run feeds the sinks
// it was built with.
//
// Only one landscape is in memory at a time; the others are in scratch files in the
// application's temporary directory, deleted when the run ends, whichever way, and the
// tables are released then too.
//
// The generator is not reloaded: consecutive runs continue the random sequence. The window
// calls PrepareArrayWindow when it is shown (RecruitType := closed, InfluxInside := Influx).
class LandscapeArrayRun {
public:
    LandscapeArrayRun(AppState& app, OutcomeKind kind, const RunSinks& sinks = {})
        : app_(app), kind_(kind), sinks_(sinks)
    {
    }

    // The window's Start: its fields are read and checked into the array settings, then the
    // run begins. NotStarted when the settings were refused or the tables could not be made
    // (the observer's RunStarted and RunFinished are then not called), or the initial
    // landscapes were cancelled or failed.
    RunEnd Start(RunControl& control, RunObserver& observer, const ArraySettingTexts& texts);
    // The same with the array settings in force, checked before (the batch runner reads its
    // command line's values once, where a refusal is bad input), and Influx := InfluxInside.
    RunEnd Start(RunControl& control, RunObserver& observer);

    // The generation reached (0 before generation 1), and the landscape last computed.
    int CurGen() const { return curGen_; }
    int CurRow() const { return curRow_; }
    int CurCol() const { return curCol_; }

private:
    RunEnd Run(RunControl& control, RunObserver& observer);

    AppState& app_;
    OutcomeKind kind_;
    RunSinks sinks_;
    int curGen_ = 0;
    int curRow_ = 0;
    int curCol_ = 0;
};

} // namespace quorrel
