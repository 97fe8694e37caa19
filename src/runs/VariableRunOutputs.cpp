#include "runs/VariableRunOutputs.h"

#include "output/Cycle.h"

namespace quorrel {

namespace {

constexpr int OutcomePlotUpdates = 200;

} // namespace

VariableRunOutputs::VariableRunOutputs(AppState& app, const RunSinks& sinks, const GenotypeGrid& genotypes)
    : o_(OptionsForSinks(app.Options, sinks)),
      outcomes_(app.Params, o_, app.Lands.CurrentLandscape, genotypes, app.Colors,
                sinks.OutcomeStatistics),
      graphs_(app.Params, o_, app.Lands.CurrentLandscape, genotypes, app.Colors, sinks.GCGraph,
              sinks.GCGraphA),
      freqTime_(app.Params, o_, app.Lands.CurrentLandscape, genotypes, app.Colors,
                sinks.FreqTimeOutcome),
      cadence_(app.Params.GParamRec.Maxgen, OutcomePlotUpdates)
{
}

void VariableRunOutputs::Start()
{
    if (o_.ShowOTC || o_.WriteOTC)
        outcomes_.ComputeOutcomeStats(1, 0);
    if (o_.ShowOTC) {
        outcomePlotsStarted_ = true;
        outcomes_.PlotOutcomeStats(1);
    }
    if (o_.WriteOTC) {
        outcomeFilesStarted_ = true;
        outcomes_.WriteOutcomeStats(1, 0);
    }
    if (o_.ShowGCGraph || o_.WriteGCGraph) {
        graphsStarted_ = true;
        graphs_.GCGraph(0, GCKind::Single);
        graphs_.GCGraphA(0, GCKind::Single);
    }
    if (o_.ShowFTPOTC || o_.WriteFTPOTC) {
        freqTimeStarted_ = true;
        freqTime_.Plot(TimePlotKind::Start);
    }
}

void VariableRunOutputs::Graphs(int g, int displayCycle)
{
    if (o_.ShowGCGraph && OnCycle(g, displayCycle)) {
        graphs_.GCGraph(g, GCKind::Single);
        graphs_.GCGraphA(g, GCKind::Single);
    }
}

void VariableRunOutputs::OutcomesAndPlot(int g)
{
    // The plots and the data lines read the averages per species only.
    if (o_.ShowOTC || o_.WriteOTC)
        outcomes_.ComputeOutcomeStats(2, 0, o_.WriteOTC && OutcomeStatistics::PairTableDue(g));
    if (o_.ShowOTC && cadence_.Due(g))
        outcomes_.PlotOutcomeStats(2);
    if (o_.WriteOTC)
        outcomes_.WriteOutcomeStats(2, g);
    if ((o_.ShowFTPOTC || o_.WriteFTPOTC) && OnCycle(g, o_.FTPOTCCycle))
        freqTime_.Plot(TimePlotKind::Generation);
}

void VariableRunOutputs::Finish(RunFailure& failure)
{
    if (outcomePlotsStarted_)
        failure.Try([&] { outcomes_.PlotOutcomeStats(3); });
    if (outcomeFilesStarted_)
        failure.Try([&] { outcomes_.WriteOutcomeStats(3, 0); });
    if (graphsStarted_) {
        failure.Try([&] { graphs_.GCGraph(-1, GCKind::Single); });
        failure.Try([&] { graphs_.GCGraphA(-1, GCKind::Single); });
    }
    if (freqTimeStarted_)
        failure.Try([&] { freqTime_.Plot(TimePlotKind::End); });
}

} // namespace quorrel
