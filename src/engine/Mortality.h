#pragma once

#include "engine/DrawScan.h"
#include "engine/LandscapeGrid.h"
#include "engine/OccupancyBits.h"
#include "engine/Rng.h"
#include "engine/SingleCellMortality.h"
#include "engine/UninitialisedArray.h"
#include "params/ParameterSet.h"

#include <cstdint>

namespace quorrel {

// Mortality (ApplyMortality): in row order each occupied cell draws one RandomReal and
// dies below its species' probability, taking with it a breadth-first patch of connected
// individuals of its species of at most MortalSize cells. Nothing happens while
// MortalSize is not positive.
class MortalityPass {
public:
    // Room for patches on a landscape of the given number of cells (at run start).
    void Reserve(int cells);

    // Given the occupancy bits of grid, the pass finds its draws there and keeps them up
    // to date.
    void Apply(const ParameterSet& p, LandscapeGrid& grid, Rng& rng, OccupancyBits* bits = nullptr);
    void UseWideKernel(bool on)
    {
        single_.UseWideKernel(on);
        scan_.UseWideKernel(on);
    }

private:
    void Spread(const GParamStruct& g, LandscapeGrid& grid, int x, int y, int32_t species, int64_t limit,
                OccupancyBits* bits);

    // Cells killed in the current and the next wave of a patch, packed as y * 1024 + x.
    UninitialisedArray<int32_t> wave_;
    UninitialisedArray<int32_t> next_;
    SingleCellMortality single_;
    DrawScan scan_;
};

// The same pass written as plainly as it reads, for reference and tests.
void ApplyMortalityLiteral(const ParameterSet& p, LandscapeGrid& grid, Rng& rng);

} // namespace quorrel
