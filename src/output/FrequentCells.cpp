#include "output/FrequentCells.h"

#include "engine/WideKernel.h"

#include <algorithm>
#include <bit>
#include <utility>

namespace quorrel {

namespace {

// The sample: cells of SampleRows rows spread over the landscape, SampleColumns spread over
// each; of the values met, the first Candidates are counted.
constexpr int SampleRows = 8;
constexpr int SampleColumns = 64;
constexpr int Candidates = 16;

#ifdef QRL_WIDE_KERNEL

// For each mask of the four cells of a group: the 32-bit lanes that gather the cells of the
// mask to the front, in their order, and the number of those cells.
struct Gather {
    alignas(32) int32_t lanes[16][8];
    int count[16];
};

constexpr Gather MakeGather()
{
    Gather g{};
    for (int mask = 0; mask < 16; ++mask) {
        int n = 0;
        for (int cell = 0; cell < 4; ++cell)
            if ((mask >> cell) & 1) {
                g.lanes[mask][2 * n] = 2 * cell;
                g.lanes[mask][2 * n + 1] = 2 * cell + 1;
                ++n;
            }
        g.count[mask] = n;
    }
    return g;
}

constexpr Gather Gathers = MakeGather();

// Counts the four-cell groups from x on against the table's K values, up to the row's last
// full group; the cells not in it go to rest, without a branch when they are Mixed in
// throughout. Returns the x after the groups.
template <int K, bool Mixed>
__attribute__((target("avx2"))) int CountGroups(const Cell* cells, int x, int maxX, const uint64_t* values,
                                                int64_t* numbers, Cell* rest, int& restSize)
{
    __m256i value[K];
    __m256i number[K];
    for (int k = 0; k < K; ++k) {
        value[k] = _mm256_set1_epi64x(static_cast<long long>(values[k]));
        number[k] = _mm256_setzero_si256();
    }
    int n = restSize;
    for (; x + 3 <= maxX; x += 4) {
        const __m256i group = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(cells + x));
        __m256i any = _mm256_setzero_si256();
        for (int k = 0; k < K; ++k) {
            const __m256i equal = _mm256_cmpeq_epi64(group, value[k]);
            any = _mm256_or_si256(any, equal);
            // A match is all ones: minus one.
            number[k] = _mm256_sub_epi64(number[k], equal);
        }
        const unsigned missing = ~static_cast<unsigned>(_mm256_movemask_pd(_mm256_castsi256_pd(any))) & 15u;
        if (!Mixed && missing == 0)
            continue;
        // The cells not in the table, gathered to the front, are written as a whole group;
        // only they move the end on.
        const __m256i lanes = _mm256_load_si256(reinterpret_cast<const __m256i*>(Gathers.lanes[missing]));
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(rest + n), _mm256_permutevar8x32_epi32(group, lanes));
        n += Gathers.count[missing];
    }
    for (int k = 0; k < K; ++k) {
        alignas(32) int64_t lanes[4];
        _mm256_store_si256(reinterpret_cast<__m256i*>(lanes), number[k]);
        numbers[k] += lanes[0] + lanes[1] + lanes[2] + lanes[3];
    }
    restSize = n;
    return x;
}

template <int K = 1>
int CountGroupsOf(int k, bool mixed, const Cell* cells, int x, int maxX, const uint64_t* values, int64_t* numbers,
                  Cell* rest, int& restSize)
{
    if (k == K)
        return mixed ? CountGroups<K, true>(cells, x, maxX, values, numbers, rest, restSize)
                     : CountGroups<K, false>(cells, x, maxX, values, numbers, rest, restSize);
    if constexpr (K < FrequentCells::Capacity)
        return CountGroupsOf<K + 1>(k, mixed, cells, x, maxX, values, numbers, rest, restSize);
    return x;
}

#endif

} // namespace

Cell FrequentCells::At(int i) const { return std::bit_cast<Cell>(values_[i]); }

void FrequentCells::Choose(const LandscapeGrid& landscape, int maxX, int maxY)
{
    std::array<std::pair<int, uint64_t>, Candidates> met{}; // (number, value)
    int kinds = 0;
    int sampled = 0;
    const int rows = std::min(maxY, SampleRows);
    const int columns = std::min(maxX, SampleColumns);
    for (int r = 0; r < rows; ++r) {
        const Cell* cells = landscape.Row(1 + r * maxY / rows);
        for (int c = 0; c < columns; ++c) {
            const uint64_t value = std::bit_cast<uint64_t>(cells[1 + c * maxX / columns]);
            ++sampled;
            int i = 0;
            while (i < kinds && met[i].second != value)
                ++i;
            if (i < kinds)
                ++met[i].first;
            else if (kinds < Candidates)
                met[kinds++] = {1, value};
        }
    }
    // The most frequent first; of equally frequent ones, the first met.
    std::stable_sort(met.begin(), met.begin() + kinds, [](const auto& a, const auto& b) { return a.first > b.first; });
    // Values met once are taken too when every value met fits the table: they cost a
    // comparison, where cells left over would cost a tally each.
    const bool all = kinds <= Capacity;
    size_ = 0;
    int inTable = 0;
    for (int i = 0; i < kinds && size_ < Capacity; ++i)
        if (met[i].first >= 2 || all) {
            values_[size_++] = met[i].second;
            inTable += met[i].first;
        }
    mixed_ = inTable < sampled;
    numbers_.fill(0);
}

int FrequentCells::CountRow(const Cell* cells, int maxX, Cell* rest)
{
    int restSize = 0;
    int x = 1;
#ifdef QRL_WIDE_KERNEL
    if (size_ > 0)
        x = CountGroupsOf(size_, mixed_, cells, x, maxX, values_.data(), numbers_.data(), rest, restSize);
#endif
    // The row's last cells, or every cell without the wide kernel.
    for (; x <= maxX; ++x) {
        const uint64_t value = std::bit_cast<uint64_t>(cells[x]);
        int i = 0;
        while (i < size_ && values_[i] != value)
            ++i;
        if (i < size_)
            ++numbers_[i];
        else
            rest[restSize++] = cells[x];
    }
    return restSize;
}

} // namespace quorrel
