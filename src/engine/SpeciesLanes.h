#pragma once

// The species of eight cells in one 256-bit vector. Included only where 256-bit
// instructions are compiled for (functions marked for them).
#include "engine/Cell.h"

#include <immintrin.h>

namespace quorrel {

// The species of cells c[0]..c[7], in order, in the eight 32-bit lanes: the even lanes of
// both loads (s0 s1 s4 s5 | s2 s3 s6 s7), put in order.
__attribute__((target("avx2"))) inline __m256i SpeciesOfEight(const Cell* c)
{
    const __m256 low = _mm256_loadu_ps(reinterpret_cast<const float*>(c));
    const __m256 high = _mm256_loadu_ps(reinterpret_cast<const float*>(c + 4));
    const __m256i mixed = _mm256_castps_si256(_mm256_shuffle_ps(low, high, _MM_SHUFFLE(2, 0, 2, 0)));
    return _mm256_permute4x64_epi64(mixed, _MM_SHUFFLE(3, 1, 2, 0));
}

} // namespace quorrel
