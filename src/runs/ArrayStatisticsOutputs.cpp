#include "runs/ArrayStatisticsOutputs.h"

#include "output/Cycle.h"

namespace quorrel {

ArrayStatisticsOutputs::ArrayStatisticsOutputs(AppState& app, const RunSinks& sinks, int landscapes)
    : o_(OptionsForSinks(app.Options, sinks)),
      params_(app.Params),
      current_(app.Lands.CurrentLandscape),
      totals_(app.Params, o_, app.Lands.CurrentLandscape, app.Colors, sinks.Statistics),
      files_(app.Params, o_, app.Lands.CurrentLandscape, app.Colors),
      freqTime_(app.Params, o_, app.Lands.CurrentLandscape, app.Colors, sinks.FreqTime)
{
    totals_.SetArrayLandscapes(landscapes);
}

bool ArrayStatisticsOutputs::Wanted() const
{
    return o_.ShowCoverage || o_.WriteCoverage || o_.ShowGRate1 || o_.ShowGRate2 || o_.WriteGRate || o_.ShowFTPlot ||
           o_.WriteFTP;
}

void ArrayStatisticsOutputs::AddAtStart(int r, int c, ArrayPosition position)
{
    if (o_.WriteCoverage || o_.WriteGRate)
        files_.WriteLandscapeLines(0, r, c);
    if (o_.ShowCoverage || o_.WriteCoverage)
        totals_.StartStatistic(ArrayStatisticKind(1, position));
    if (o_.ShowGRate1 || o_.WriteGRate)
        totals_.StartStatistic(ArrayStatisticKind(2, position));
    if (o_.ShowGRate2 || o_.WriteGRate)
        totals_.StartStatistic(ArrayStatisticKind(3, position));
    if (o_.ShowFTPlot || o_.WriteFTP)
        freqTime_.Plot(TimePlotKindAtStart(position));
}

void ArrayStatisticsOutputs::Open()
{
    files_.WriteHeldLines();
    if (o_.ShowCoverage)
        totals_.ShowStatisticPlot(1);
    if (o_.WriteCoverage)
        totals_.OpenStatisticFile(4);
    if (o_.ShowGRate1)
        totals_.ShowStatisticPlot(2);
    if (o_.ShowGRate2)
        totals_.ShowStatisticPlot(3);
    if (o_.WriteGRate)
        totals_.OpenStatisticFile(2);
}

void ArrayStatisticsOutputs::Add(int g, int r, int c, ArrayPosition position)
{
    const bool lines = o_.WriteCoverage || o_.WriteGRate;
    const bool coverage = o_.ShowCoverage || o_.WriteCoverage;
    const bool rates = o_.ShowGRate1 || o_.WriteGRate;
    const bool genotypes = o_.ShowGRate2 || o_.WriteGRate;
    const bool freqTime = (o_.ShowFTPlot || o_.WriteFTP) && OnCycle(g, o_.FTPlotCycle);
    // One pass over the landscape for all of them.
    const LandscapeTally* tally = nullptr;
    if (lines || coverage || rates || genotypes || freqTime) {
        tally_.Take(current_, params_.GParamRec.MaxX, params_.GParamRec.MaxY);
        tally = &tally_;
    }
    if (lines)
        files_.WriteLandscapeLines(g, r, c, tally);
    totals_.ComputeStatistics(coverage, rates, genotypes, ArrayStatisticKind(1, position), tally);
    if (freqTime)
        freqTime_.Plot(TimePlotKindInGeneration(position), tally);
}

void ArrayStatisticsOutputs::PlotAndWrite(int g, PlotCadence& cadence)
{
    files_.WriteHeldLines();
    if (cadence.Due(g)) {
        if (o_.ShowCoverage)
            totals_.PlotStatistic(4);
        if (o_.ShowGRate1)
            totals_.PlotStatistic(5);
        if (o_.ShowGRate2)
            totals_.PlotStatistic(6);
    }
    if (o_.WriteCoverage)
        totals_.WriteStatisticLine(4, g);
    if (o_.WriteGRate)
        totals_.WriteStatisticLine(2, g);
}

void ArrayStatisticsOutputs::Finish(RunFailure& failure)
{
    failure.Try([&] {
        if (o_.ShowCoverage)
            totals_.FinishStatisticPlot(1);
        if (o_.ShowGRate1)
            totals_.FinishStatisticPlot(2);
        if (o_.ShowGRate2)
            totals_.FinishStatisticPlot(3);
    });
    failure.Try([&] {
        if (o_.WriteCoverage)
            totals_.CloseStatisticFile(4);
    });
    failure.Try([&] { files_.CloseCoverageFile(); });
    failure.Try([&] {
        if (o_.WriteGRate)
            totals_.CloseStatisticFile(2);
    });
    failure.Try([&] { files_.CloseGRateFiles(); });
    failure.Try([&] {
        if (o_.ShowFTPlot || o_.WriteFTP)
            freqTime_.Plot(TimePlotKind::ArrayEnd);
    });
}

} // namespace quorrel
