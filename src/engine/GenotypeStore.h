#pragma once

#include "engine/GenotypeGrid.h"
#include "engine/LandscapeStore.h"
#include "engine/StoredStates.h"
#include "params/ParameterSet.h"

#include <cstddef>
#include <filesystem>
#include <vector>

namespace quorrel {

// The two genotype scratch files of one landscape of a variable-outcome array, beside its
// LandscapeStore: a genotype grid on disk, where GenotypeGrid is the one in memory.
// Format (no header): for rows 1..MaxY outer and columns 1..MaxX inner, each cell's genotype as Maxspec triples of three signed bytes (Win, Loss, Standoff) for
// opponents 1..Maxspec, unset triples included; the genotype of cell (x, y) is record
// (y - 1) * MaxX + (x - 1) counted from 0. Deleted when the store goes.
class GenotypeStore {
public:
    GenotypeStore(const std::filesystem::path& folder, int row, int col);

    // The interior of grid becomes the file's content, gathered in block (grown to a block
    // of whole rows of about 1 MB when smaller) and written a block at a time; or, with the
    // mapping on, gathered straight into the file's pages.
    void Save(StoredState which, const GenotypeGrid& grid, std::vector<std::byte>& block);
    // The file's content becomes the interior of grid: read whole into a window of the
    // grid's pool when it has one (GenotypeGrid::LoadsWhole), else through block a block of
    // whole rows at a time.
    void Load(StoredState which, GenotypeGrid& grid, std::vector<std::byte>& block) const;
    // The files are read and written through mappings of them (ScratchFile::UseMapping).
    void UseMapping(bool on) { states_.UseMapping(on); }
    // The previous state becomes the current state (the files exchange roles).
    void AdvanceToPrevious();

    const ScratchFile& File(StoredState which) const { return states_.ToRead(which); }
    void Remove() noexcept;

private:
    StoredStates states_;
};

} // namespace quorrel
