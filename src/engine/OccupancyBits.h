#pragma once

#include "engine/Cell.h"
#include "engine/LandscapeGrid.h"
#include "engine/UninitialisedArray.h"
#include "params/ParameterSet.h"

#include <bit>
#include <cstddef>
#include <cstdint>

namespace quorrel {

// Whether each interior cell of a landscape is occupied, one bit a cell, and the species of
// each occupied cell, one byte a cell. Row y of the grid is RowWords words of bits, column x
// at bit x - 1; the bits beyond the last column are set, so that they never count as empty.
// The contention step builds them as it writes each row; the passes after it look for
// occupied cells (mortality's draws and patches, the parents of closed recruits) and empty
// ones (recruitment's draws) here, a sixty-fourth and an eighth of the landscape's size,
// which stay in the processor's cache, and only write the cells they change. Each pass that
// empties or fills cells keeps the bits up to date; the species byte of a cell is read
// only while its bit is set.
class OccupancyBits {
public:
    static_assert(MaxSpecies <= 255, "a species must fit in a byte");
    static constexpr int RowWords = 11;
    static_assert(RowWords * 64 >= LandscapeGrid::Size - 2, "a row of bits must hold every interior column");

    OccupancyBits();

    // Room for the largest landscape (outside generations).
    void Reserve();
    // The portable row even where the vector one could run (for tests).
    void UseWideKernel(bool on);

    // Row y from the cells 1..maxX of row.
    void BuildRow(const Cell* row, int maxX, int y);
    // Rows 1..maxY from grid.
    void Build(const LandscapeGrid& grid, int maxX, int maxY);

    bool Occupied(int x, int y) const { return (Word(x, y) >> Bit(x)) & 1u; }
    // The species of an occupied cell.
    int Species(int x, int y) const { return species_[std::size_t(y) * LandscapeGrid::Size + std::size_t(x)]; }
    const uint8_t* SpeciesRow(int y) const { return species_.data() + std::size_t(y) * LandscapeGrid::Size; }
    // The cell becomes occupied by the species.
    void Set(int x, int y, int species)
    {
        Word(x, y) |= uint64_t(1) << Bit(x);
        species_[std::size_t(y) * LandscapeGrid::Size + std::size_t(x)] = static_cast<uint8_t>(species);
    }
    void Clear(int x, int y) { Word(x, y) &= ~(uint64_t(1) << Bit(x)); }
    // Columns x1..x2 of row y become empty; nothing when x2 < x1.
    void ClearSpan(int x1, int x2, int y);

    // The words of row y.
    const uint64_t* Row(int y) const { return bits_.data() + std::size_t(y) * RowWords; }
    // The number of empty cells of rows 1..maxY.
    int EmptyCount(int maxY) const;

    // The empty cells in row order, from a given number of them on. Cells filled behind
    // it, and the cell it has just given, do not move it.
    class EmptyCursor {
    public:
        explicit EmptyCursor(const OccupancyBits& bits);
        // The cell skip empty cells after the one given last (after the start for the
        // first), packed as y * 1024 + x; there must be one.
        int32_t Advance(int skip);

    private:
        const uint64_t* words_;
        int word_ = 0;    // index of the current word from row 1 on
        uint64_t rest_;   // the empty cells of the current word not yet passed
        bool wide_;
    };

private:
    uint64_t& Word(int x, int y) { return bits_[std::size_t(y) * RowWords + std::size_t((x - 1) >> 6)]; }
    uint64_t Word(int x, int y) const { return bits_[std::size_t(y) * RowWords + std::size_t((x - 1) >> 6)]; }
    static int Bit(int x) { return (x - 1) & 63; }
    void BuildRowWide(const Cell* row, int maxX, uint64_t* out, uint8_t* species);

    UninitialisedArray<uint64_t> bits_;
    UninitialisedArray<uint8_t> species_;
    bool wide_ = false;
};

} // namespace quorrel
