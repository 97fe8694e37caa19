#pragma once

#include "engine/LandscapeGrid.h"
#include "output/FrequentCells.h"
#include "params/ParameterSet.h"

#include <array>
#include <cstdint>

namespace quorrel {

// The growth-rate tallies of one landscape by species, taken in one pass over its cells for
// the statistics and the frequency-time plot of growth rates to read: for each species
// 0..MaxSpecies the cells at each whole percentage of their rate (trunc(GRate x 100) of the
// single-precision product, clamped to 0..100, as both of them take it) and the sum of their
// rates as a whole number of RateUnit.
//
// The counts hold when InRange(): every cell's rate is in [0, 2) (not minus zero); the
// class of such a rate is that of its whole percentage (see FreqTimePlot). The sums hold
// when also Exact(): every rate is zero or at least 2^-10. Such a rate is a whole multiple
// of 2^-33 below 2^34 units, so a landscape's sum stays below 2^53 units and no partial sum
// of it rounds in double: the sum is then that of any double sum of the same rates in any
// order. Other tallies are to be left to the literal passes.
class LandscapeTally {
public:
    static constexpr int Percents = 101;
    static constexpr double RateUnit = 0x1p-33;

    LandscapeTally();

    // Off: every cell is tallied one by one, as the 256-bit and 512-bit kernels would (tests
    // compare them).
    void UseWideKernel(bool on);

    // Tallies the interior cells (1..maxX, 1..maxY) of the landscape. Cells of a species
    // outside 0..MaxSpecies are left out (their rates count for InRange() and Exact()).
    void Take(const LandscapeGrid& landscape, int maxX, int maxY);

    bool InRange() const { return inRange_; }
    bool Exact() const { return exact_; }
    int64_t Cells(int s) const { return cells_[s]; }
    int32_t AtPercent(int s, int percent) const { return counts_[0][s][percent]; }
    // The sum of the rates of species s in RateUnit.
    int64_t RateUnits(int s) const { return units_[0][s]; }
    // When Exact(): a power of two, RateUnit or more, of which every rate of the landscape is a
    // whole multiple (the spacing of the single-precision numbers at its least rate other than
    // zero), so that sums of its rates are exact in double as long as they stay below 2^53 of
    // it. 1 when every rate is zero.
    double Unit() const;

private:
    // Four copies of every tally, taken by cells in turn, so that neighbouring cells of one
    // species and percentage do not wait on each other's sums; merged into copy 0 at the end.
    // Row MaxSpecies + 1 takes the cells of species outside 0..MaxSpecies.
    // Slots 101.. take the products of 101 and more, and (the last) the negative ones.
    static constexpr int Rows = MaxSpecies + 2;
    static constexpr uint32_t Slots = 256;
    static constexpr int Copies = 4;
    std::array<std::array<std::array<int32_t, Slots>, Rows>, Copies> counts_{};
    std::array<std::array<int64_t, Rows>, Copies> units_{};
    SpeciesTable<int64_t> cells_{};
    FrequentCells frequent_;
    // The cells of a row that the frequent cells leave to be tallied one by one.
    std::array<Cell, LandscapeGrid::Size + 4> rest_;
    // The slot (row << 8 | percentage) and the units of each cell of a row, of the 512-bit pass.
    std::array<uint32_t, LandscapeGrid::Size + 4> slots_;
    std::array<int64_t, LandscapeGrid::Size + 4> cellUnits_;
    bool available_;
    bool available512_;
    bool wide_;
    bool wide512_;
    bool inRange_ = false;
    bool exact_ = false;
    uint32_t leastBits_ = 0; // the bit pattern of the least rate other than zero, 0 when none
    // The rows 0..MaxSpecies that the last landscape can have filled (those up to its
    // highest species), and whether it filled the row of the other species.
    uint32_t rowsUsed_ = Rows - 1;
    bool outsideUsed_ = true;
};

} // namespace quorrel
