#include "engine/SingleCellMortality.h"

#include "engine/LandscapeGrid.h"
#include "engine/RngJump.h"
#include "engine/Thresholds.h"
#include "engine/WideKernel.h"

#include <algorithm>
#include <bit>
#include <cmath>

namespace quorrel {

int64_t MortalityPatchLimit(const ParameterSet& p)
{
    return static_cast<int64_t>(std::nearbyint(double(p.MortalSize())));
}

bool SingleCellMortality::Applies(const ParameterSet& p)
{
    return p.MortalSize() > 0.0f && MortalityPatchLimit(p) <= 1;
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

} // namespace quorrel
