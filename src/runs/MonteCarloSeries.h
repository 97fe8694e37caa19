#pragma once

#include "runs/AppState.h"
#include "runs/MonteCarloRecord.h"
#include "runs/MonteCarloResultFile.h"
#include "runs/RunEnd.h"
#include "runs/RunHost.h"

#include <string>
#include <string_view>

namespace quorrel {

// The number of repetitions typed into the window: Value 2..1000, or the error text to show.
struct RepeatTimesCheck {
    int Value = 0;
    std::string Error; // empty when Value holds the count

    bool operator==(const RepeatTimesCheck&) const = default;
};
RepeatTimesCheck CheckRepeatTimes(std::string_view text);

// A series of Monte Carlo runs on one landscape: what the Monte Carlo window's Start button
// does. It validates the repetitions and the result file name, runs the series, logs it and
// writes the summary into the result file; the model comes from the derived driver.
//
// Stop (RunState Stopped), closing the window (Closing) and the application terminating end
// the series at the next check, after a generation or at the end of a run, with the result
// file kept as far as it was written and without a summary. The generator is never
// reloaded: every run continues the random sequence.
class MonteCarloSeries {
public:
    virtual ~MonteCarloSeries() = default;

    // NotStarted: a validation failed (its message was shown, nothing changed) or the
    // initial landscape of a run could not be built; Completed: the summary was written;
    // Stopped, Closed, Terminated: ended early without summary; Failed: an error was shown.
    RunEnd Start(RunHost& host, std::string_view repeatTimes, const std::string& resultFile);

    // The bookkeeping of the last series started.
    const MonteCarloRecord& Record() const { return record_; }
    // The run now (or last) computed, 0 before the first.
    int CurrentRun() const { return currentRun_; }

protected:
    MonteCarloSeries(AppState& app, bool variableOutcome) : app_(app), variable_(variableOutcome) {}

    // The model for the whole series, set up for the landscape (mean-field permutation).
    virtual void BeginSeries(Dialogs& dialogs) = 0;
    // Run r's parameters: randomisation, growth-rate fractions, logs, range resets.
    virtual void BeginRun(int r, MonteCarloResultFile& file) = 0;
    // The initial landscape (and genotypes); false: the series ends without summary.
    virtual bool BuildInitialState(RunHost& host) = 0;
    virtual void Generation(int g) = 0;
    virtual void EndRun() {}
    // Releases the model, whatever state the series ended in.
    virtual void EndSeries() = 0;

    AppState& app_;

private:
    // The runs; true when all of them completed.
    bool RunSeries(RunHost& host, int runs, MonteCarloResultFile& file);
    bool MustEnd(const RunHost& host) const;

    bool variable_;
    MonteCarloRecord record_;
    int currentRun_ = 0;
    bool notStarted_ = false;
};

} // namespace quorrel
