#include "output/CellTally512.h"

#include "engine/WideKernel.h"

#include <algorithm>
#include <bit>

namespace quorrel {

bool TallyCells512Available()
{
#ifdef QRL_WIDE_KERNEL
    __builtin_cpu_init();
    return Kernel512Available() && __builtin_cpu_supports("avx512cd") && __builtin_cpu_supports("avx512vpopcntdq");
#else
    return false;
#endif
}

#ifdef QRL_WIDE_KERNEL

QRL_BEGIN_512_INTRINSICS

// The cells of a row sixteen at a time. The cells counted among them are keyed by record (and
// by record and species, to find two species of one record among them); the others get keys
// of their own that no record has. The conflict masks then give, per record, the count of its
// cells and its last lane, which alone reads and writes its tally: the tallies written by one
// group lie apart. The blocks flagged are those from the least record counted to the largest,
// which take every tally written (and may take blocks that hold none).
__attribute__((target("avx2,avx512f,avx512dq,avx512bw,avx512vl,avx512cd,avx512vpopcntdq"))) bool
TallyCells512(const LandscapeGrid& landscape, const GenotypeGrid& genotypes, int maxX, int maxY, uint32_t n,
              const CellTallies& into, uint64_t& speciesMet)
{
    const __m512i zero = _mm512_setzero_si512();
    const __m512i one = _mm512_set1_epi32(1);
    const __m512i below = _mm512_set1_epi32(static_cast<int>(n));
    // Species field 63 for the cells not counted.
    const __m512i ownKeys = _mm512_or_si512(_mm512_set1_epi32(static_cast<int>(0xFC000000u)),
                                            _mm512_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15));
    const __m512i reverse = _mm512_setr_epi32(15, 14, 13, 12, 11, 10, 9, 8, 7, 6, 5, 4, 3, 2, 1, 0);
    const __m512i evens = _mm512_setr_epi32(0, 2, 4, 6, 8, 10, 12, 14, 16, 18, 20, 22, 24, 26, 28, 30);
    const __m128i shift = _mm_cvtsi32_si128(into.shift);
    const __m512i unset = _mm512_set1_epi32(static_cast<int>(GenotypePool::UnsetRecord));
    int* const tally = reinterpret_cast<int*>(into.tally);
    uint8_t* const blocks = into.blocks;
    const uint32_t blockSize = into.blockSize;
    __m512i metLow = zero;
    __m512i metHigh = zero;
    // The least and the largest record counted, per lane.
    __m512i least = _mm512_set1_epi32(-1);
    __m512i most = zero;
    bool clash = false;
    constexpr int Ahead = 32;
    for (int y = 1; y <= maxY && !clash; ++y) {
        const Cell* row = landscape.Row(y) + 1;
        const uint32_t* ids = genotypes.IdRow(y) + 1;
        for (int x = 0; x < maxX; x += 16) {
            // The tallies of the cells two groups further along the row are fetched meanwhile.
            for (int i = 0; i < 16; ++i)
                __builtin_prefetch(tally + ids[std::min(x + Ahead + i, maxX)], 1);
            // Whole groups by plain loads; a row's last cells by masked ones.
            const int left = maxX - x;
            __mmask16 valid = 0xFFFF;
            __m512i low, high, id;
            if (left >= 16) {
                low = _mm512_loadu_si512(row + x);
                high = _mm512_loadu_si512(row + x + 8);
                id = _mm512_loadu_si512(ids + x);
            } else {
                valid = static_cast<__mmask16>((1u << left) - 1);
                low = _mm512_maskz_loadu_epi64(static_cast<__mmask8>(valid), row + x);
                high = _mm512_maskz_loadu_epi64(static_cast<__mmask8>(valid >> 8), row + x + 8);
                id = _mm512_maskz_loadu_epi32(valid, ids + x);
            }
            const __m512i s = _mm512_permutex2var_epi32(low, evens, high);
            const __mmask16 species = _mm512_mask_cmplt_epu32_mask(valid, _mm512_sub_epi32(s, one), below);
            // Bit s of the species met, in two halves; bit 0 for the other cells.
            const __m512i met = _mm512_maskz_mov_epi32(species, s);
            metLow = _mm512_mask_or_epi32(metLow, valid, metLow, _mm512_sllv_epi32(one, met));
            metHigh = _mm512_mask_or_epi32(metHigh, valid, metHigh,
                                           _mm512_sllv_epi32(one, _mm512_sub_epi32(met, _mm512_set1_epi32(32))));
            const __mmask16 counted = _mm512_mask_cmpneq_epi32_mask(species, id, unset);
            if (counted == 0)
                continue;
            const __m512i key = _mm512_mask_mov_epi32(ownKeys, counted, id);
            const __m512i speciesBits = _mm512_sll_epi32(s, shift);
            const __m512i earlier = _mm512_conflict_epi32(key);
            const __m512i earlierOfSpecies =
                _mm512_conflict_epi32(_mm512_mask_or_epi32(ownKeys, counted, id, speciesBits));
            if (_mm512_mask_cmpneq_epi32_mask(counted, earlier, earlierOfSpecies) != 0) {
                clash = true;
                break;
            }
            // The lanes after each with its key: its conflicts in reverse order.
            const __m512i later =
                _mm512_permutexvar_epi32(reverse, _mm512_conflict_epi32(_mm512_permutexvar_epi32(reverse, key)));
            const __mmask16 last = _mm512_mask_testn_epi32_mask(counted, later, later);
            const __m512i before = _mm512_mask_i32gather_epi32(zero, last, key, tally, 4);
            const __m512i held = _mm512_srl_epi32(before, shift);
            if (_mm512_mask_cmpneq_epi32_mask(_mm512_mask_test_epi32_mask(last, held, held), held, s) != 0) {
                clash = true;
                break;
            }
            const __m512i cells = _mm512_add_epi32(_mm512_popcnt_epi32(earlier), one);
            const __m512i after = _mm512_or_si512(_mm512_add_epi32(before, cells), speciesBits);
            _mm512_mask_i32scatter_epi32(tally, last, key, after, 4);
            least = _mm512_mask_min_epu32(least, last, least, key);
            most = _mm512_mask_max_epu32(most, last, most, key);
        }
    }
    // Every block from that of the least record to that of the largest.
    const uint32_t from = _mm512_reduce_min_epu32(least);
    const uint32_t to = _mm512_reduce_max_epu32(most);
    for (uint32_t b = from / blockSize; from <= to && b <= to / blockSize; ++b)
        blocks[b] = 1;
    alignas(64) uint32_t halves[2][16];
    _mm512_store_si512(halves[0], metLow);
    _mm512_store_si512(halves[1], metHigh);
    for (int lane = 0; lane < 16; ++lane)
        speciesMet |= uint64_t(halves[0][lane]) | uint64_t(halves[1][lane]) << 32;
    return !clash;
}

QRL_END_512_INTRINSICS

#else

bool TallyCells512(const LandscapeGrid&, const GenotypeGrid&, int, int, uint32_t, const CellTallies&, uint64_t&)
{
    return false;
}

#endif

} // namespace quorrel
