#pragma once

#include "engine/GenotypeGrid.h"
#include "engine/LandscapeStore.h"
#include "engine/ScratchFile.h"
#include "params/ParameterSet.h"

#include <filesystem>

namespace quorrel {

// The two genotype scratch files of one landscape of a variable-outcome array, beside its
// LandscapeStore: a genotype grid on disk, where GenotypeGrid is the one in memory. Format (no header): for rows 1..MaxY outer and columns 1..MaxX inner,
// each cell's genotype as Maxspec triples of three signed bytes (Win, Loss, Standoff) for
// opponents 1..Maxspec, unset triples included; the genotype of cell (x, y) is record
// (y - 1) * MaxX + (x - 1) counted from 0. Deleted when the store goes.
class GenotypeStore {
public:
    GenotypeStore(const std::filesystem::path& folder, int row, int col);

    // The interior of grid becomes the file's content, one write per row.
    void Save(StoredState which, const GenotypeGrid& grid);
    // The file's content becomes the interior of grid, one read per row.
    void Load(StoredState which, GenotypeGrid& grid) const;
    // The previous state becomes a copy of the current state.
    void AdvanceToPrevious();

    const ScratchFile& File(StoredState which) const { return files_[which == StoredState::Current ? 0 : 1]; }
    void Remove() noexcept;

private:
    ScratchFile files_[2];
};

} // namespace quorrel
