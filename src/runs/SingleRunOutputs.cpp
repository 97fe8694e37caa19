#include "runs/SingleRunOutputs.h"

#include "output/Cycle.h"

namespace quorrel {

namespace {

constexpr int StatisticPlotUpdates = 400;

} // namespace

SingleRunOutputs::SingleRunOutputs(AppState& app, const RunSinks& sinks, Dialogs& dialogs)
    : o_(OptionsForSinks(app.Options, sinks)),
      params_(app.Params),
      current_(app.Lands.CurrentLandscape),
      landscape_(app.Params, o_, app.Lands.CurrentLandscape, app.Colors, dialogs,
                 sinks.Landscape),
      windows_(app.Params, o_, app.Lands.CurrentLandscape, dialogs),
      statistics_(app.Params, o_, app.Lands.CurrentLandscape, app.Colors, sinks.Statistics),
      spaceTime_(app.Params, o_, app.Lands.CurrentLandscape, app.Colors, sinks.SpaceTime),
      freqTime_(app.Params, o_, app.Lands.CurrentLandscape, app.Colors, sinks.FreqTime),
      cadence_(app.Params.GParamRec.Maxgen, StatisticPlotUpdates)
{
}

void SingleRunOutputs::Start(int displayCycle)
{
    landscape_.OutputLandscape(0, displayCycle);
    histogramStarted_ = true;
    windows_.SpatialHistogram(0);
    if (o_.ShowCoverage || o_.WriteCoverage)
        statistics_.StartStatistic(1);
    if (o_.ShowCoverage)
        statistics_.ShowStatisticPlot(1);
    if (o_.WriteCoverage)
        statistics_.OpenStatisticFile(1);
    if (o_.ShowGRate1 || o_.WriteGRate)
        statistics_.StartStatistic(2);
    if (o_.ShowGRate1)
        statistics_.ShowStatisticPlot(2);
    if (o_.ShowGRate2 || o_.WriteGRate)
        statistics_.StartStatistic(3);
    if (o_.ShowGRate2)
        statistics_.ShowStatisticPlot(3);
    if (o_.WriteGRate)
        statistics_.OpenStatisticFile(2);
    if (o_.ShowSTPlot || o_.WriteSTP) {
        spaceTimeStarted_ = true;
        spaceTime_.Plot(TimePlotKind::Start);
    }
    if (o_.ShowFTPlot || o_.WriteFTP) {
        freqTimeStarted_ = true;
        freqTime_.Plot(TimePlotKind::Start);
    }
}

void SingleRunOutputs::Landscape(int g, int displayCycle)
{
    landscape_.OutputLandscape(g, displayCycle);
}

void SingleRunOutputs::ShowPendingLandscape() { landscape_.ShowPending(); }

void SingleRunOutputs::StatisticsAndPlots(int g)
{
    windows_.SpatialHistogram(g);
    const bool coverage = o_.ShowCoverage || o_.WriteCoverage;
    const bool rates = o_.ShowGRate1 || o_.WriteGRate;
    const bool genotypes = o_.ShowGRate2 || o_.WriteGRate;
    const bool freqTime = (o_.ShowFTPlot || o_.WriteFTP) && OnCycle(g, o_.FTPlotCycle);
    // One pass over the landscape for both.
    const LandscapeTally* tally = nullptr;
    if (coverage || rates || genotypes || freqTime) {
        tally_.Take(current_, params_.GParamRec.MaxX, params_.GParamRec.MaxY);
        tally = &tally_;
    }
    statistics_.ComputeStatistics(coverage, rates, genotypes, 1, tally);
    if (cadence_.Due(g)) {
        if (o_.ShowCoverage)
            statistics_.PlotStatistic(1);
        if (o_.ShowGRate1)
            statistics_.PlotStatistic(2);
        if (o_.ShowGRate2)
            statistics_.PlotStatistic(3);
    }
    if (o_.WriteCoverage)
        statistics_.WriteStatisticLine(1, g);
    if (o_.WriteGRate)
        statistics_.WriteStatisticLine(2, g);
    if ((o_.ShowSTPlot || o_.WriteSTP) && OnCycle(g, o_.STPlotCycle))
        spaceTime_.Plot(TimePlotKind::Generation);
    if (freqTime)
        freqTime_.Plot(TimePlotKind::Generation, tally);
}

void SingleRunOutputs::EndHistogram(RunFailure& failure)
{
    if (histogramStarted_)
        failure.Try([&] { windows_.SpatialHistogram(-1); });
}

void SingleRunOutputs::Finish(RunFailure& failure)
{
    failure.Try([&] {
        if (o_.ShowCoverage)
            statistics_.FinishStatisticPlot(1);
    });
    failure.Try([&] {
        if (o_.WriteCoverage)
            statistics_.CloseStatisticFile(1);
    });
    failure.Try([&] {
        if (o_.ShowGRate1)
            statistics_.FinishStatisticPlot(2);
        if (o_.ShowGRate2)
            statistics_.FinishStatisticPlot(3);
    });
    failure.Try([&] {
        if (o_.WriteGRate)
            statistics_.CloseStatisticFile(2);
    });
    if (spaceTimeStarted_)
        failure.Try([&] { spaceTime_.Plot(TimePlotKind::End); });
    if (freqTimeStarted_)
        failure.Try([&] { freqTime_.Plot(TimePlotKind::End); });
}

} // namespace quorrel
