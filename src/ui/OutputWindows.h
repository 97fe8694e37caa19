#pragma once

#include "runs/OutputWindowSet.h"
#include "runs/RunSinks.h"
#include "ui/TColorMapForm.h"
#include "ui/TFreqTimeForm.h"
#include "ui/TGCGraphForm.h"
#include "ui/TLandscapeForm.h"
#include "ui/TOutcomeStatsForm.h"
#include "ui/TSpaceTimeForm.h"
#include "ui/TMultiLandscapeForm.h"
#include "ui/TStatisticsForm.h"

namespace quorrel {

// The output windows that runs feed, created hidden once at start-up.
class OutputWindows {
public:
    explicit OutputWindows(const ColorMap& colors) : Colors(colors) {}

    TLandscapeForm Landscape;
    TColorMapForm Colors;
    TStatisticsForm Statistics;
    TSpaceTimeForm SpaceTime;
    TFreqTimeForm FreqTime{QStringLiteral("Freq-Time: G-Rate")};
    TOutcomeStatsForm OutcomeStats;
    TGCGraphForm GCGraph{false};
    TGCGraphForm GCGraphA{true};
    TFreqTimeForm FreqTimeOutcome{QStringLiteral("Freq-Time: Outcome")};
    TMultiLandscapeForm MultiLandscape;

    // Every window as the sink a run feeds.
    RunSinks Sinks();
    // Hides every window (and statistics plot) that leftAlone does not keep; never shows one.
    void Hide(const OutputWindowSet& leftAlone);
    // Hides them all, at shut-down.
    void HideAll();
};

} // namespace quorrel
