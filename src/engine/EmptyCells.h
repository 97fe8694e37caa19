#pragma once

#include "engine/Cell.h"

#include <cstdint>
#include <vector>

namespace quorrel {

// The empty interior cells of a landscape in row order, listed a row at a time by a step
// that has the row at hand, so that a later pass over the empty cells need not scan the
// whole landscape. Positions are packed as y * Pack + x.
class EmptyCells {
public:
    static constexpr int32_t Pack = 1024;

    EmptyCells();

    // Room for a landscape of the given number of cells (outside generations).
    void Reserve(int cells);
    void Clear() { count_ = 0; }
    // Appends the empty cells 1..maxX of row y; the list must have been reserved for the
    // landscape.
    void AppendRow(const Cell* row, int maxX, int y);

    int Count() const { return count_; }
    int32_t operator[](int i) const { return cells_[static_cast<std::size_t>(i)]; }

    // The portable row even where the vector one could run (for tests).
    void UseWideKernel(bool on);

private:
    void AppendRowWide(const Cell* row, int maxX, int y);

    std::vector<int32_t> cells_;
    int count_ = 0;
    bool wide_ = false;
};

} // namespace quorrel
