#pragma once

#include "engine/Cell.h"
#include "engine/LandscapeGrid.h"
#include "engine/StoredStates.h"
#include "params/ParameterSet.h"

#include <cstdint>
#include <filesystem>
#include <vector>

namespace quorrel {

// The two scratch files of one landscape of an array, its current and its previous state
// (LandscapeArrayStores holds one for every landscape of the array).
// Format of both (no header): rows 1..MaxY, each the MaxX cells of columns 1..MaxX, each
// cell 8 bytes: Species as a 32-bit integer, then GRate as a 32-bit float, both little-
// endian. The border ring is not stored. The files are deleted when the store goes.
class LandscapeStore {
public:
    static constexpr std::size_t CellBytes = 8;

    LandscapeStore(const std::filesystem::path& folder, int row, int col);

    // The interior of grid becomes the file's content, its rows written straight from the grid.
    // Its occupied cells are counted on the way, or when countOccupied is off, from the file
    // when they are first asked for.
    void Save(StoredState which, const GParamStruct& p, const LandscapeGrid& grid, bool countOccupied = true);
    // The file's content becomes the interior of grid, read straight into its rows.
    void Load(StoredState which, const GParamStruct& p, LandscapeGrid& grid) const;
    // The previous state becomes the current state (the files exchange roles).
    void AdvanceToPrevious();
    // The files are read and written through mappings of them (ScratchFile::UseMapping).
    void UseMapping(bool on) { states_.UseMapping(on); }
    // The number of occupied cells in each state as last saved or advanced.
    int64_t Occupied(StoredState which) const;

    const ScratchFile& File(StoredState which) const { return states_.ToRead(which); }
    void Remove() noexcept;

    static void Encode(const Cell& cell, unsigned char* out);
    static Cell Decode(const unsigned char* in);

private:
    static int Index(StoredState which) { return which == StoredState::Current ? 0 : 1; }

    static constexpr int64_t NotCounted = -1;

    StoredStates states_;
    mutable int64_t occupied_[2] = {0, 0};
    // The bytes of each state as last saved or advanced: a file found shorter is cut short.
    std::uint64_t bytes_[2] = {0, 0};
};

} // namespace quorrel
