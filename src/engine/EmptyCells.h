#pragma once

#include "engine/Cell.h"
#include "engine/LandscapeGrid.h"
#include "engine/OccupancyBits.h"
#include "engine/UninitialisedArray.h"

#include <cstdint>

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
    // Lists the empty cells of rows 1..maxY of grid (outside a step that lists them).
    void List(const LandscapeGrid& grid, int maxX, int maxY);
    // The same read off the occupancy bits of columns 1..maxX of rows 1..maxY.
    void List(const OccupancyBits& bits, int maxX, int maxY);

    int Count() const { return count_; }
    int32_t operator[](int i) const { return cells_[static_cast<std::size_t>(i)]; }

    // The portable row even where the vector one could run (for tests).
    void UseWideKernel(bool on);

private:
    void AppendRowWide(const Cell* row, int maxX, int y);
    // rowWords: the words of each row that hold columns 1..maxX.
    void ListWide(const OccupancyBits& bits, int rowWords, int maxY);
    void ListPlain(const OccupancyBits& bits, int rowWords, int maxY);

    UninitialisedArray<int32_t> cells_;
    int count_ = 0;
    bool wide_ = false;
};

// Calls visit(x, y) for each empty interior cell of grid in row order, from the list when
// one is given, otherwise by scanning the grid, until visit returns false. Returns whether
// every cell was visited. visit may fill the cell it visits, and no other.
template <class Visit>
bool ForEachEmptyCell(const LandscapeGrid& grid, int maxX, int maxY, const EmptyCells* list, Visit&& visit)
{
    if (list != nullptr) {
        for (int i = 0; i < list->Count(); ++i) {
            const int32_t at = (*list)[i];
            if (!visit(at % EmptyCells::Pack, at / EmptyCells::Pack))
                return false;
        }
        return true;
    }
    for (int y = 1; y <= maxY; ++y) {
        const Cell* row = grid.Row(y);
        for (int x = 1; x <= maxX; ++x)
            if (row[x].Species == 0 && !visit(x, y))
                return false;
    }
    return true;
}

} // namespace quorrel
