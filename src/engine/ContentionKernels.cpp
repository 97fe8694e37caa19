#include "engine/ContentionKernels.h"

#include "engine/LandscapeGrid.h"

#include <bit>
#include <cstddef>

#include "engine/WideKernel.h"
#ifdef QRL_WIDE_KERNEL
#include "engine/NeighbourLanes.h"
#endif

namespace quorrel {

namespace {

constexpr uint32_t OneBits = std::bit_cast<uint32_t>(1.0f);

inline Cell ContendCell(const Cell* prev, int x, uint32_t neighbourState, uint32_t drawState,
                        const ContentionTable& table)
{
    const Cell o = prev[x];
    const Cell n = prev[x + LandscapeGrid::NeighbourOffset[neighbourState >> 30]];
    const int index = n.Species * table.Stride + o.Species;
    const uint32_t mask = table.RateMask[index];
    const uint32_t rateBits = (std::bit_cast<uint32_t>(n.GRate) & mask) | (OneBits & ~mask);
    const float prob = float(table.Factor[index] * double(std::bit_cast<float>(rateBits)));
    // draw < prob, with draw = state / 2^32 scaled back exactly.
    const bool take = double(drawState) < double(prob) * 4294967296.0;
    return std::bit_cast<Cell>(take ? std::bit_cast<uint64_t>(n) : std::bit_cast<uint64_t>(o));
}

} // namespace

void ContentionRowPortable(const Cell* prev, Cell* out, int maxX, const uint32_t* neighbourStates,
                           const uint32_t* drawStates, const ContentionTable& table)
{
    for (int x = 1; x <= maxX; ++x)
        out[x] = ContendCell(prev, x, neighbourStates[x - 1], drawStates[x - 1], table);
}

namespace {

// Cells from..maxX of a row whose generator states are read off coefficients.
void ContendFrom(const Cell* prev, Cell* out, int from, int maxX, const RowStates& states,
                 const ContentionTable& table)
{
    const uint32_t s = states.Seed;
    for (int x = from; x <= maxX; ++x)
        out[x] = ContendCell(prev, x, states.NeighbourMul[x - 1] * s + states.NeighbourAdd[x - 1],
                             states.DrawMul[x - 1] * s + states.DrawAdd[x - 1], table);
}

} // namespace

#ifdef QRL_WIDE_KERNEL

namespace {

// The wide row; SkipUniform: groups of four whose neighbours are all of the occupants'
// species are copied without their probabilities, at the price of a branch that is hard to
// predict where such groups and others alternate. Returns the number of such groups.
template <bool SkipUniform>
__attribute__((target("avx2"))) inline int WideRow(const Cell* prev, Cell* out, int maxX,
                                                    const uint32_t* neighbourStates, const uint32_t* drawStates,
                                                    const ContentionTable& table)
{
    const __m128i stride = _mm_set1_epi32(table.Stride);
    const __m128i signBit = _mm_set1_epi32(static_cast<int>(0x80000000u));
    const __m256i split = _mm256_setr_epi32(0, 2, 4, 6, 1, 3, 5, 7);
    const __m256d one = _mm256_set1_pd(1.0);
    const __m256d minusZero = _mm256_set1_pd(-0.0);
    const __m256d twoTo31 = _mm256_set1_pd(2147483648.0);
    const __m256d twoTo32 = _mm256_set1_pd(4294967296.0);
    const __m256d allLanes = _mm256_castsi256_pd(_mm256_set1_epi64x(-1));
    const double* factors = table.SignedFactor;

    int uniform = 0;
    int x = 1;
    for (; x + 3 <= maxX; x += 4) {
        const __m128i ns = _mm_loadu_si128(reinterpret_cast<const __m128i*>(neighbourStates + x - 1));
        const __m256d n = NeighbourCells(prev, x, ns);
        const __m256d o = LoadCells(prev + x);
        // Species in the low half of each cell, the growth rate in the high half.
        const __m256i nSplit = _mm256_permutevar8x32_epi32(_mm256_castpd_si256(n), split);
        const __m256i oSplit = _mm256_permutevar8x32_epi32(_mm256_castpd_si256(o), split);
        const __m128i nSpecies = _mm256_castsi256_si128(nSplit);
        const __m128i oSpecies = _mm256_castsi256_si128(oSplit);
        // Every neighbour is of the occupant's species (or empty next to empty).
        const bool same = _mm_movemask_ps(_mm_castsi128_ps(_mm_cmpeq_epi32(nSpecies, oSpecies))) == 0xF;
        uniform += same;
        if (SkipUniform && same) {
            _mm256_storeu_pd(reinterpret_cast<double*>(out + x), o);
            continue;
        }
        const __m128i nRate = _mm256_extracti128_si256(nSplit, 1);
        const __m128i index = _mm_add_epi32(_mm_mullo_epi32(nSpecies, stride), oSpecies);
        // The factor, negative where the invader's own rate counts, else 1.0 counts.
        const __m256d signedFactor = _mm256_mask_i32gather_pd(_mm256_setzero_pd(), factors, index, allLanes, 8);
        const __m256d rate = _mm256_blendv_pd(one, _mm256_cvtps_pd(_mm_castsi128_ps(nRate)), signedFactor);
        const __m256d factor = _mm256_andnot_pd(minusZero, signedFactor);
        const __m128 prob = _mm256_cvtpd_ps(_mm256_mul_pd(factor, rate));
        const __m256d scaled = _mm256_mul_pd(_mm256_cvtps_pd(prob), twoTo32);
        const __m128i ds = _mm_loadu_si128(reinterpret_cast<const __m128i*>(drawStates + x - 1));
        const __m256d draw = _mm256_add_pd(_mm256_cvtepi32_pd(_mm_xor_si128(ds, signBit)), twoTo31);
        const __m256d take = _mm256_cmp_pd(draw, scaled, _CMP_LT_OQ);
        _mm256_storeu_pd(reinterpret_cast<double*>(out + x), _mm256_blendv_pd(o, n, take));
    }
    for (; x <= maxX; ++x)
        out[x] = ContendCell(prev, x, neighbourStates[x - 1], drawStates[x - 1], table);
    return uniform;
}

} // namespace

__attribute__((target("avx2"))) int ContentionRowWide(const Cell* prev, Cell* out, int maxX,
                                                       const uint32_t* neighbourStates, const uint32_t* drawStates,
                                                       const ContentionTable& table, bool skipUniform)
{
    return skipUniform ? WideRow<true>(prev, out, maxX, neighbourStates, drawStates, table)
                       : WideRow<false>(prev, out, maxX, neighbourStates, drawStates, table);
}

QRL_BEGIN_512_INTRINSICS

namespace {

// How the 512-bit row finds the signed factor of a pair: indices below 16 or 32 pick it
// from the table held in one or two pairs of vectors, larger ones gather it from memory.
enum class Lookup { Pairs16, Pairs32, Gather };

// The states of cells x..x+7 off the coefficients mul, add.
QRL_TARGET_512 inline __m256i StatesOfEight(const uint32_t* mul, const uint32_t* add, __m256i seed, int x)
{
    const __m256i m = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(mul + x - 1));
    const __m256i a = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(add + x - 1));
    return _mm256_add_epi32(_mm256_mullo_epi32(seed, m), a);
}

// A cell vector of eight cells from c.
QRL_TARGET_512 inline __m512d LoadEight(const Cell* c)
{
    return _mm512_loadu_pd(reinterpret_cast<const double*>(c));
}

// Cells x..x+7 of the row written, with their occupancy.
QRL_TARGET_512 inline void StoreEight(Cell* out, int x, __m512i cells, OccupancyOut occupancy, __m512i speciesPart)
{
    _mm512_storeu_si512(out + x, cells);
    if (occupancy.Bits != nullptr) {
        occupancy.Bits[(x - 1) >> 3] = static_cast<uint8_t>(_mm512_test_epi64_mask(cells, speciesPart));
        if (occupancy.Species != nullptr)
            _mm_storel_epi64(reinterpret_cast<__m128i*>(occupancy.Species + x), _mm512_cvtepi64_epi8(cells));
    }
}

// SkipUniform: as in the 256-bit row, groups whose neighbours are all of their occupants'
// species are copied without their probabilities. Returns the number of such groups.
template <Lookup How, bool SkipUniform>
QRL_TARGET_512 inline int Row512(const Cell* prev, Cell* out, int maxX, const RowStates& states,
                                 const ContentionTable& table, OccupancyOut occupancy)
{
    const double* factors = table.SignedFactor;
    // The table is (MaxSpecies + 1)^2 entries long, so the first 32 can always be loaded.
    const __m512d t0 = _mm512_loadu_pd(factors);
    const __m512d t1 = _mm512_loadu_pd(factors + 8);
    const __m512d t2 = _mm512_loadu_pd(factors + 16);
    const __m512d t3 = _mm512_loadu_pd(factors + 24);
    const __m512i stride = _mm512_set1_epi64(table.Stride);
    const __m512i speciesPart = _mm512_set1_epi64(0xFFFFFFFFll);
    const __m512i sixteen = _mm512_set1_epi64(16);
    const __m512d one = _mm512_set1_pd(1.0);
    const __m512d twoTo32 = _mm512_set1_pd(4294967296.0);
    const __m256i bit30 = _mm256_set1_epi32(1 << 30);
    const __m256i bit31 = _mm256_set1_epi32(static_cast<int>(0x80000000u));
    const __m256i seed = _mm256_set1_epi32(static_cast<int>(states.Seed));
    int uniform = 0;
    int x = 1;
    for (; x + 7 <= maxX; x += 8) {
        const __m256i ns = StatesOfEight(states.NeighbourMul, states.NeighbourAdd, seed, x);
        const __m256i ds = StatesOfEight(states.DrawMul, states.DrawAdd, seed, x);
        // The neighbour: bit 30 of its state picks left/right versus below/above, bit 31 the
        // second of each pair (LandscapeGrid::NeighbourOffset).
        const __mmask8 second = _mm256_test_epi32_mask(ns, bit31);
        const __mmask8 vertical = _mm256_test_epi32_mask(ns, bit30);
        const __m512d first = _mm512_mask_blend_pd(vertical, LoadEight(prev + x - 1), LoadEight(prev + x + LandscapeGrid::Size));
        const __m512d other = _mm512_mask_blend_pd(vertical, LoadEight(prev + x + 1), LoadEight(prev + x - LandscapeGrid::Size));
        const __m512d n = _mm512_mask_blend_pd(second, first, other);
        const __m512d o = LoadEight(prev + x);
        const __m512i nBits = _mm512_castpd_si512(n);
        const __m512i oBits = _mm512_castpd_si512(o);
        // Species in the low half of each cell (the even 32-bit lanes), the growth rate in
        // the high half.
        const bool same = (_mm512_cmpeq_epi32_mask(nBits, oBits) & 0x5555) == 0x5555;
        uniform += same;
        if (SkipUniform && same) {
            StoreEight(out, x, oBits, occupancy, speciesPart);
            continue;
        }
        const __m512i index = _mm512_add_epi64(_mm512_mul_epu32(nBits, stride), _mm512_and_si512(oBits, speciesPart));
        __m512d signedFactor;
        if constexpr (How == Lookup::Pairs16) {
            signedFactor = _mm512_permutex2var_pd(t0, index, t1);
        } else if constexpr (How == Lookup::Pairs32) {
            signedFactor = _mm512_mask_blend_pd(_mm512_test_epi64_mask(index, sixteen),
                                                _mm512_permutex2var_pd(t0, index, t1),
                                                _mm512_permutex2var_pd(t2, index, t3));
        } else {
            signedFactor = _mm512_i64gather_pd(index, factors, 8);
        }
        // The invader's own rate where the factor is negative, else 1.0.
        const __m256 nRate = _mm256_castsi256_ps(_mm512_cvtepi64_epi32(_mm512_srli_epi64(nBits, 32)));
        const __mmask8 ownRate = _mm512_movepi64_mask(_mm512_castpd_si512(signedFactor));
        const __m512d rate = _mm512_mask_blend_pd(ownRate, one, _mm512_cvtps_pd(nRate));
        const __m256 prob = _mm512_cvtpd_ps(_mm512_mul_pd(_mm512_abs_pd(signedFactor), rate));
        const __m512d scaled = _mm512_mul_pd(_mm512_cvtps_pd(prob), twoTo32);
        const __mmask8 take = _mm512_cmp_pd_mask(_mm512_cvtepu32_pd(ds), scaled, _CMP_LT_OQ);
        StoreEight(out, x, _mm512_castpd_si512(_mm512_mask_blend_pd(take, o, n)), occupancy, speciesPart);
    }
    ContendFrom(prev, out, x, maxX, states, table);
    return uniform;
}

template <Lookup How>
QRL_TARGET_512 inline int Row512(const Cell* prev, Cell* out, int maxX, const RowStates& states,
                                 const ContentionTable& table, OccupancyOut occupancy, bool skipUniform)
{
    return skipUniform ? Row512<How, true>(prev, out, maxX, states, table, occupancy)
                       : Row512<How, false>(prev, out, maxX, states, table, occupancy);
}

} // namespace

QRL_TARGET_512 int ContentionRow512(const Cell* prev, Cell* out, int maxX, const RowStates& states,
                                    const ContentionTable& table, OccupancyOut occupancy, bool skipUniform)
{
    const int entries = table.Stride * table.Stride;
    if (entries <= 16)
        return Row512<Lookup::Pairs16>(prev, out, maxX, states, table, occupancy, skipUniform);
    if (entries <= 32)
        return Row512<Lookup::Pairs32>(prev, out, maxX, states, table, occupancy, skipUniform);
    return Row512<Lookup::Gather>(prev, out, maxX, states, table, occupancy, skipUniform);
}

QRL_END_512_INTRINSICS

#else

int ContentionRow512(const Cell* prev, Cell* out, int maxX, const RowStates& states, const ContentionTable& table,
                     OccupancyOut occupancy, bool)
{
    ContendFrom(prev, out, 1, maxX, states, table);
    for (int x = 1; occupancy.Bits != nullptr && x + 7 <= maxX; x += 8) {
        unsigned byte = 0;
        for (int i = 0; i < 8; ++i) {
            byte |= unsigned(out[x + i].Species != 0) << i;
            if (occupancy.Species != nullptr)
                occupancy.Species[x + i] = static_cast<uint8_t>(out[x + i].Species);
        }
        occupancy.Bits[(x - 1) >> 3] = static_cast<uint8_t>(byte);
    }
    return 0;
}

int ContentionRowWide(const Cell* prev, Cell* out, int maxX, const uint32_t* neighbourStates,
                      const uint32_t* drawStates, const ContentionTable& table, bool)
{
    ContentionRowPortable(prev, out, maxX, neighbourStates, drawStates, table);
    return 0;
}

#endif

} // namespace quorrel
