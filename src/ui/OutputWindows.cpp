#include "ui/OutputWindows.h"

namespace quorrel {

RunSinks OutputWindows::Sinks()
{
    return {.Landscape = &Landscape,
            .Statistics = &Statistics,
            .SpaceTime = &SpaceTime,
            .FreqTime = &FreqTime,
            .OutcomeStatistics = &OutcomeStats,
            .GCGraph = &GCGraph,
            .GCGraphA = &GCGraphA,
            .FreqTimeOutcome = &FreqTimeOutcome,
            .LandscapeArray = &MultiLandscape};
}

void OutputWindows::Hide(const OutputWindowSet& leftAlone)
{
    const std::pair<bool, QWidget*> windows[] = {
        {leftAlone.Landscape, &Landscape},        {leftAlone.LandscapeArray, &MultiLandscape},
        {leftAlone.Statistics, &Statistics},
        {leftAlone.SpaceTime, &SpaceTime},        {leftAlone.FreqTime, &FreqTime},
        {leftAlone.OutcomeStats, &OutcomeStats},  {leftAlone.GCGraphs, &GCGraph},
        {leftAlone.GCGraphs, &GCGraphA},          {leftAlone.FreqTimeOutcome, &FreqTimeOutcome},
    };
    for (const auto& [keep, window] : windows)
        if (!keep)
            window->hide();
    if (!leftAlone.CoveragePlot)
        Statistics.SetPlotVisible(1, false);
    if (!leftAlone.GRatePlot1)
        Statistics.SetPlotVisible(2, false);
    if (!leftAlone.GRatePlot2)
        Statistics.SetPlotVisible(3, false);
}

void OutputWindows::HideAll()
{
    for (QWidget* window : std::initializer_list<QWidget*>{&Landscape, &Colors, &Statistics, &SpaceTime, &FreqTime,
                                                           &OutcomeStats, &GCGraph, &GCGraphA, &FreqTimeOutcome,
                                                           &MultiLandscape})
        window->hide();
}

} // namespace quorrel
