#include "engine/Mortality.h"

#include "engine/Thresholds.h"
#include "params/AssertionFailure.h"

#include <array>
#include <utility>

namespace quorrel {

namespace {

constexpr int32_t Pack = 1024;

// Neighbour d (0 left, 1 below, 2 right, 3 above) of (x, y). Beyond an edge: the opposite
// edge on a torus, the cell itself with an open border.
std::pair<int, int> PatchNeighbour(const GParamStruct& g, int x, int y, int d)
{
    const bool torus = g.Border == 0;
    switch (d) {
    case 0:
        return {x > 1 ? x - 1 : (torus ? g.MaxX : x), y};
    case 1:
        return {x, y < g.MaxY ? y + 1 : (torus ? 1 : y)};
    case 2:
        return {x < g.MaxX ? x + 1 : (torus ? 1 : x), y};
    default:
        return {x, y > 1 ? y - 1 : (torus ? g.MaxY : y)};
    }
}

// The steps of PatchNeighbour's directions away from the edges.
constexpr int StepX[4] = {-1, 0, 1, 0};
constexpr int StepY[4] = {0, 1, 0, -1};

} // namespace

void MortalityPass::Reserve(int cells)
{
    wave_.Reserve(static_cast<std::size_t>(cells));
    next_.Reserve(static_cast<std::size_t>(cells));
}

void MortalityPass::Apply(const ParameterSet& p, LandscapeGrid& grid, Rng& rng, OccupancyBits* bits)
{
    if (!(p.MortalSize() > 0.0f))
        return;
    const GParamStruct& g = p.GParamRec;
    Reserve(g.MaxX * g.MaxY); // allocates only when the run was not started by StartRun
    const int64_t limit = MortalityPatchLimit(p);
    uint32_t seed = rng.RandSeed;
    if (limit <= 1) {
        single_.Prepare(p);
        for (int y = 1; y <= g.MaxY; ++y) {
            seed = single_.Row(grid.Row(y), g.MaxX, seed);
            if (bits != nullptr)
                bits->BuildRow(grid.Row(y), g.MaxX, y);
        }
        rng.RandSeed = seed;
        return;
    }
    std::array<uint64_t, MaxSpecies + 1> threshold{};
    for (int s = 1; s <= g.Maxspec; ++s)
        threshold[s] = DrawThreshold(p.MortalityVector[s]);
    scan_.Prepare(DrawScan::Drawers::Occupied, threshold);
    // A patch takes no draws: the search goes on from the cell after the death, over the
    // row as the patch has left it.
    for (int y = 1; y <= g.MaxY; ++y) {
        const Cell* row = grid.Row(y);
        if (bits != nullptr) {
            if (!bits->KeepsSpecies())
                QRL_FAIL("Mortality patches on occupancy bits without species", "Landscape");
            const uint64_t* rowBits = bits->Row(y);
            const uint8_t* species = bits->SpeciesRow(y);
            // The species of the next row, read by this row's patches and the next row's
            // deaths, are fetched ahead.
            if (y < g.MaxY)
                bits->PrefetchSpeciesRow(y + 1, g.MaxX);
            for (int x = scan_.NextOccupied(rowBits, species, 1, g.MaxX, seed); x <= g.MaxX;
                 x = scan_.NextOccupied(rowBits, species, x + 1, g.MaxX, seed))
                Spread(g, grid, x, y, species[x], limit, bits);
            continue;
        }
        for (int x = scan_.NextInRow(row, 1, g.MaxX, seed); x <= g.MaxX; x = scan_.NextInRow(row, x + 1, g.MaxX, seed))
            Spread(g, grid, x, y, row[x].Species, limit, nullptr);
    }
    rng.RandSeed = seed;
}

void MortalityPass::Spread(const GParamStruct& g, LandscapeGrid& grid, int x, int y, int32_t species, int64_t limit,
                           OccupancyBits* bits)
{
    grid(x, y) = EmptyCell;
    if (bits != nullptr)
        bits->Clear(x, y);
    int64_t count = 1;
    if (count >= limit)
        return;
    wave_[0] = y * Pack + x;
    int waveSize = 1;
    while (waveSize > 0) {
        int nextSize = 0;
        for (int i = 0; i < waveSize; ++i) {
            const int cx = wave_[i] % Pack;
            const int cy = wave_[i] / Pack;
            // Away from the edges a neighbour is a step in its direction.
            const bool inner = cx > 1 && cx < g.MaxX && cy > 1 && cy < g.MaxY;
            for (int d = 0; d < 4; ++d) {
                const auto [nx, ny] = inner ? std::pair<int, int>{cx + StepX[d], cy + StepY[d]} : PatchNeighbour(g, cx, cy, d);
                // With the bits, the neighbour's species is read there (a stale byte where
                // the cell is empty): the cell itself is only written.
                if (bits != nullptr) {
                    if (!(bits->Occupied(nx, ny) & (bits->Species(nx, ny) == species)))
                        continue;
                    bits->Clear(nx, ny);
                } else if (grid(nx, ny).Species != species) {
                    continue;
                }
                grid(nx, ny) = EmptyCell;
                next_[nextSize++] = ny * Pack + nx;
                if (++count >= limit)
                    return;
            }
        }
        swap(wave_, next_);
        waveSize = nextSize;
    }
}

void ApplyMortalityLiteral(const ParameterSet& p, LandscapeGrid& grid, Rng& rng)
{
    if (!(p.MortalSize() > 0.0f))
        return;
    const GParamStruct& g = p.GParamRec;
    const int64_t limit = MortalityPatchLimit(p);
    for (int y = 1; y <= g.MaxY; ++y) {
        for (int x = 1; x <= g.MaxX; ++x) {
            const int32_t s = grid(x, y).Species;
            if (s == 0)
                continue;
            if (!(rng.RandomReal() < p.MortalityVector[s]))
                continue;
            grid(x, y) = EmptyCell;
            int64_t count = 1;
            std::vector<std::pair<int, int>> wave{{x, y}};
            while (count < limit && !wave.empty()) {
                std::vector<std::pair<int, int>> next;
                for (const auto& [cx, cy] : wave) {
                    for (int d = 0; d < 4 && count < limit; ++d) {
                        const auto [nx, ny] = PatchNeighbour(g, cx, cy, d);
                        if (grid(nx, ny).Species == s) {
                            grid(nx, ny) = EmptyCell;
                            next.emplace_back(nx, ny);
                            ++count;
                        }
                    }
                    if (count >= limit)
                        break;
                }
                wave = std::move(next);
            }
        }
    }
}

} // namespace quorrel
