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

#else

int ContentionRowWide(const Cell* prev, Cell* out, int maxX, const uint32_t* neighbourStates,
                      const uint32_t* drawStates, const ContentionTable& table, bool)
{
    ContentionRowPortable(prev, out, maxX, neighbourStates, drawStates, table);
    return 0;
}

#endif

} // namespace quorrel
