#include "runs/ArrayOutcomeOutputs.h"

namespace quorrel {

ArrayOutcomeOutputs::ArrayOutcomeOutputs(AppState& app, const RunSinks& sinks, const GenotypeGrid& genotypes)
    : o_(OptionsForSinks(app.Options, sinks)),
      statistics_(app.Params, o_, app.Lands.CurrentLandscape, genotypes, app.Colors,
                  sinks.OutcomeStatistics),
      freqTime_(app.Params, o_, app.Lands.CurrentLandscape, genotypes, app.Colors,
                sinks.FreqTimeOutcome),
      graphs_(app.Params, o_, app.Lands.CurrentLandscape, genotypes, app.Colors, sinks.GCGraph,
              sinks.GCGraphA)
{
}

bool ArrayOutcomeOutputs::Wanted() const
{
    return o_.ShowOTC || o_.WriteOTC || o_.ShowGCGraph || o_.WriteGCGraph || o_.ShowFTPOTC || o_.WriteFTPOTC;
}

void ArrayOutcomeOutputs::AddAtStart(int r, int c, ArrayPosition position)
{
    if (o_.WriteOTC)
        statistics_.WriteLandscapeOutcomeStats(1, 0, r, c);
    if (o_.ShowOTC || o_.WriteOTC)
        statistics_.ComputeOutcomeStats(1, OutcomePart(position));
    if (o_.ShowFTPOTC || o_.WriteFTPOTC)
        freqTime_.Plot(TimePlotKindAtStart(position));
    if (o_.ShowGCGraph || o_.WriteGCGraph) {
        graphs_.GCGraph(0, GraphKind(position));
        graphs_.GCGraphA(0, GraphKind(position));
    }
}

void ArrayOutcomeOutputs::Open()
{
    if (o_.ShowOTC)
        statistics_.PlotOutcomeStats(1);
    if (o_.WriteOTC)
        statistics_.WriteOutcomeStats(1, 0);
}

void ArrayOutcomeOutputs::Add(int g, int r, int c, ArrayPosition position, int displayCycle)
{
    if (o_.WriteOTC)
        statistics_.WriteLandscapeOutcomeStats(2, g, r, c);
    // The plots and the data lines read the averages per species only.
    if (o_.ShowOTC || o_.WriteOTC)
        statistics_.ComputeOutcomeStats(2, OutcomePart(position), o_.WriteOTC && OutcomeStatistics::PairTableDue(g));
    if ((o_.ShowFTPOTC || o_.WriteFTPOTC) && g % o_.FTPOTCCycle == 0)
        freqTime_.Plot(TimePlotKindInGeneration(position));
    if (o_.ShowGCGraph && displayCycle > 0 && g % displayCycle == 0) {
        graphs_.GCGraph(g, GraphKind(position));
        graphs_.GCGraphA(g, GraphKind(position));
    }
}

void ArrayOutcomeOutputs::PlotAndWrite(int g, PlotCadence& cadence)
{
    if (o_.ShowOTC && cadence.Due(g))
        statistics_.PlotOutcomeStats(2);
    if (o_.WriteOTC)
        statistics_.WriteOutcomeStats(2, g);
}

void ArrayOutcomeOutputs::Finish(RunFailure& failure)
{
    failure.Try([&] {
        if (o_.ShowOTC)
            statistics_.PlotOutcomeStats(3);
    });
    failure.Try([&] {
        if (o_.WriteOTC)
            statistics_.WriteOutcomeStats(3, 0);
    });
    failure.Try([&] {
        if (o_.WriteOTC)
            statistics_.WriteLandscapeOutcomeStats(3, 0, 0, 0);
    });
    failure.Try([&] {
        if (o_.ShowGCGraph || o_.WriteGCGraph) {
            graphs_.GCGraph(-1, GCKind::Last);
            graphs_.GCGraphA(-1, GCKind::Last);
        }
    });
    failure.Try([&] {
        if (o_.ShowFTPOTC || o_.WriteFTPOTC)
            freqTime_.Plot(TimePlotKind::ArrayEnd);
    });
}

} // namespace quorrel
