#pragma once

#include "engine/Cell.h"
#include "engine/LargePageAllocator.h"

#include <cstddef>
#include <vector>

namespace quorrel {

// A 702 x 702 grid of cells: the interior rows 1..MaxY and columns 1..MaxX of the
// largest landscape (700 x 700) with a one-cell border ring around it.
// Positions are (x, y): x the column from the left, y the row from the top.
class LandscapeGrid {
public:
    static constexpr int Size = 702;
    // Cell offsets of the neighbours of a cell within the grid: 0 left, 1 below, 2 right,
    // 3 above.
    static constexpr std::ptrdiff_t NeighbourOffset[4] = {-1, Size, 1, -Size};

    LandscapeGrid() : cells_(Size * Size) {}

    Cell& operator()(int x, int y) { return cells_[y * Size + x]; }
    const Cell& operator()(int x, int y) const { return cells_[y * Size + x]; }

    // Row y as a flat array indexed by column.
    Cell* Row(int y) { return &cells_[y * Size]; }
    const Cell* Row(int y) const { return &cells_[y * Size]; }

private:
    std::vector<Cell, LargePageAllocator<Cell>> cells_;
};

} // namespace quorrel
