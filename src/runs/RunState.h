#pragma once

namespace quorrel {

// The run state of a model window: written by its buttons, read by the run loop after
// every generation.
enum class RunState : int {
    Running = 0,
    Stopped = 1,
    Continued = 2,
    Reset = 3,   // the run ends after the current generation
    Closing = 4, // the window is closing; the run ends after the current generation
};

} // namespace quorrel
