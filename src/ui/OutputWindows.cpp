#include "ui/OutputWindows.h"

namespace quorrel {

void OutputWindows::Hide(const OutputWindowSet& leftAlone)
{
    if (!leftAlone.Landscape)
        Landscape.hide();
    if (!leftAlone.LandscapeArray)
        MultiLandscape.hide();
    if (!leftAlone.Statistics)
        Statistics.hide();
    if (!leftAlone.CoveragePlot)
        Statistics.SetPlotVisible(1, false);
    if (!leftAlone.GRatePlot1)
        Statistics.SetPlotVisible(2, false);
    if (!leftAlone.GRatePlot2)
        Statistics.SetPlotVisible(3, false);
}

void OutputWindows::HideAll()
{
    Landscape.hide();
    Colors.hide();
    Statistics.hide();
    MultiLandscape.hide();
}

} // namespace quorrel
