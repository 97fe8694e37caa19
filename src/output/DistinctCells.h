#pragma once

#include "engine/Cell.h"
#include "engine/LandscapeGrid.h"

#include <array>
#include <cstdint>

namespace quorrel {

// The distinct cells (species and rate, bit for bit) of a landscape with their numbers, while
// there are at most Capacity of them: a landscape of fixed rates holds one per species
// present and the empty cell. Counted four cells at a time by comparing each whole cell with
// every one in the table, with no per-cell tally to update; only on the 256-bit kernels.
class DistinctCells {
public:
    static constexpr int Capacity = 8;

    // Where counting stopped: the first cell (x, y) not counted, at a cell that would have
    // been the table's Capacity + 1st, or (1, maxY + 1) when every interior cell is counted.
    struct Stop {
        int x;
        int y;
    };

    // Counts the interior cells (1..maxX, 1..maxY) in row order, starting afresh.
    Stop Count(const LandscapeGrid& landscape, int maxX, int maxY);

    int Size() const { return size_; }
    Cell At(int i) const;
    int64_t Number(int i) const { return numbers_[i]; }

private:
    // The table index of the cell's value, adding it while there is room; -1 when full.
    int Find(uint64_t value);
    int CountRow(const Cell* cells, int x, int maxX);

    std::array<uint64_t, Capacity> values_{};
    std::array<int64_t, Capacity> numbers_{};
    int size_ = 0;
};

} // namespace quorrel
