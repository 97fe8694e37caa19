#pragma once

#include "output/OutputOptions.h"
#include "runs/RunMode.h"

namespace quorrel {

// The output windows, one flag each. As the result of HideIdleOutputWindows a set flag means
// "left alone" and a clear one "hide it"; windows are only ever hidden, never shown.
struct OutputWindowSet {
    bool Landscape = false;         // the landscape window
    bool LandscapeArray = false;    // the landscape-array window
    bool Statistics = false;        // coverage and growth-rate statistics
    bool SpaceTime = false;         // space-time plot
    bool FreqTime = false;          // frequency-time plot for growth rate
    bool OutcomeStats = false;      // statistics on variable outcome
    bool GCGraphs = false;          // both growth rate-competitive graphs
    bool FreqTimeOutcome = false;   // frequency-time plot for variable outcome
    // The plots inside the statistics window.
    bool CoveragePlot = false;
    bool GRatePlot1 = false;
    bool GRatePlot2 = false;

    bool operator==(const OutputWindowSet&) const = default;
};

// Which output windows a run mode leaves alone: those the mode feeds and the options ask for.
// The plots of the statistics window are hidden by their own Show options, whatever the mode.
OutputWindowSet HideIdleOutputWindows(const RunMode& mode, const OptionStruct& options);

} // namespace quorrel
