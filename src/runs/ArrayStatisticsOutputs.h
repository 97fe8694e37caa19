#pragma once

#include "output/FreqTimePlot.h"
#include "output/LandscapeStatisticsFiles.h"
#include "output/LandscapeTally.h"
#include "output/Statistics.h"
#include "runs/AppState.h"
#include "runs/ArrayPosition.h"
#include "runs/PlotCadence.h"
#include "runs/RunFailure.h"
#include "runs/RunSinks.h"

namespace quorrel {

// The coverage and growth-rate outputs of a landscape array: the array's totals (plots and
// files), the per-landscape statistics files and the frequency-time plot of growth rates.
// The driver passes every landscape with its position while it is the current landscape,
// at the start and in every generation; the per-landscape lines of a generation are written
// after its last landscape, with the array's lines.
class ArrayStatisticsOutputs {
public:
    ArrayStatisticsOutputs(AppState& app, const RunSinks& sinks, int landscapes);

    // Whether any of these outputs is asked for; if not, the landscapes need no pass.
    bool Wanted() const;

    // Generation 0: the landscape's lines, its share of the totals, the frequency-time plot.
    void AddAtStart(int r, int c, ArrayPosition position);
    // After the pass at generation 0: the plots shown, the array files opened and the
    // landscapes' lines written.
    void Open();
    // Generation g: as at the start; the frequency-time plot in multiples of its cycle.
    void Add(int g, int r, int c, ArrayPosition position);
    // After the pass of generation g: the landscapes' lines written, the plots advanced when
    // due, the array lines written.
    void PlotAndWrite(int g, PlotCadence& cadence);
    // The end of the run: plots finished, files closed, the frequency-time plot saved.
    void Finish(RunFailure& failure);

private:
    const OptionStruct o_; // the options as the run's sinks use them
    const ParameterSet& params_;
    const LandscapeGrid& current_;
    Statistics totals_;
    LandscapeStatisticsFiles files_;
    FreqTimePlot freqTime_;
    // The tallies of the current landscape that its lines, the totals and the
    // frequency-time plot of a generation share.
    LandscapeTally tally_;
};

} // namespace quorrel
