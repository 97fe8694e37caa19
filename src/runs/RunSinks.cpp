#include "runs/RunSinks.h"

namespace quorrel {

OptionStruct OptionsForSinks(const OptionStruct& options, const RunSinks& sinks)
{
    OptionStruct o = options;
    o.ShowCALandscape = o.ShowCALandscape && (sinks.Landscape != nullptr || sinks.LandscapeArray != nullptr);
    const bool statistics = sinks.Statistics != nullptr;
    o.ShowCoverage = o.ShowCoverage && statistics;
    o.ShowGRate1 = o.ShowGRate1 && statistics;
    o.ShowGRate2 = o.ShowGRate2 && statistics;
    o.ShowSTPlot = o.ShowSTPlot && sinks.SpaceTime != nullptr;
    o.ShowFTPlot = o.ShowFTPlot && sinks.FreqTime != nullptr;
    o.ShowOTC = o.ShowOTC && sinks.OutcomeStatistics != nullptr;
    // ShowGCGraph stays: the growth rate-competitive graph's data file follows the graph's
    // display cycle when the graph is shown.
    o.ShowFTPOTC = o.ShowFTPOTC && sinks.FreqTimeOutcome != nullptr;
    return o;
}

} // namespace quorrel
