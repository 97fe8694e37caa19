// quorrel-batch: one run without windows, driven by the same run drivers as the desktop
// program's model windows. See BatchUsage() for the interface.

#include "app/BatchCommandLine.h"
#include "app/BatchArrayPreparation.h"
#include "app/BatchHost.h"
#include "app/BatchMonteCarlo.h"
#include "app/BatchPreparation.h"
#include "BuildInfo.h"
#include "app/OutputFolderLock.h"

#include "runs/AppState.h"
#include "runs/LandscapeArrayRun.h"
#include "runs/MonteCarloResultFile.h"
#include "runs/SingleRun.h"

#include <filesystem>
#include <functional>
#include <iostream>
#include <memory>
#include <stdexcept>
#include <string>

#include <unistd.h>

namespace quorrel {
namespace {

constexpr int ExitSuccess = 0;
constexpr int ExitRunError = 1;
constexpr int ExitBadInput = 2;

void Say(const std::string& text)
{
    std::cerr << "quorrel-batch: " << text << '\n';
}

// The driver of a run mode: runs one run on the host and tells how it ended.
using ModeDriver = std::function<RunEnd(AppState&, RunHost&)>;

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
        return [](AppState& app, RunHost& host) {
            return LandscapeArrayRun(app, OutcomeKind::Variable).Start(host, host);
        };
    }
    throw BatchInputError{"unknown mode \"" + mode +
                          "\" (single-fixed, single-variable, montecarlo-fixed, montecarlo-variable, array-fixed, "
                          "array-variable)"};
}

int Run(const BatchCommandLine& line)
{
    const bool progress = !line.Quiet && isatty(STDERR_FILENO) == 1;
    BatchHost host(std::cerr, progress);
    auto app = std::make_unique<AppState>();
    ModeDriver driver;
    OutputFolderLock lock; // held until the run's files are closed
    try {
        PrepareBatchRun(*app, line, host.Messages());
        if (!line.OutputDir.empty())
            if (const std::string busy = lock.Take(line.OutputDir); !busy.empty())
                throw BatchInputError{busy};
        driver = DriverFor(line, *app);
        CheckBatchOutputNames(*app, line);
        const int maxgen = app->Params.GParamRec.Maxgen;
        const int cycle = line.DisplayCycle.value_or(app->Options.DisplayCycle);
        if (line.DisplayCycle && *line.DisplayCycle > maxgen)
            throw BatchInputError{"--display-cycle must lie between 1 and Maxgen (" + std::to_string(maxgen) + ")"};
        host.SetDisplayCycle(cycle);
    } catch (const BatchInputError& bad) {
        Say(bad.reason);
        app->RemoveTempDir(host.Messages());
        return ExitBadInput;
    }

    // Confirming a run mode restarts the generator from the parameter seed.
    app->ReloadSeed();
    const RunEnd end = driver(*app, host);
    app->RemoveTempDir(host.Messages());
    std::error_code ec;
    if (IsMonteCarloMode(line.Mode) && end != RunEnd::Completed && line.MonteCarlo.Result &&
        std::filesystem::exists(IncompleteResultPath(*line.MonteCarlo.Result), ec))
        Say("the series did not finish; what it wrote is kept in " + IncompleteResultPath(*line.MonteCarlo.Result));
    if (end == RunEnd::Terminated || (end == RunEnd::NotStarted && host.Terminating())) {
        Say("interrupted; the run ended early with its files closed");
        return ExitRunError;
    }
    switch (end) {
    case RunEnd::Completed:
        if (host.Errors() > 0) {
            Say("the run completed, but an output file could not be written");
            return ExitRunError;
        }
        return ExitSuccess;
    case RunEnd::NotStarted:
        if (IsMonteCarloMode(line.Mode)) {
            Say("a run of the series could not start; the result file has no summary");
            return ExitRunError;
        }
        Say("the initial landscape could not be built; nothing was run");
        return ExitRunError;
    case RunEnd::Failed:
        Say("the run ended on an error");
        return ExitRunError;
    case RunEnd::Terminated:
    case RunEnd::Reset:
    case RunEnd::Closed:
    case RunEnd::Stopped:
        break;
    }
    Say("the run ended early");
    return ExitRunError;
}

} // namespace
} // namespace quorrel

int main(int argc, char** argv)
{
    using namespace quorrel;
    const std::vector<std::string> args(argv + 1, argv + argc);
    const BatchCommandLineResult parsed = ParseBatchCommandLine(args);
    if (!parsed.Line) {
        Say(parsed.Error + "; try \"quorrel-batch --help\"");
        return ExitBadInput;
    }
    if (parsed.Line->Help) {
        std::cout << BatchUsage();
        return ExitSuccess;
    }
    if (parsed.Line->Version) {
        std::cout << "quorrel-batch " QUORREL_VERSION_TEXT "\n";
        return ExitSuccess;
    }
    return Run(*parsed.Line);
}
