#pragma once

#include "output/FreqTimePlot.h"
#include "output/LandscapeOutput.h"
#include "output/LandscapeTally.h"
#include "output/SlidingWindows.h"
#include "output/SpaceTimePlot.h"
#include "output/Statistics.h"
#include "runs/AppState.h"
#include "runs/PlotCadence.h"
#include "runs/RunFailure.h"
#include "runs/RunSinks.h"

namespace quorrel {

// The outputs every single-landscape run feeds, in the order and cadence of the run: the
// landscape display and files, the spatial histogram, the coverage and growth-rate
// statistics (plots at most 400 times a run), the space-time and frequency-time plots.
// The sinks are the windows it feeds; without them only files are written.
class SingleRunOutputs {
public:
    SingleRunOutputs(AppState& app, const RunSinks& sinks, Dialogs& dialogs);

    // Generation 0, after the initial landscape.
    void Start(int displayCycle);
    // After generation g: the landscape first, then the rest (the variable-outcome run feeds
    // its growth rate-competitive graph in between).
    void Landscape(int g, int displayCycle);
    void StatisticsAndPlots(int g);
    // The current landscape, if its window declined the picture of a generation since.
    void ShowPendingLandscape();

    // The end of the run; every step is tried, the first error kept.
    void EndHistogram(RunFailure& failure);
    void Finish(RunFailure& failure);

private:
    const OptionStruct o_; // the options as the run's sinks use them
    const ParameterSet& params_;
    const LandscapeGrid& current_;
    LandscapeOutput landscape_;
    SlidingWindows windows_;
    Statistics statistics_;
    SpaceTimePlot spaceTime_;
    FreqTimePlot freqTime_;
    PlotCadence cadence_;
    // The tallies of the current landscape that the statistics and the frequency-time plot
    // of a generation share.
    LandscapeTally tally_;
    bool histogramStarted_ = false;
    bool spaceTimeStarted_ = false;
    bool freqTimeStarted_ = false;
};

} // namespace quorrel
