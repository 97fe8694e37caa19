#pragma once

namespace quorrel {

// How a run ended.
enum class RunEnd {
    Completed,   // all generations ran
    Reset,       // ended by Reset
    Closed,      // ended because the window is closing
    Terminated,  // ended because the application is terminating
    NotStarted,  // the initial landscape was cancelled or could not be read (or genotype
                 // storage was unavailable); nothing was written and CurGen stayed 0
    Failed,      // ended on an error whose message has been shown
    Stopped,     // a Monte Carlo series ended by Stop (it does not pause)
};

} // namespace quorrel
