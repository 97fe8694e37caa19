#include "runs/RunLoop.h"

namespace quorrel {

void EnterRunning(RunHost& host, const OutputWindowSet& leftAlone)
{
    host.SetState(RunState::Running);
    host.RunStarted();
    host.HideOutputWindows(leftAlone);
}

bool PauseAndTestExit(RunHost& host)
{
    host.Breathe();
    while (host.State() == RunState::Stopped && !host.Terminating())
        host.WaitWhileStopped();
    return host.State() == RunState::Reset || host.State() == RunState::Closing || host.Terminating();
}

RunEnd EndFromState(const RunHost& host)
{
    if (host.Terminating())
        return RunEnd::Terminated;
    switch (host.State()) {
    case RunState::Reset:
        return RunEnd::Reset;
    case RunState::Closing:
        return RunEnd::Closed;
    default:
        return RunEnd::Completed;
    }
}

RunEnd EndUnstarted(RunHost& host, RunFailure& failure, Dialogs& dialogs)
{
    failure.Report(dialogs);
    const RunEnd end = failure ? RunEnd::Failed : RunEnd::NotStarted;
    host.RunFinished(end);
    return end;
}

RunEnd EndStarted(RunHost& host, RunFailure& failure, Dialogs& dialogs)
{
    failure.Report(dialogs);
    const RunEnd end = failure ? RunEnd::Failed : EndFromState(host);
    host.RunFinished(end);
    return end;
}

} // namespace quorrel
