#include "runs/RunLoop.h"

namespace quorrel {

void EnterRunning(RunControl& control, RunObserver& observer, const OutputWindowSet& leftAlone)
{
    control.SetState(RunState::Running);
    observer.RunStarted();
    observer.HideOutputWindows(leftAlone);
}

bool PauseAndTestExit(RunControl& control, const std::function<void()>& beforeWaiting)
{
    control.Breathe();
    if (beforeWaiting && control.State() == RunState::Stopped && !control.Terminating())
        beforeWaiting();
    while (control.State() == RunState::Stopped && !control.Terminating())
        control.WaitWhileStopped();
    return control.State() == RunState::Reset || control.State() == RunState::Closing || control.Terminating();
}

RunEnd EndFromState(const RunControl& control)
{
    if (control.Terminating())
        return RunEnd::Terminated;
    switch (control.State()) {
    case RunState::Reset:
        return RunEnd::Reset;
    case RunState::Closing:
        return RunEnd::Closed;
    default:
        return RunEnd::Completed;
    }
}

RunEnd EndUnstarted(RunObserver& observer, RunFailure& failure)
{
    failure.Report(observer.Messages());
    const RunEnd end = failure ? RunEnd::Failed : RunEnd::NotStarted;
    observer.RunFinished(end);
    return end;
}

RunEnd EndStarted(const RunControl& control, RunObserver& observer, RunFailure& failure)
{
    failure.Report(observer.Messages());
    const RunEnd end = failure ? RunEnd::Failed : EndFromState(control);
    observer.RunFinished(end);
    return end;
}

} // namespace quorrel
