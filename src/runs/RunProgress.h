#pragma once

namespace quorrel {

// Where a run stands, as a model window's "Current generation: ... of total ..." fields
// show it. Run and landscape are 0 in modes that have none; a landscape array also gives
// the row and column of the landscape being computed ("Current: Row No. ... Col No.").
struct RunProgress {
    int Generation = 0;
    int TotalGenerations = 0;
    int Run = 0;
    int TotalRuns = 0;
    int Landscape = 0;
    int TotalLandscapes = 0;
    int Row = 0;
    int Column = 0;

    bool operator==(const RunProgress&) const = default;
};

} // namespace quorrel
