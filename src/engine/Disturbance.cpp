#include "engine/Disturbance.h"

#include "engine/Thresholds.h"
#include "params/AssertionFailure.h"

#include <algorithm>
#include <cmath>

namespace quorrel {

void ClearBlock(LandscapeGrid& grid, int x1, int y1, int x2, int y2, OccupancyBits* bits)
{
    if (x2 < x1 || y2 < y1)
        return;
    for (int y = y1; y <= y2; ++y) {
        std::fill(grid.Row(y) + x1, grid.Row(y) + x2 + 1, EmptyCell);
        if (bits != nullptr)
            bits->ClearSpan(x1, x2, y);
    }
}

SquarePatchShape SquarePatch(const GParamStruct& g)
{
    const int size = g.PatchSize;
    const int h0 = std::max(std::min(static_cast<int>(std::trunc(std::sqrt(double(size)))), g.MaxY), 1);
    SquarePatchShape s;
    s.W = std::max(1, std::min(g.MaxX, size / h0));
    s.H = size / s.W;
    s.R = size - s.W * s.H;
    const bool fits = size >= 1 && int64_t(size) <= int64_t(g.MaxX) * g.MaxY && s.W >= 1 && s.W <= g.MaxX &&
                      s.H >= 1 && s.H <= g.MaxY && s.R >= 0 && s.R < s.W &&
                      (s.W == g.MaxX || s.H == g.MaxY || (s.H <= s.W && s.W <= s.H + 2));
    if (!fits)
        QRL_FAIL("Mismatched disturbance patch; try a different size.", "Landscape");
    return s;
}

void PlaceSquarePatch(const GParamStruct& g, LandscapeGrid& grid, const SquarePatchShape& shape, int x, int y,
                      OccupancyBits* bits)
{
    const int maxX = g.MaxX;
    const int maxY = g.MaxY;
    const bool torus = g.Border == 0;
    const int x2 = x + shape.W - 1;
    const int y2 = y + shape.H - 1;
    int xr = x + shape.R - 1;
    int ys = y2 + 1;
    if (y2 >= maxY) {
        ys = 1;
        if (!torus)
            xr = 0; // the strip would lie beyond the bottom edge
    }
    ClearBlock(grid, x, y, std::min(x2, maxX), std::min(y2, maxY), bits);
    ClearBlock(grid, x, ys, std::min(xr, maxX), ys, bits);
    if (torus) {
        ClearBlock(grid, 1, y, x2 - maxX, std::min(y2, maxY), bits);
        ClearBlock(grid, x, 1, std::min(x2, maxX), y2 - maxY, bits);
        ClearBlock(grid, 1, 1, x2 - maxX, y2 - maxY, bits);
        ClearBlock(grid, 1, ys, xr - maxX, ys, bits);
    }
}

void RandomWalkPatch(const GParamStruct& g, LandscapeGrid& grid, Rng& rng, int x, int y, OccupancyBits* bits)
{
    const bool torus = g.Border == 0;
    int n = g.PatchSize;
    do {
        grid(x, y) = EmptyCell;
        if (bits != nullptr)
            bits->Clear(x, y);
        --n;
        switch (rng.RandomInt(4)) {
        case 0:
            x = x > 1 ? x - 1 : (torus ? g.MaxX : x);
            break;
        case 1:
            y = y < g.MaxY ? y + 1 : (torus ? 1 : y);
            break;
        case 2:
            x = x < g.MaxX ? x + 1 : (torus ? 1 : x);
            break;
        case 3:
            y = y > 1 ? y - 1 : (torus ? g.MaxY : y);
            break;
        default:
            QRL_FAIL("Unexpected random value", "Landscape");
        }
    } while (n > 0);
}

namespace {

// The checks made each time disturbance runs; false when it does nothing.
bool DisturbanceActive(const GParamStruct& g)
{
    if (!(g.PatchSize > 0 && g.DisturbProb > 0.0f))
        return false;
    if (g.PatchType != 0 && g.PatchType != 1)
        QRL_FAIL("ApplyDisturbance: invalid PatchType parameter.", "Landscape");
    return true;
}

} // namespace

void ApplyDisturbanceLiteral(const ParameterSet& p, LandscapeGrid& grid, Rng& rng)
{
    const GParamStruct& g = p.GParamRec;
    if (!DisturbanceActive(g))
        return;
    const bool square = g.PatchType == 0;
    SquarePatchShape shape;
    if (square)
        shape = SquarePatch(g);
    for (int y = 1; y <= g.MaxY; ++y) {
        for (int x = 1; x <= g.MaxX; ++x) {
            if (!(rng.RandomReal() < g.DisturbProb))
                continue;
            if (square)
                PlaceSquarePatch(g, grid, shape, x, y);
            else
                RandomWalkPatch(g, grid, rng, x, y);
        }
    }
}

void DisturbancePass::Apply(const ParameterSet& p, LandscapeGrid& grid, Rng& rng, OccupancyBits* bits)
{
    const GParamStruct& g = p.GParamRec;
    if (!DisturbanceActive(g))
        return;
    const bool square = g.PatchType == 0;
    SquarePatchShape shape;
    if (square)
        shape = SquarePatch(g);
    const uint64_t threshold = DrawThreshold(g.DisturbProb);
    uint32_t seed = rng.RandSeed;
    for (int y = 1; y <= g.MaxY; ++y) {
        for (int x = 1 + scan_.NextBelow(g.MaxX, threshold, seed); x <= g.MaxX;) {
            // A patch starts at x; a random walk takes further draws, so the search goes on
            // from the generator as the patch leaves it.
            rng.RandSeed = seed;
            if (square)
                PlaceSquarePatch(g, grid, shape, x, y, bits);
            else
                RandomWalkPatch(g, grid, rng, x, y, bits);
            seed = rng.RandSeed;
            x += 1 + scan_.NextBelow(g.MaxX - x, threshold, seed);
        }
    }
    rng.RandSeed = seed;
}

} // namespace quorrel
