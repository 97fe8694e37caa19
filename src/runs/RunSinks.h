#pragma once

#include "output/FreqTimeSink.h"
#include "output/GrowthCompetitiveSink.h"
#include "output/LandscapeArraySink.h"
#include "output/LandscapeSink.h"
#include "output/OutcomeStatisticsSink.h"
#include "output/SpaceTimeSink.h"
#include "output/OutputOptions.h"
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

// The options as a run with these sinks uses them: a Show option whose window the run does
// not have is off, so that nothing is tallied or drawn for a picture nobody sees (the batch
// runner has no windows). Only Show options that no file depends on are turned off.
OptionStruct OptionsForSinks(const OptionStruct& options, const RunSinks& sinks);

} // namespace quorrel
