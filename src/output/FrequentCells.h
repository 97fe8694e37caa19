#pragma once

#include "engine/Cell.h"
#include "engine/LandscapeGrid.h"

#include <array>
#include <cstdint>

namespace quorrel {

// The frequent cells (species and rate, bit for bit) of a landscape with their numbers, counted
// four cells at a time by comparing each whole cell with a table of at most Capacity values,
// with no per-cell tally to update. A landscape of fixed rates holds one distinct cell per
// species present and the empty cell; where some species' rates vary, the cells of the others
// are still few values. The cells not in the table are handed back to be tallied one by one.
// Only on the 256-bit kernels.
class FrequentCells {
public:
    static constexpr int Capacity = 8;

    // Takes as the table the frequent values of the landscape's interior (1..maxX, 1..maxY),
    // the most frequent first: those that at least two cells of a sample spread over it have
    // (of a small landscape, every cell), and every value of the sample when they all fit.
    // The numbers start at zero.
    void Choose(const LandscapeGrid& landscape, int maxX, int maxY);

    int Size() const { return size_; }
    Cell At(int i) const;
    int64_t Number(int i) const { return numbers_[i]; }

    // Counts the cells 1..maxX of a row that are in the table; writes the others to rest (room
    // for maxX + 3 cells) in their order and returns their number.
    int CountRow(const Cell* cells, int maxX, Cell* rest);

private:
    std::array<uint64_t, Capacity> values_{};
    std::array<int64_t, Capacity> numbers_{};
    int size_ = 0;
    // Whether the sample held cells not in the table.
    bool mixed_ = false;
};

} // namespace quorrel
