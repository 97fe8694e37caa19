#pragma once

#include "output/FreqTimeSink.h"
#include "output/GrowthCompetitiveSink.h"
#include "output/LandscapeArraySink.h"
#include "output/LandscapeSink.h"
#include "output/OutcomeStatisticsSink.h"
#include "output/SpaceTimeSink.h"
#include "output/StatisticsSink.h"

namespace quorrel {

// The output windows a run feeds, handed to its driver when the driver is built; a null
// pointer is a window the run does not have (the batch runner has none: files only).
struct RunSinks {
    LandscapeSink* Landscape = nullptr;
    StatisticsSink* Statistics = nullptr;
    SpaceTimeSink* SpaceTime = nullptr;
    FreqTimeSink* FreqTime = nullptr;
    // The outputs of variable-outcome runs.
    OutcomeStatisticsSink* OutcomeStatistics = nullptr;
    GrowthCompetitiveSink* GCGraph = nullptr;
    GrowthCompetitiveSink* GCGraphA = nullptr;
    FreqTimeSink* FreqTimeOutcome = nullptr;
    // The "Multi-Landscape" window of the landscape arrays.
    LandscapeArraySink* LandscapeArray = nullptr;
};

} // namespace quorrel
