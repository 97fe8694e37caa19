#include "output/LandscapeTally.h"

#include "engine/WideKernel.h"

#include <algorithm>
#include <bit>
#include <cmath>

namespace quorrel {

namespace {

constexpr uint32_t Outside = MaxSpecies + 1;
// The bit patterns of 2^-10 and 2.
constexpr uint32_t LowestRate = 0x3A800000u;
constexpr uint32_t RateBound = 0x40000000u;

#ifdef QRL_WIDE_KERNEL

QRL_BEGIN_512_INTRINSICS

// Tallies the first n cells (a multiple of 16) into counts[row][slot] and units[row] as the
// one-by-one form does: the slot and the units of sixteen cells at a time in wide lanes, then
// only the two sums added one by one. One copy of the tallies suffices: cells of varying rates
// seldom share a slot with the cell before them, and the few tallies stay in the nearest cache.
// least, largest and highest take the cells' extremes as the one-by-one form takes them. slots
// and cellUnits have room for n.
QRL_TARGET_512 void AddCells512(const Cell* cells, int n, int32_t* counts, int64_t* units, uint32_t* slots,
                                int64_t* cellUnits, uint32_t slotsPerRow, uint32_t& least, uint32_t& largest,
                                uint32_t& highest)
{
    const __m512i evens = _mm512_setr_epi32(0, 2, 4, 6, 8, 10, 12, 14, 16, 18, 20, 22, 24, 26, 28, 30);
    const __m512i odds = _mm512_setr_epi32(1, 3, 5, 7, 9, 11, 13, 15, 17, 19, 21, 23, 25, 27, 29, 31);
    const __m512i outside = _mm512_set1_epi32(static_cast<int>(Outside));
    const __m512i lastSlot = _mm512_set1_epi32(static_cast<int>(slotsPerRow - 1));
    const __m512i bound = _mm512_set1_epi32(static_cast<int>(RateBound));
    const __m512i one = _mm512_set1_epi32(1);
    const __m512 hundred = _mm512_set1_ps(100.0f);
    const __m512 toUnits = _mm512_set1_ps(0x1p33f);
    const int shift = std::countr_zero(slotsPerRow);
    // Per lane: the least bit pattern less one, the largest bit pattern and the highest row.
    __m512i leastLanes = _mm512_set1_epi32(-1);
    __m512i largestLanes = _mm512_setzero_si512();
    __m512i highestLanes = _mm512_setzero_si512();
    for (int x = 0; x < n; x += 16) {
        const __m512i low = _mm512_loadu_si512(cells + x);
        const __m512i high = _mm512_loadu_si512(cells + x + 8);
        const __m512i species = _mm512_permutex2var_epi32(low, evens, high);
        const __m512i bits = _mm512_permutex2var_epi32(low, odds, high);
        const __m512 rate = _mm512_castsi512_ps(bits);
        // Species outside 0..MaxSpecies (negative ones too) take the row after them.
        const __m512i row = _mm512_min_epu32(species, outside);
        // A product out of range converts to 0x80000000, as a single conversion does: the
        // last slot.
        const __m512i percent = _mm512_min_epu32(_mm512_cvttps_epi32(_mm512_mul_ps(rate, hundred)), lastSlot);
        _mm512_storeu_si512(slots + x, _mm512_or_si512(_mm512_slli_epi32(row, shift), percent));
        leastLanes = _mm512_min_epu32(leastLanes, _mm512_sub_epi32(bits, one));
        largestLanes = _mm512_max_epu32(largestLanes, bits);
        highestLanes = _mm512_max_epu32(highestLanes, row);
        const __m512 bounded = _mm512_maskz_mov_ps(_mm512_cmplt_epu32_mask(bits, bound), rate);
        const __m512 product = _mm512_mul_ps(bounded, toUnits);
        _mm512_storeu_si512(cellUnits + x, _mm512_cvttps_epi64(_mm512_castps512_ps256(product)));
        _mm512_storeu_si512(cellUnits + x + 8, _mm512_cvttps_epi64(_mm512_extractf32x8_ps(product, 1)));
    }
    least = std::min(least, _mm512_reduce_min_epu32(leastLanes));
    largest = std::max(largest, _mm512_reduce_max_epu32(largestLanes));
    highest = std::max(highest, _mm512_reduce_max_epu32(highestLanes));
    for (int x = 0; x < n; ++x) {
        const uint32_t slot = slots[x];
        counts[slot] += 1;
        units[slot >> shift] += cellUnits[x];
    }
}

QRL_END_512_INTRINSICS

#endif

} // namespace

LandscapeTally::LandscapeTally()
    : available_(WideKernelAvailable()), available512_(available_ && Kernel512Available()), wide_(available_),
      wide512_(available512_)
{
}

void LandscapeTally::UseWideKernel(bool on)
{
    wide_ = on && available_;
    wide512_ = on && available512_;
}

void LandscapeTally::Take(const LandscapeGrid& landscape, int maxX, int maxY)
{
    // Only the rows the last landscape filled hold anything.
    for (uint32_t row = 0; row < Rows; ++row) {
        if (row >= rowsUsed_ && (row != Outside || !outsideUsed_))
            continue;
        for (int copy = 0; copy < Copies; ++copy) {
            counts_[copy][row].fill(0);
            units_[copy][row] = 0;
        }
        if (row <= MaxSpecies)
            cells_[row] = 0;
    }
    uint32_t highest = 0;
    // The least bit pattern less one (zero the largest) and the largest bit pattern of the
    // rates: every rate is zero or in [2^-10, 2) if the first is at least LowestRate - 1 and
    // the second below RateBound (no negative rate, not even minus zero); the second alone
    // puts every rate in [0, 2).
    uint32_t least = ~0u;
    uint32_t largest = 0;
    // A number of cells of one value at a time; returns the cells' row. No branch: the
    // cells of a landscape mix their species and rates at random.
    auto add = [&](const Cell& cell, int copy, int64_t number) {
        const uint32_t species = static_cast<uint32_t>(cell.Species);
        const uint32_t row = species <= MaxSpecies ? species : Outside;
        const float rate = cell.GRate;
        // Negative and huge products go to the last slot, which only inexact tallies fill.
        const uint32_t percent = std::min(static_cast<uint32_t>(static_cast<int>(rate * 100.0f)), Slots - 1);
        counts_[copy][row][percent] += static_cast<int32_t>(number);
        const uint32_t bits = std::bit_cast<uint32_t>(rate);
        least = std::min(least, bits - 1u);
        largest = std::max(largest, bits);
        // Exact for the rates in [0, 2): a power-of-two product and a whole number below
        // 2^34. The others count for nothing (their tallies are not exact) but a defined
        // conversion.
        const float bounded = bits < RateBound ? rate : 0.0f;
        units_[copy][row] += number * static_cast<int64_t>(bounded * 0x1p33f);
        return row;
    };
    if (wide_)
        frequent_.Choose(landscape, maxX, maxY);
    const bool byValue = wide_ && frequent_.Size() > 0;
    for (int y = 1; y <= maxY; ++y) {
        // The frequent cells are counted by value, and the others tallied from where they were
        // written; without frequent cells, every cell of the row.
        const Cell* cells = landscape.Row(y) + 1;
        int end = maxX;
        if (byValue) {
            end = frequent_.CountRow(landscape.Row(y), maxX, rest_.data());
            cells = rest_.data();
        }
        int x = 0;
#ifdef QRL_WIDE_KERNEL
        if (wide512_) {
            x = end / 16 * 16;
            AddCells512(cells, x, &counts_[0][0][0], units_[0].data(), slots_.data(), cellUnits_.data(), Slots, least,
                        largest, highest);
        }
#endif
        // One by one, four copies in turn.
        for (; x + 4 <= end; x += 4) {
            const uint32_t pair = std::max(add(cells[x], 0, 1), add(cells[x + 1], 1, 1));
            highest = std::max(highest, std::max(pair, std::max(add(cells[x + 2], 2, 1), add(cells[x + 3], 3, 1))));
        }
        for (; x < end; ++x)
            highest = std::max(highest, add(cells[x], 0, 1));
    }
    for (int i = 0; byValue && i < frequent_.Size(); ++i)
        if (frequent_.Number(i) > 0)
            highest = std::max(highest, add(frequent_.At(i), 0, frequent_.Number(i)));
    inRange_ = largest < RateBound;
    exact_ = inRange_ && least >= LowestRate - 1;
    leastBits_ = least + 1u; // 0 when every rate is zero
    outsideUsed_ = highest == Outside;
    rowsUsed_ = outsideUsed_ ? Rows - 1 : highest + 1;
    for (uint32_t s = 0; s < rowsUsed_; ++s) {
        int64_t cells = 0;
        for (uint32_t p = 0; p < Slots; ++p) {
            counts_[0][s][p] += counts_[1][s][p] + counts_[2][s][p] + counts_[3][s][p];
            cells += counts_[0][s][p];
        }
        // Whole percentages of 100 and more are 100.
        for (uint32_t p = Percents; p < Slots; ++p)
            counts_[0][s][Percents - 1] += counts_[0][s][p];
        cells_[s] = cells;
        units_[0][s] += units_[1][s] + units_[2][s] + units_[3][s];
    }
}

double LandscapeTally::Unit() const
{
    if (leastBits_ == 0)
        return 1.0;
    // A normal number with exponent field e is a whole multiple of 2^(e - 150), and so is every
    // larger one. Exact() holds it at 2^-10 or more, so the spacing is at least RateUnit.
    const int exponent = static_cast<int>(leastBits_ >> 23) - 150;
    return std::ldexp(1.0, std::max(exponent, -33));
}

} // namespace quorrel
