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

} // namespace

LandscapeTally::LandscapeTally() : available_(WideKernelAvailable()), wide_(available_) {}

void LandscapeTally::UseWideKernel(bool on) { wide_ = on && available_; }

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
        // One by one, four copies in turn.
        int x = 0;
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
