#include "runs/RunLoop.h"

namespace quorrel {

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

} // namespace quorrel
