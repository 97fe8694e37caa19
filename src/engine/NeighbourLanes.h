#pragma once

// Vector helpers of the contention kernels: four cells as four 64-bit lanes (species in
// the low half, growth rate in the high half). Included only where 256-bit instructions
// are compiled for (functions marked for them).
#include "engine/Cell.h"
#include "engine/LandscapeGrid.h"

#include <immintrin.h>

namespace quorrel {

__attribute__((target("avx2"))) inline __m256d LoadCells(const Cell* c)
{
    return _mm256_loadu_pd(reinterpret_cast<const double*>(c));
}

// The neighbours of cells x..x+3 of a row of a landscape grid, chosen by the top two bits
// of their neighbour states ns: bit 30 picks left/right versus below/above, bit 31 the
// second of each pair.
__attribute__((target("avx2"))) inline __m256d NeighbourCells(const Cell* row, int x, __m128i ns)
{
    const __m256d bit30 = _mm256_castsi256_pd(_mm256_cvtepi32_epi64(_mm_slli_epi32(ns, 1)));
    const __m256d bit31 = _mm256_castsi256_pd(_mm256_cvtepi32_epi64(ns));
    const __m256d first = _mm256_blendv_pd(LoadCells(row + x - 1), LoadCells(row + x + LandscapeGrid::Size), bit30);
    const __m256d second = _mm256_blendv_pd(LoadCells(row + x + 1), LoadCells(row + x - LandscapeGrid::Size), bit30);
    return _mm256_blendv_pd(first, second, bit31);
}

} // namespace quorrel
