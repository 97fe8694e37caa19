#pragma once

#include "engine/GenotypeGrid.h"
#include "output/FreqTimeOutcomePlot.h"
#include "output/GrowthCompetitiveGraph.h"
#include "output/OutcomeStatistics.h"
#include "runs/AppState.h"
#include "runs/PlotCadence.h"
#include "runs/RunFailure.h"
#include "runs/RunSinks.h"

namespace quorrel {

// The outputs only a variable-outcome run feeds: the outcome statistics (plots at most 200
// times a run), the growth rate-competitive graphs and the frequency-time plot of variable
// outcome, read from the current landscape and genotype grid.
class VariableRunOutputs {
public:
    VariableRunOutputs(AppState& app, const RunSinks& sinks, const GenotypeGrid& genotypes);

    // Generation 0, after the outputs every single run makes.
    void Start();
    // The growth rate-competitive graphs after generation g, when g is a multiple of the
    // display cycle (shown graphs only).
    void Graphs(int g, int displayCycle);
    // The outcome statistics and the frequency-time plot after generation g.
    void OutcomesAndPlot(int g);

    void Finish(RunFailure& failure);

private:
    const OptionStruct o_; // the options as the run's sinks use them
    OutcomeStatistics outcomes_;
    GrowthCompetitiveGraph graphs_;
    FreqTimeOutcomePlot freqTime_;
    PlotCadence cadence_;
    bool outcomePlotsStarted_ = false;
    bool outcomeFilesStarted_ = false;
    bool graphsStarted_ = false;
    bool freqTimeStarted_ = false;
};

} // namespace quorrel
