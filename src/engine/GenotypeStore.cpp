#include "engine/GenotypeStore.h"

#include <string>

namespace quorrel {

namespace {

std::filesystem::path Name(const std::filesystem::path& folder, int row, int col, const char* state)
{
    return folder / ("Geno" + std::to_string(row) + "_" + std::to_string(col) + state + ".tmp");
}

} // namespace

GenotypeStore::GenotypeStore(const std::filesystem::path& folder, int row, int col)
    : files_{ScratchFile(Name(folder, row, col, "Cur")), ScratchFile(Name(folder, row, col, "Prev"))}
{
}

// The interior of a row of the grid is contiguous, in the file's record layout.
void GenotypeStore::Save(StoredState which, const GenotypeGrid& grid)
{
    const std::size_t rowBytes = grid.RecordBytes() * static_cast<std::size_t>(grid.MaxX());
    ScratchFile::Handle file = File(which).OpenForWriting();
    for (int y = 1; y <= grid.MaxY(); ++y)
        file.Write(grid.Genotype(1, y), rowBytes);
    file.Close();
}

void GenotypeStore::Load(StoredState which, GenotypeGrid& grid) const
{
    const std::size_t rowBytes = grid.RecordBytes() * static_cast<std::size_t>(grid.MaxX());
    ScratchFile::Handle file = File(which).OpenForReading();
    for (int y = 1; y <= grid.MaxY(); ++y)
        file.Read(grid.Genotype(1, y), rowBytes);
}

void GenotypeStore::AdvanceToPrevious()
{
    files_[1].CopyFrom(files_[0]);
}

void GenotypeStore::Remove() noexcept
{
    files_[0].Remove();
    files_[1].Remove();
}

} // namespace quorrel
