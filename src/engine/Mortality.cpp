#include "engine/Mortality.h"

#include "engine/ContentionKernels.h"
#include "engine/RngJump.h"
#include "engine/Thresholds.h"

#include <algorithm>
#include <array>
#include <bit>
#include <climits>
#include <cmath>
#include <utility>

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#define QRL_WIDE_KERNEL 1
#include <immintrin.h>
#endif

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

int64_t PatchLimit(const ParameterSet& p)
{
    return static_cast<int64_t>(std::nearbyint(double(p.MortalSize())));
}

} // namespace

bool SingleCellMortality::Applies(const ParameterSet& p)
{
    return p.MortalSize() > 0.0f && PatchLimit(p) <= 1;
}

void SingleCellMortality::Prepare(const ParameterSet& p)
{
    threshold_.fill(0);
    uint64_t bound = 0;
    for (int s = 1; s <= p.GParamRec.Maxspec; ++s) {
        threshold_[s] = DrawThreshold(p.MortalityVector[s]);
        bound = std::max(bound, threshold_[s]);
    }
    // The vector row needs a bound below 2^32; a certain death leaves it to the plain row.
    bound_ = static_cast<uint32_t>(std::min<uint64_t>(bound, UINT32_MAX));
    wide_ = allowWide_ && WideKernelAvailable() && bound < (uint64_t(1) << 32);
}

uint32_t SingleCellMortality::Row(Cell* row, int maxX, uint32_t seed) const
{
    if (wide_)
        return RowWide(row, maxX, seed);
    static const RngJump<MaxLandscapeSide> jump;
    int drawn = 0;
    for (int x = 1; x <= maxX; ++x) {
        const int32_t s = row[x].Species;
        drawn += s != 0;
        const uint32_t state = jump.Mul[drawn] * seed + jump.Add[drawn];
        if (state < threshold_[s])
            row[x] = EmptyCell;
    }
    return jump.Mul[drawn] * seed + jump.Add[drawn];
}

#ifdef QRL_WIDE_KERNEL

// Eight cells at a time: most groups of eight draws have none below the largest
// threshold, and then no cell of the group dies; the others are drawn one by one.
__attribute__((target("avx2"))) uint32_t SingleCellMortality::RowWide(Cell* row, int maxX, uint32_t seed) const
{
    static const RngJump<MaxLandscapeSide + 8> jump;
    // state[k]: the state of the k-th draw of the row (state[0] the one before the row).
    alignas(32) std::array<uint32_t, MaxLandscapeSide + 9> state;
    state[0] = seed;
    jump.States(seed, state.data() + 1, maxX + 8);
    const __m256i zero = _mm256_setzero_si256();
    const __m256i sign = _mm256_set1_epi32(INT32_MIN);
    const __m256i bound = _mm256_set1_epi32(static_cast<int32_t>(bound_ ^ 0x80000000u));
    int drawn = 0;
    int x = 1;
    for (; x + 7 <= maxX; x += 8) {
        // Species in the even 32-bit lanes of two vectors of four cells.
        const int emptyLow = _mm256_movemask_ps(_mm256_castsi256_ps(
            _mm256_cmpeq_epi32(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(row + x)), zero)));
        const int emptyHigh = _mm256_movemask_ps(_mm256_castsi256_ps(
            _mm256_cmpeq_epi32(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(row + x + 4)), zero)));
        const int occupied = 8 - std::popcount(static_cast<unsigned>(emptyLow & 0x55)) -
                             std::popcount(static_cast<unsigned>(emptyHigh & 0x55));
        const __m256i next =
            _mm256_xor_si256(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(state.data() + drawn + 1)), sign);
        const int low = _mm256_movemask_ps(_mm256_castsi256_ps(_mm256_cmpgt_epi32(bound, next)));
        if ((low & ((1 << occupied) - 1)) == 0) {
            drawn += occupied;
            continue;
        }
        for (int i = x; i < x + 8; ++i) {
            const int32_t s = row[i].Species;
            drawn += s != 0;
            if (state[drawn] < threshold_[s])
                row[i] = EmptyCell;
        }
    }
    for (; x <= maxX; ++x) {
        const int32_t s = row[x].Species;
        drawn += s != 0;
        if (state[drawn] < threshold_[s])
            row[x] = EmptyCell;
    }
    return state[drawn];
}

#else

uint32_t SingleCellMortality::RowWide(Cell* row, int maxX, uint32_t seed) const
{
    return Row(row, maxX, seed);
}

#endif

void MortalityPass::Reserve(int cells)
{
    if (static_cast<int>(wave_.size()) < cells) {
        wave_.resize(cells);
        next_.resize(cells);
    }
}

void MortalityPass::Apply(const ParameterSet& p, LandscapeGrid& grid, Rng& rng)
{
    if (!(p.MortalSize() > 0.0f))
        return;
    const GParamStruct& g = p.GParamRec;
    Reserve(g.MaxX * g.MaxY); // allocates only when the run was not started by StartRun
    const int64_t limit = PatchLimit(p);
    uint32_t seed = rng.RandSeed;
    if (limit <= 1) {
        single_.Prepare(p);
        for (int y = 1; y <= g.MaxY; ++y)
            seed = single_.Row(grid.Row(y), g.MaxX, seed);
        rng.RandSeed = seed;
        return;
    }
    std::array<uint64_t, MaxSpecies + 1> threshold{};
    for (int s = 1; s <= g.Maxspec; ++s)
        threshold[s] = DrawThreshold(p.MortalityVector[s]);
    for (int y = 1; y <= g.MaxY; ++y) {
        Cell* row = grid.Row(y);
        for (int x = 1; x <= g.MaxX; ++x) {
            const int32_t s = row[x].Species;
            if (s == 0)
                continue;
            seed = seed * Rng::Multiplier + Rng::Increment;
            if (seed < threshold[s])
                Spread(g, grid, x, y, s, limit);
        }
    }
    rng.RandSeed = seed;
}

void MortalityPass::Spread(const GParamStruct& g, LandscapeGrid& grid, int x, int y, int32_t species, int64_t limit)
{
    grid(x, y) = EmptyCell;
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
            for (int d = 0; d < 4; ++d) {
                const auto [nx, ny] = PatchNeighbour(g, cx, cy, d);
                Cell& c = grid(nx, ny);
                if (c.Species != species)
                    continue;
                c = EmptyCell;
                next_[nextSize++] = ny * Pack + nx;
                if (++count >= limit)
                    return;
            }
        }
        std::swap(wave_, next_);
        waveSize = nextSize;
    }
}

void ApplyMortalityLiteral(const ParameterSet& p, LandscapeGrid& grid, Rng& rng)
{
    if (!(p.MortalSize() > 0.0f))
        return;
    const GParamStruct& g = p.GParamRec;
    const int64_t limit = PatchLimit(p);
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
