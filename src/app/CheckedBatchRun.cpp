#include "app/CheckedBatchRun.h"

#include "app/BatchArrayPreparation.h"
#include "app/BatchMonteCarlo.h"
#include "runs/LandscapeArrayRun.h"
#include "runs/SingleRun.h"

#include <stdexcept>
#include <string>

namespace quorrel {

namespace {

ModeDriver DriverFor(const BatchCommandLine& line, AppState& app)
{
    const std::string& mode = line.Mode;
    ParameterSet& params = app.Params;
    if (!IsArrayMode(mode) && AnyArrayOption(line))
        throw BatchInputError{"--rows, --cols, --grate-spread, --influx-between, --influx-timestep, --influx-inside, "
                              "--init-grates, --outcome-spread and --init-outcomes belong to the array modes"};
    if (IsMonteCarloMode(mode)) {
        try {
            return MonteCarloDriver(mode, line.MonteCarlo, params);
        } catch (const std::invalid_argument& e) {
            throw BatchInputError{e.what()};
        }
    }
    if (line.MonteCarlo.Any())
        throw BatchInputError{"--runs, --result, --outcome-random, --standoff and --grate-random belong to the montecarlo modes"};
    if ((mode == "single-fixed" || mode == "array-fixed") && params.HasVariablePair())
        throw BatchInputError{"Some interactions in the outcome matrix are set to variable."};
    if (mode == "single-fixed")
        return [](AppState& app, RunHost& host) { return SingleRun(app, OutcomeKind::Fixed).Start(host, host); };
    if (mode == "single-variable")
        return [](AppState& app, RunHost& host) { return SingleRun(app, OutcomeKind::Variable).Start(host, host); };
    if (mode == "array-fixed") {
        PrepareBatchArray(app, line, false);
        return [](AppState& app, RunHost& host) { return LandscapeArrayRun(app, OutcomeKind::Fixed).Start(host, host); };
    }
    if (mode == "array-variable") {
        PrepareBatchArray(app, line, true);
        return [](AppState& app, RunHost& host) { return LandscapeArrayRun(app, OutcomeKind::Variable).Start(host, host); };
    }
    throw BatchInputError{"unknown mode \"" + mode +
                          "\" (single-fixed, single-variable, montecarlo-fixed, montecarlo-variable, array-fixed, "
                          "array-variable)"};
}

} // namespace

CheckedBatchRun CheckBatchRun(AppState& app, const BatchCommandLine& line, Dialogs& dialogs, OutputFolderLock* lock,
                              PreparationFor purpose)
{
    PrepareBatchRun(app, line, dialogs, purpose);
    if (lock != nullptr && !line.OutputDir.empty())
        if (const std::string busy = lock->Take(line.OutputDir); !busy.empty())
            throw BatchInputError{busy};
    CheckedBatchRun checked;
    checked.Driver = DriverFor(line, app);
    CheckBatchOutputNames(app, line);
    const int maxgen = app.Params.GParamRec.Maxgen;
    checked.DisplayCycle = line.DisplayCycle.value_or(app.Options.DisplayCycle);
    if (line.DisplayCycle && *line.DisplayCycle > maxgen)
        throw BatchInputError{"--display-cycle must lie between 1 and Maxgen (" + std::to_string(maxgen) + ")"};
    return checked;
}

} // namespace quorrel
