#pragma once

#include "engine/Cell.h"
#include "params/ParameterSet.h"

#include <array>
#include <cstdint>

namespace quorrel {

// The search of a pass for its next event: the next draw, of a stretch of draws taken in
// order, that falls below its bound (RandomReal() < p, the bound DrawThreshold(p)). Most
// draws of mortality, disturbance and recruitment start nothing, so instead of stepping the
// generator draw by draw the states of the next eight draws are read off jump-ahead
// coefficients at once and compared together; only a group with a draw below the largest
// bound is looked at draw by draw. The generator state moves by one multiply-add per group.
class DrawScan {
public:
    // Which cells of a row take a draw.
    enum class Drawers { Occupied, Empty };

    DrawScan();

    // The cells that draw and the bound of each species' draw (DrawThreshold; entry 0 for
    // empty cells).
    void Prepare(Drawers drawers, const std::array<uint64_t, MaxSpecies + 1>& thresholds);

    // The plain loops even where the vector ones could run (for tests and benchmarks).
    void UseWideKernel(bool on);

    // Cells x..maxX of a row, seed the state before the next draw: the first cell whose
    // draw falls below its species' bound, seed then the state of that draw; maxX + 1 when
    // there is none, seed then the state after the last draw of the row.
    int NextInRow(const Cell* row, int x, int maxX, uint32_t& seed) const;

    // The same for cells that draw when occupied, read off the row's occupancy bits and
    // species bytes (OccupancyBits::Row, SpeciesRow); a species is read only where a draw
    // falls below the largest bound.
    int NextOccupied(const uint64_t* bits, const uint8_t* species, int x, int maxX, uint32_t& seed) const;

    // Of the next count draws, each against threshold: the first (0-based) below it, seed
    // then its state; count when there is none, seed then the state after the count draws.
    int NextBelow(int count, uint64_t threshold, uint32_t& seed) const;

private:
    int NextInRowPlain(const Cell* row, int x, int maxX, uint32_t& seed) const;
    int NextInRowWide(const Cell* row, int x, int maxX, uint32_t& seed) const;
    int NextBelowWide(int count, uint32_t threshold, uint32_t& seed) const;
    int NextOccupiedPlain(const uint64_t* bits, const uint8_t* species, int x, int maxX, uint32_t& seed) const;
    int NextOccupiedWide(const uint64_t* bits, const uint8_t* species, int x, int maxX, uint32_t& seed) const;
    static int NextBelowPlain(int count, uint32_t threshold, uint32_t& seed);

    std::array<uint64_t, MaxSpecies + 1> threshold_{};
    bool occupiedDraw_ = true;
    uint64_t bound_ = 0; // the largest bound of a cell that draws
    bool available_ = false;
    bool allowWide_ = true;
};

} // namespace quorrel
