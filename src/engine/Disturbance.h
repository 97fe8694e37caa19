#pragma once

#include "engine/DrawScan.h"
#include "engine/LandscapeGrid.h"
#include "engine/OccupancyBits.h"
#include "engine/Rng.h"
#include "params/ParameterSet.h"

#include <cstdint>

namespace quorrel {

// Every cell with x1 <= x <= x2 and y1 <= y <= y2 becomes EmptyCell; nothing happens when
// x2 < x1 or y2 < y1. Given the occupancy bits of grid, they follow.
void ClearBlock(LandscapeGrid& grid, int x1, int y1, int x2, int y2, OccupancyBits* bits = nullptr);

// A square disturbance patch: a block of W columns by H rows and a strip of R cells under
// its first R columns, W * H + R = PatchSize.
struct SquarePatchShape {
    int W = 0;
    int H = 0;
    int R = 0;
};

// The shape for the current PatchSize and landscape; an assertion failure when the patch
// does not fit the landscape.
SquarePatchShape SquarePatch(const GParamStruct& g);

// Places one square patch with its top-left corner at (x, y): wrapped on a torus, cut
// off at the edges of an open landscape. Given the occupancy bits of grid, they follow.
void PlaceSquarePatch(const GParamStruct& g, LandscapeGrid& grid, const SquarePatchShape& shape, int x, int y,
                      OccupancyBits* bits = nullptr);

// A random walk of PatchSize steps from (x, y), clearing the cell at the walker before
// each step; it takes PatchSize RandomInt(4) draws. Given the occupancy bits of grid, they
// follow.
void RandomWalkPatch(const GParamStruct& g, LandscapeGrid& grid, Rng& rng, int x, int y,
                     OccupancyBits* bits = nullptr);

// Disturbance (ApplyDisturbance): every interior cell draws one RandomReal and starts a
// patch below DisturbProb. Nothing happens unless PatchSize > 0 and DisturbProb > 0.
// The pass searches the trigger draws of a row eight at a time (DrawScan). Given the
// occupancy bits of grid, it keeps them up to date.
class DisturbancePass {
public:
    void Apply(const ParameterSet& p, LandscapeGrid& grid, Rng& rng, OccupancyBits* bits = nullptr);
    void UseWideKernel(bool on) { scan_.UseWideKernel(on); }

private:
    DrawScan scan_;
};

// The same pass written as plainly as it reads, for reference and tests.
void ApplyDisturbanceLiteral(const ParameterSet& p, LandscapeGrid& grid, Rng& rng);

} // namespace quorrel
