#include "runs/OutputWindowSet.h"

namespace quorrel {

OutputWindowSet HideIdleOutputWindows(const RunMode& mode, const OptionStruct& o)
{
    const bool multiple = mode.Multiple;
    const bool variable = mode.Outcome == OutcomeKind::Variable;
    const bool mc = mode.MonteCarlo;
    OutputWindowSet left;
    left.Landscape = !multiple && !mc;
    left.LandscapeArray = multiple && !mc;
    left.Statistics = !mc && (o.ShowCoverage || o.ShowGRate1 || o.ShowGRate2);
    left.SpaceTime = !mc && o.ShowSTPlot;
    left.FreqTime = !mc && o.ShowFTPlot;
    left.OutcomeStats = !mc && o.ShowOTC && variable;
    left.GCGraphs = !mc && o.ShowGCGraph && variable;
    left.FreqTimeOutcome = !mc && o.ShowFTPOTC && variable;
    left.CoveragePlot = o.ShowCoverage;
    left.GRatePlot1 = o.ShowGRate1;
    left.GRatePlot2 = o.ShowGRate2;
    return left;
}

} // namespace quorrel
