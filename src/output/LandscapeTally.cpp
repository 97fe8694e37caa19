#include "output/LandscapeTally.h"

#include <algorithm>
#include <bit>

namespace quorrel {

namespace {

constexpr uint32_t Outside = MaxSpecies + 1;
// The bit patterns of 2^-10 and 2.
constexpr uint32_t LowestRate = 0x3A800000u;
constexpr uint32_t RateBound = 0x40000000u;

} // namespace

void LandscapeTally::Take(const LandscapeGrid& landscape, int maxX, int maxY)
{
    for (auto& copy : counts_)
        for (auto& row : copy)
            row.fill(0);
    for (auto& copy : units_)
        copy.fill(0);
    uint32_t outOfRange = 0;
    auto add = [&](const Cell& cell, int copy) {
        const uint32_t species = static_cast<uint32_t>(cell.Species);
        const uint32_t row = species <= MaxSpecies ? species : Outside;
        const float rate = cell.GRate;
        const int percent = std::clamp(static_cast<int>(rate * 100.0f), 0, Percents - 1);
        ++counts_[copy][row][percent];
        // Without branches: zeros and other rates alternate from cell to cell.
        const uint32_t bits = std::bit_cast<uint32_t>(rate);
        const uint32_t inRange =
            static_cast<uint32_t>((bits << 1) == 0) | static_cast<uint32_t>(bits - LowestRate < RateBound - LowestRate);
        // The rates of cells left out do not matter.
        outOfRange |= (inRange | static_cast<uint32_t>(row == Outside)) ^ 1u;
        // Exact: a power-of-two product and a whole number below 2^34 (zero out of range).
        const float kept = std::bit_cast<float>(bits & (0u - inRange));
        units_[copy][row] += static_cast<int64_t>(kept * 0x1p33f);
    };
    for (int y = 1; y <= maxY; ++y) {
        const Cell* cells = landscape.Row(y);
        int x = 1;
        for (; x < maxX; x += 2) {
            add(cells[x], 0);
            add(cells[x + 1], 1);
        }
        if (x == maxX)
            add(cells[x], 0);
    }
    for (int s = 0; s <= MaxSpecies; ++s) {
        int64_t cells = 0;
        for (int p = 0; p < Percents; ++p) {
            counts_[0][s][p] += counts_[1][s][p];
            cells += counts_[0][s][p];
        }
        cells_[s] = cells;
        units_[0][s] += units_[1][s];
    }
    exact_ = outOfRange == 0;
}

} // namespace quorrel
