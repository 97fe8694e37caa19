#pragma once

#include "engine/GenotypeGrid.h"
#include "output/FreqTimeOutcomePlot.h"
#include "output/GrowthCompetitiveGraph.h"
#include "output/OutcomeStatistics.h"
#include "runs/AppState.h"
#include "runs/ArrayPosition.h"
#include "runs/PlotCadence.h"
#include "runs/RunFailure.h"
#include "runs/RunSinks.h"

namespace quorrel {

// The outcome outputs of a variable-outcome landscape array: the statistics on variable
// outcome (array totals and per-landscape files), the frequency-time plot of variable
// outcome and the growth rate-competitive graphs. The driver loads every landscape and its
// genotypes and passes it with its position, at the start and in every generation.
class ArrayOutcomeOutputs {
public:
    ArrayOutcomeOutputs(AppState& app, const RunSinks& sinks, const GenotypeGrid& genotypes);

    bool Wanted() const;

    void AddAtStart(int r, int c, ArrayPosition position);
    // After the pass at generation 0: the outcome display opened and the outcome file.
    void Open();
    // Generation g; the frequency-time plot in multiples of its cycle, the graphs only when
    // shown and g is a multiple of the display cycle.
    void Add(int g, int r, int c, ArrayPosition position, int displayCycle);
    // After the pass of generation g: the outcome chart advanced when due, the line written.
    void PlotAndWrite(int g, PlotCadence& cadence);
    void Finish(RunFailure& failure);

private:
    const OptionStruct o_; // the options as the run's sinks use them
    OutcomeStatistics statistics_;
    FreqTimeOutcomePlot freqTime_;
    GrowthCompetitiveGraph graphs_;
};

} // namespace quorrel
