#include "engine/GenotypeStore.h"

#include <cstddef>
#include <string>
#include <vector>

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

void GenotypeStore::Save(StoredState which, const GenotypeGrid& grid)
{
    std::vector<std::byte> row(grid.RowBytes());
    ScratchFile::Handle file = File(which).OpenForWriting();
    for (int y = 1; y <= grid.MaxY(); ++y) {
        grid.SaveRow(y, row.data());
        file.Write(row.data(), row.size());
    }
    file.Close();
}

void GenotypeStore::Load(StoredState which, GenotypeGrid& grid) const
{
    std::vector<std::byte> row(grid.RowBytes());
    ScratchFile::Handle file = File(which).OpenForReading();
    for (int y = 1; y <= grid.MaxY(); ++y) {
        file.Read(row.data(), row.size());
        grid.LoadRow(y, row.data());
    }
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
