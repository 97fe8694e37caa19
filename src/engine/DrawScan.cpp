#include "engine/DrawScan.h"

#include "engine/RngJump.h"
#include "engine/WideKernel.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace quorrel {

namespace {

constexpr RngJump<32> Jump;
constexpr uint64_t Certain = uint64_t(1) << 32;

} // namespace

DrawScan::DrawScan() : available_(WideKernelAvailable()) {}

void DrawScan::Prepare(Drawers drawers, const std::array<uint64_t, MaxSpecies + 1>& thresholds)
{
    threshold_ = thresholds;
    occupiedDraw_ = drawers == Drawers::Occupied;
    bound_ = occupiedDraw_ ? *std::max_element(threshold_.begin() + 1, threshold_.end()) : threshold_[0];
}

void DrawScan::UseWideKernel(bool on)
{
    allowWide_ = on;
}

int DrawScan::NextInRow(const Cell* row, int x, int maxX, uint32_t& seed) const
{
    // The vector groups compare 32-bit states with the bound: a certain draw is left to the
    // plain loop.
    if (allowWide_ && available_ && bound_ < Certain)
        return NextInRowWide(row, x, maxX, seed);
    return NextInRowPlain(row, x, maxX, seed);
}

int DrawScan::NextInRowPlain(const Cell* row, int x, int maxX, uint32_t& seed) const
{
    uint32_t s = seed;
    for (; x <= maxX; ++x) {
        const int32_t species = row[x].Species;
        if ((species != 0) != occupiedDraw_)
            continue;
        s = s * Rng::Multiplier + Rng::Increment;
        if (s < threshold_[species]) {
            seed = s;
            return x;
        }
    }
    seed = s;
    return x;
}

int DrawScan::NextOccupied(const uint64_t* bits, const uint8_t* species, int x, int maxX, uint32_t& seed) const
{
    if (allowWide_ && available_ && bound_ < Certain)
        return NextOccupiedWide(bits, species, x, maxX, seed);
    return NextOccupiedPlain(bits, species, x, maxX, seed);
}

int DrawScan::NextOccupiedPlain(const uint64_t* bits, const uint8_t* species, int x, int maxX, uint32_t& seed) const
{
    uint32_t s = seed;
    for (; x <= maxX; ++x) {
        if (((bits[(x - 1) >> 6] >> ((x - 1) & 63)) & 1u) == 0)
            continue;
        s = s * Rng::Multiplier + Rng::Increment;
        if (s < threshold_[species[x]]) {
            seed = s;
            return x;
        }
    }
    seed = s;
    return x;
}

int DrawScan::NextBelow(int count, uint64_t threshold, uint32_t& seed) const
{
    if (count <= 0)
        return 0;
    if (threshold >= Certain) {
        seed = seed * Rng::Multiplier + Rng::Increment;
        return 0;
    }
    if (allowWide_ && available_)
        return NextBelowWide(count, static_cast<uint32_t>(threshold), seed);
    return NextBelowPlain(count, static_cast<uint32_t>(threshold), seed);
}

int DrawScan::NextBelowPlain(int count, uint32_t threshold, uint32_t& seed)
{
    uint32_t s = seed;
    for (int i = 0; i < count; ++i) {
        s = s * Rng::Multiplier + Rng::Increment;
        if (s < threshold) {
            seed = s;
            return i;
        }
    }
    seed = s;
    return count;
}

#ifdef QRL_WIDE_KERNEL

namespace {

// The cells of a group of eight that draw, bit i for cell i, from the masks of empty 32-bit
// lanes of its two halves (cell i's species in lane 2i of its half).
inline unsigned DrawingCells(int emptyLow, int emptyHigh, bool occupiedDraw)
{
    unsigned m = static_cast<unsigned>(emptyLow & 0x55) | (static_cast<unsigned>(emptyHigh & 0x55) << 8);
    m = (m | (m >> 1)) & 0x3333u;
    m = (m | (m >> 2)) & 0x0F0Fu;
    m = (m | (m >> 4)) & 0x00FFu;
    return occupiedDraw ? ~m & 0xFFu : m;
}

} // namespace

// Eight cells at a time: which of them draw, and whether any of the states of their draws
// lies below the largest bound. Cell x's species is the even 32-bit lane of its pair.
__attribute__((target("avx2"))) int DrawScan::NextInRowWide(const Cell* row, int x, int maxX, uint32_t& seed) const
{
    const __m256i mul = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(Jump.Mul.data() + 1));
    const __m256i add = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(Jump.Add.data() + 1));
    const __m256i sign = _mm256_set1_epi32(INT32_MIN);
    const __m256i bound = _mm256_set1_epi32(static_cast<int32_t>(static_cast<uint32_t>(bound_) ^ 0x80000000u));
    const __m256i zero = _mm256_setzero_si256();
    uint32_t s = seed;
    for (; x + 7 <= maxX; x += 8) {
        const int emptyLow = _mm256_movemask_ps(_mm256_castsi256_ps(
            _mm256_cmpeq_epi32(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(row + x)), zero)));
        const int emptyHigh = _mm256_movemask_ps(_mm256_castsi256_ps(
            _mm256_cmpeq_epi32(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(row + x + 4)), zero)));
        const int empty = std::popcount(static_cast<unsigned>(emptyLow & 0x55)) +
                          std::popcount(static_cast<unsigned>(emptyHigh & 0x55));
        const int drawers = occupiedDraw_ ? 8 - empty : empty;
        const __m256i states = _mm256_add_epi32(_mm256_mullo_epi32(_mm256_set1_epi32(static_cast<int32_t>(s)), mul), add);
        const int below = _mm256_movemask_ps(
            _mm256_castsi256_ps(_mm256_cmpgt_epi32(bound, _mm256_xor_si256(states, sign))));
        unsigned live = static_cast<unsigned>(below) & ((1u << drawers) - 1u);
        if (live == 0) {
            s = Jump.Mul[drawers] * s + Jump.Add[drawers];
            continue;
        }
        // Draw j of the group is that of its j-th drawing cell; only the draws below the
        // largest bound are compared with the bound of their cell's species, in order.
        const unsigned drawerCells = DrawingCells(emptyLow, emptyHigh, occupiedDraw_);
        for (; live != 0; live &= live - 1u) {
            const int j = std::countr_zero(live);
            unsigned cells = drawerCells;
            for (int k = 0; k < j; ++k)
                cells &= cells - 1u;
            const int at = x + std::countr_zero(cells);
            const uint32_t state = Jump.Mul[j + 1] * s + Jump.Add[j + 1];
            if (state < threshold_[row[at].Species]) {
                seed = state;
                return at;
            }
        }
        s = Jump.Mul[drawers] * s + Jump.Add[drawers];
    }
    seed = s;
    return NextInRowPlain(row, x, maxX, seed);
}

namespace {

// The coefficients that take a state 1..32 draws ahead, eight to a vector.
__attribute__((target("avx2"))) inline void LoadSteps32(__m256i* mul, __m256i* add)
{
    for (int k = 0; k < 4; ++k) {
        mul[k] = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(Jump.Mul.data() + 1 + 8 * k));
        add[k] = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(Jump.Add.data() + 1 + 8 * k));
    }
}

// The states of the next 32 draws after s (lane i of states[k] the state of draw
// 8k + i + 1), each compared with the bound (offset by the sign bit): bit j of the result is
// set where draw j + 1 falls below it. The four groups do not wait on each other.
__attribute__((target("avx2"))) inline uint32_t Below32(uint32_t s, const __m256i* mul, const __m256i* add,
                                                       __m256i bound, __m256i sign)
{
    const __m256i from = _mm256_set1_epi32(static_cast<int32_t>(s));
    uint32_t below = 0;
    for (int k = 0; k < 4; ++k) {
        const __m256i states = _mm256_add_epi32(_mm256_mullo_epi32(from, mul[k]), add[k]);
        below |= static_cast<uint32_t>(
                     _mm256_movemask_ps(_mm256_castsi256_ps(_mm256_cmpgt_epi32(bound, _mm256_xor_si256(states, sign)))))
                 << (8 * k);
    }
    return below;
}

// The position of set bit n (0-based) of v, which has more than n: halves, quarters, ... of
// v are passed over by their counts, without a branch on the count.
__attribute__((target("avx2"))) inline int NthSetBit(uint32_t v, int n)
{
    int at = 0;
    for (const int width : {16, 8, 4, 2, 1}) {
        const int low = std::popcount(v & ((uint32_t(1) << width) - 1u));
        const bool beyond = n >= low;
        n -= beyond ? low : 0;
        v >>= beyond ? width : 0;
        at += beyond ? width : 0;
    }
    return at;
}

} // namespace

// Thirty-two draws at a time against one bound: most searches end within the first 32, so
// the branch that leaves the loop is mostly foreseen.
__attribute__((target("avx2"))) int DrawScan::NextBelowWide(int count, uint32_t threshold, uint32_t& seed) const
{
    __m256i mul[4];
    __m256i add[4];
    LoadSteps32(mul, add);
    const __m256i sign = _mm256_set1_epi32(INT32_MIN);
    const __m256i bound = _mm256_set1_epi32(static_cast<int32_t>(threshold ^ 0x80000000u));
    uint32_t s = seed;
    int i = 0;
    for (; i < count; i += 32) {
        uint32_t below = Below32(s, mul, add, bound, sign);
        if (count - i < 32)
            below &= (uint32_t(1) << (count - i)) - 1u;
        if (below != 0) {
            const int k = std::countr_zero(below);
            seed = Jump.Mul[k + 1] * s + Jump.Add[k + 1];
            return i + k;
        }
        const int n = count - i < 32 ? count - i : 32;
        s = Jump.Mul[n] * s + Jump.Add[n];
    }
    seed = s;
    return count;
}

// Thirty-two cells at a time, which of them draw read off the bits (the bits of the
// columns after maxX masked off).
__attribute__((target("avx2"))) int DrawScan::NextOccupiedWide(const uint64_t* bits, const uint8_t* species, int x,
                                                               int maxX, uint32_t& seed) const
{
    __m256i mul[4];
    __m256i add[4];
    LoadSteps32(mul, add);
    const __m256i sign = _mm256_set1_epi32(INT32_MIN);
    const __m256i bound = _mm256_set1_epi32(static_cast<int32_t>(static_cast<uint32_t>(bound_) ^ 0x80000000u));
    uint32_t s = seed;
    for (; x <= maxX; x += 32) {
        // The 32 bits from column x, read as whole words: a patch has just written the word
        // of a cell it emptied, and a load of the same word takes the value straight from
        // that store, where one at another offset would wait for it.
        const int bit = (x - 1) & 63;
        const uint64_t* word = bits + ((x - 1) >> 6);
        uint32_t cells = static_cast<uint32_t>((word[0] >> bit) | ((word[1] << 1) << (63 - bit)));
        if (maxX - x < 31)
            cells &= (uint32_t(1) << (maxX - x + 1)) - 1u;
        const int drawers = std::popcount(cells);
        uint32_t live = Below32(s, mul, add, bound, sign);
        if (drawers < 32)
            live &= (uint32_t(1) << drawers) - 1u;
        for (; live != 0; live &= live - 1u) {
            const int j = std::countr_zero(live);
            const int at = x + NthSetBit(cells, j);
            const uint32_t state = Jump.Mul[j + 1] * s + Jump.Add[j + 1];
            if (state < threshold_[species[at]]) {
                seed = state;
                return at;
            }
        }
        s = Jump.Mul[drawers] * s + Jump.Add[drawers];
    }
    seed = s;
    return maxX + 1;
}

#else

int DrawScan::NextOccupiedWide(const uint64_t* bits, const uint8_t* species, int x, int maxX, uint32_t& seed) const
{
    return NextOccupiedPlain(bits, species, x, maxX, seed);
}

int DrawScan::NextInRowWide(const Cell* row, int x, int maxX, uint32_t& seed) const
{
    return NextInRowPlain(row, x, maxX, seed);
}

int DrawScan::NextBelowWide(int count, uint32_t threshold, uint32_t& seed) const
{
    return NextBelowPlain(count, threshold, seed);
}

#endif

} // namespace quorrel
