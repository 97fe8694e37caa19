#pragma once

#include "engine/Model.h"
#include "runs/AppState.h"
#include "runs/MonteCarloRecord.h"
#include "runs/MonteCarloResultFile.h"
#include "runs/RunControl.h"
#include "runs/RunEnd.h"
#include "runs/RunObserver.h"

#include <cstddef>
#include <limits>
#include <optional>
#include <string>
#include <string_view>

namespace quorrel {

// A series of Monte Carlo runs on one landscape: what the Monte Carlo window's Start button
// does. It validates the repetitions and the result file name, runs the series, logs it and
// writes the summary into the result file.
//
// Before every run after the first it draws new growth rates (GRateRandomising); with fixed
// outcomes also a new outcome network (OutcomeRandomMode not none), and it logs every run's
// values in the result file when either is on. The network and rates drawn for the last run
// stay in the parameter set. Every run starts from the parameter set's growth-rate fractions
// and outcome ranges, with variable outcomes from fresh genotype storage, released at the end
// of the run.
//
// Stop (RunState Stopped), closing the window (Closing) and the application terminating end
// the series at the next check, after a generation or at the end of a run, with the result
// file kept as far as it was written and without a summary. The generator is never
// reloaded: every run continues the random sequence.
class MonteCarloSeries {
public:
    MonteCarloSeries(AppState& app, OutcomeKind kind) : app_(app), kind_(kind) {}

    // NotStarted: a validation failed (its message was shown, nothing changed) or the
    // initial landscape of a run could not be built; Completed: the summary was written;
    // Stopped, Closed, Terminated: ended early without summary; Failed: an error was shown.
    RunEnd Start(RunControl& control, RunObserver& observer, std::string_view repeatTimes,
                 const std::string& resultFile);

    // The bookkeeping of the last series started.
    const MonteCarloRecord& Record() const { return record_; }
    // The run now (or last) computed, 0 before the first.
    int CurrentRun() const { return currentRun_; }

    // At most this many bytes of genotype storage (both grids); for tests of the failure path.
    std::size_t GenotypeByteBudget = std::numeric_limits<std::size_t>::max();
    // While a series runs: the genotype storage held now, and the run's outcome ranges.
    std::size_t GenotypeBytes() const;
    const OutcomeRanges* Ranges() const;

private:
    // Run r's parameters: randomisation, growth-rate fractions, log, the model's ranges.
    void BeginRun(int r, MonteCarloResultFile& file);
    // The runs; true when all of them completed.
    bool RunSeries(RunControl& control, RunObserver& observer, int runs, MonteCarloResultFile& file);
    static bool MustEnd(const RunControl& control);

    AppState& app_;
    OutcomeKind kind_;
    std::optional<Model> model_;
    MonteCarloRecord record_;
    int currentRun_ = 0;
    bool notStarted_ = false;
};

} // namespace quorrel
