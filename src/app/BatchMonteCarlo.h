#pragma once

#include "runs/AppState.h"
#include "runs/RunEnd.h"
#include "runs/RunHost.h"

#include <functional>
#include <optional>
#include <string>

namespace quorrel {

// The command-line options of the Monte Carlo modes.
struct BatchMonteCarloOptions {
    std::optional<std::string> Runs;  // --runs, as typed; checked as the window checks it
    std::optional<std::string> Result; // --result
    std::optional<int> OutcomeRandom;  // --outcome-random: OutcomeRandomMode 0..3
    std::optional<int> Standoff;       // --standoff: StandoffPercent 0..100
    bool GRateRandom = false;          // --grate-random

    bool Any() const { return Runs || Result || OutcomeRandom || Standoff || GRateRandom; }
};

// Whether name is an option of the Monte Carlo modes, and whether it takes a value.
bool IsMonteCarloOption(const std::string& name, bool& takesValue);
// Stores one option; the error text when its value cannot be used, else empty.
std::string SetMonteCarloOption(BatchMonteCarloOptions& options, const std::string& name, const std::string& value);

bool IsMonteCarloMode(const std::string& mode);

// The process-wide randomisation settings of the options, put into the parameter set.
void ApplyMonteCarloSettings(const BatchMonteCarloOptions& options, ParameterSet& params);

// The series of a Monte Carlo mode, with the process-wide randomisation settings of the
// options put into the parameter set. Throws std::invalid_argument with a one-line reason
// when the options do not suit the mode or the parameters.
std::function<RunEnd(AppState&, RunHost&)> MonteCarloDriver(const std::string& mode,
                                                            const BatchMonteCarloOptions& options,
                                                            ParameterSet& params);

// The lines that --help shows for these options and modes.
std::string MonteCarloUsage();

} // namespace quorrel
