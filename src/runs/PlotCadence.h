#pragma once

#include <cstdint>

namespace quorrel {

// Spreads a run's plot updates evenly: below `updates` generations every generation is
// plotted; otherwise generation g is plotted when g * updates div Maxgen reaches the step
// counter, which starts at 1 and rises by one per update, so exactly `updates` generations
// are plotted, the last at Maxgen.
class PlotCadence {
public:
    PlotCadence(int maxgen, int updates) : maxgen_(maxgen), updates_(updates) {}

    bool Due(int g)
    {
        if (maxgen_ < updates_)
            return true;
        if (static_cast<int64_t>(g) * updates_ / maxgen_ != step_)
            return false;
        ++step_;
        return true;
    }

private:
    int maxgen_;
    int updates_;
    int64_t step_ = 1;
};

} // namespace quorrel
