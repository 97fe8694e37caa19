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
// ones (recruitment's list of them) here, a sixty-fourth and an eighth of the landscape's size,
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

    // Whether the rows built keep the species of their cells (on unless switched off);
    // without them only the bits are built, and Species must not be read.
    void KeepSpecies(bool on) { keepSpecies_ = on; }
    bool KeepsSpecies() const { return keepSpecies_; }

    // Row y from the cells 1..maxX of row.
    void BuildRow(const Cell* row, int maxX, int y);
    // Where a step that has the cells of row y at hand writes their bits and species
    // (SpeciesRowToWrite is null when the species are not kept), a byte of bits for eight
    // columns from column 1 (the words' bytes in little-endian order, as on the processors
    // of the vector kernels that use them); FinishRow then builds columns from..maxX
    // (from - 1 a multiple of 8) and the bits beyond them.
    uint8_t* RowBytes(int y) { return reinterpret_cast<uint8_t*>(bits_.data() + std::size_t(y) * RowWords); }
    uint8_t* SpeciesRowToWrite(int y)
    {
        return keepSpecies_ ? species_.data() + std::size_t(y) * LandscapeGrid::Size : nullptr;
    }
    void FinishRow(const Cell* row, int from, int maxX, int y);
    // Rows 1..maxY from grid.
    void Build(const LandscapeGrid& grid, int maxX, int maxY);

    bool Occupied(int x, int y) const { return (Word(x, y) >> Bit(x)) & 1u; }
    // The species of an occupied cell.
    int Species(int x, int y) const { return species_[std::size_t(y) * LandscapeGrid::Size + std::size_t(x)]; }
    const uint8_t* SpeciesRow(int y) const { return species_.data() + std::size_t(y) * LandscapeGrid::Size; }
    // Asks the processor to bring columns 1..maxX of row y's species into its cache.
    void PrefetchSpeciesRow(int y, int maxX) const
    {
        const uint8_t* row = SpeciesRow(y);
        for (int x = 0; x <= maxX; x += 64)
            __builtin_prefetch(row + x);
    }
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

private:
    uint64_t& Word(int x, int y) { return bits_[std::size_t(y) * RowWords + std::size_t((x - 1) >> 6)]; }
    uint64_t Word(int x, int y) const { return bits_[std::size_t(y) * RowWords + std::size_t((x - 1) >> 6)]; }
    static int Bit(int x) { return (x - 1) & 63; }
    void BuildRowWide(const Cell* row, int maxX, uint64_t* out, uint8_t* species);

    UninitialisedArray<uint64_t> bits_;
    UninitialisedArray<uint8_t> species_;
    bool wide_ = false;
    bool keepSpecies_ = true;
};

} // namespace quorrel
