#include "output/DistinctCells.h"

#include "engine/WideKernel.h"

#include <algorithm>
#include <bit>

namespace quorrel {

namespace {

#ifdef QRL_WIDE_KERNEL

// Counts the four-cell groups from x on, for as long as every cell of a group is one of the
// table's K values; returns the x of the first group that is not (or that would pass maxX).
template <int K>
__attribute__((target("avx2"))) int CountGroups(const Cell* cells, int x, int maxX, const uint64_t* values,
                                                int64_t* numbers)
{
    __m256i value[K];
    __m256i number[K];
    for (int k = 0; k < K; ++k) {
        value[k] = _mm256_set1_epi64x(static_cast<long long>(values[k]));
        number[k] = _mm256_setzero_si256();
    }
    const __m256i all = _mm256_set1_epi64x(-1);
    for (; x + 3 <= maxX; x += 4) {
        const __m256i group = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(cells + x));
        __m256i any = _mm256_setzero_si256();
        __m256i equal[K];
        for (int k = 0; k < K; ++k) {
            equal[k] = _mm256_cmpeq_epi64(group, value[k]);
            any = _mm256_or_si256(any, equal[k]);
        }
        if (!_mm256_testc_si256(any, all))
            break;
        // A match is all ones: minus one.
        for (int k = 0; k < K; ++k)
            number[k] = _mm256_sub_epi64(number[k], equal[k]);
    }
    for (int k = 0; k < K; ++k) {
        alignas(32) int64_t lanes[4];
        _mm256_store_si256(reinterpret_cast<__m256i*>(lanes), number[k]);
        numbers[k] += lanes[0] + lanes[1] + lanes[2] + lanes[3];
    }
    return x;
}

int CountGroupsOf(int k, const Cell* cells, int x, int maxX, const uint64_t* values, int64_t* numbers)
{
    switch (k) {
    case 1: return CountGroups<1>(cells, x, maxX, values, numbers);
    case 2: return CountGroups<2>(cells, x, maxX, values, numbers);
    case 3: return CountGroups<3>(cells, x, maxX, values, numbers);
    case 4: return CountGroups<4>(cells, x, maxX, values, numbers);
    case 5: return CountGroups<5>(cells, x, maxX, values, numbers);
    case 6: return CountGroups<6>(cells, x, maxX, values, numbers);
    case 7: return CountGroups<7>(cells, x, maxX, values, numbers);
    case 8: return CountGroups<8>(cells, x, maxX, values, numbers);
    default: return x;
    }
}
static_assert(DistinctCells::Capacity == 8);

#endif

} // namespace

Cell DistinctCells::At(int i) const { return std::bit_cast<Cell>(values_[i]); }

int DistinctCells::Find(uint64_t value)
{
    for (int i = 0; i < size_; ++i)
        if (values_[i] == value)
            return i;
    if (size_ == Capacity)
        return -1;
    values_[size_] = value;
    numbers_[size_] = 0;
    return size_++;
}

int DistinctCells::CountRow(const Cell* cells, int x, int maxX)
{
    while (x <= maxX) {
#ifdef QRL_WIDE_KERNEL
        if (size_ > 0)
            x = CountGroupsOf(size_, cells, x, maxX, values_.data(), numbers_.data());
#endif
        // A group with a value new to the table, or the row's last cells: cell by cell.
        for (const int end = std::min(x + 4, maxX + 1); x < end; ++x) {
            const int i = Find(std::bit_cast<uint64_t>(cells[x]));
            if (i < 0)
                return x;
            ++numbers_[i];
        }
    }
    return x;
}

DistinctCells::Stop DistinctCells::Count(const LandscapeGrid& landscape, int maxX, int maxY)
{
    size_ = 0;
    for (int y = 1; y <= maxY; ++y) {
        const int x = CountRow(landscape.Row(y), 1, maxX);
        if (x <= maxX)
            return {x, y};
    }
    return {1, maxY + 1};
}

} // namespace quorrel
