// quorrel-batch: one run without windows, driven by the same run drivers as the desktop
// program's model windows. See BatchUsage() for the interface.

#include "app/BatchCommandLine.h"
#include "app/BatchExit.h"
#include "app/BatchHost.h"
#include "app/BatchMonteCarlo.h"
#include "app/CheckedBatchRun.h"
#include "app/SweepCommand.h"
#include "BuildInfo.h"

#include "runs/AppState.h"
#include "runs/MonteCarloResultFile.h"

#include "tidy/TidyFolder.h"

#include <filesystem>
#include <functional>
#include <iostream>
#include <memory>
#include <stdexcept>
#include <string>

#include <unistd.h>

namespace quorrel {
namespace {

int Run(const BatchCommandLine& line)
{
    const bool progress = !line.Quiet && isatty(STDERR_FILENO) == 1;
    BatchHost host(std::cerr, progress);
    auto app = std::make_unique<AppState>();
    ModeDriver driver;
    OutputFolderLock lock; // held until the run's files are closed
    try {
        CheckedBatchRun checked = CheckBatchRun(*app, line, host.Messages(), &lock, PreparationFor::Run);
        driver = std::move(checked.Driver);
        host.SetDisplayCycle(checked.DisplayCycle);
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
    const BatchRequestResult parsed = ParseBatchRequest(args);
    if (!parsed.Request) {
        Say(parsed.Error + "; try \"quorrel-batch --help\"");
        return ExitBadInput;
    }
    const BatchRequest& request = *parsed.Request;
    switch (request.Command) {
    case BatchCommand::Sweep:
        if (request.Help) {
            std::cout << SweepUsage();
            return ExitSuccess;
        }
        return RunSweepCommand(request.Sweep);
    case BatchCommand::Tidy:
        if (request.Help) {
            std::cout << TidyUsage();
            return ExitSuccess;
        }
        return TidyFolder(request.TidyDir, std::cerr);
    case BatchCommand::Run:
        break;
    }
    if (request.Help) {
        std::cout << BatchUsage();
        return ExitSuccess;
    }
    if (request.Run.Version) {
        std::cout << "quorrel-batch " QUORREL_VERSION_TEXT "\n";
        return ExitSuccess;
    }
    return Run(request.Run);
}
