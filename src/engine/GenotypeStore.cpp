#include "engine/GenotypeStore.h"

#include <algorithm>
#include <cstddef>
#include <span>
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
    : states_(Name(folder, row, col, "Cur"), Name(folder, row, col, "Prev"))
{
}

void GenotypeStore::Save(StoredState which, const GenotypeGrid& grid)
{
    const std::size_t rowBytes = grid.RowBytes();
    const int rows = RowsPerBlock(rowBytes);
    std::byte* const block = StoreBlock(rowBytes * static_cast<std::size_t>(std::min(rows, grid.MaxY())));
    ScratchFile::Handle file = states_.ToWrite(which).OpenForWriting();
    for (int y0 = 1; y0 <= grid.MaxY(); y0 += rows) {
        const int y1 = std::min(grid.MaxY(), y0 + rows - 1);
        for (int y = y0; y <= y1; ++y)
            grid.SaveRow(y, block + rowBytes * static_cast<std::size_t>(y - y0));
        file.Write(block, rowBytes * static_cast<std::size_t>(y1 - y0 + 1));
    }
    file.Close();
}

void GenotypeStore::Load(StoredState which, GenotypeGrid& grid) const
{
    if (grid.LoadsWhole()) {
        ScratchFile::Handle file = states_.ToRead(which).OpenForReading();
        grid.LoadInteriorWith([&](std::span<std::byte> bytes) { file.Read(bytes.data(), bytes.size()); });
        return;
    }
    const std::size_t rowBytes = grid.RowBytes();
    const int rows = RowsPerBlock(rowBytes);
    std::byte* const block = StoreBlock(rowBytes * static_cast<std::size_t>(std::min(rows, grid.MaxY())));
    ScratchFile::Handle file = states_.ToRead(which).OpenForReading();
    for (int y0 = 1; y0 <= grid.MaxY(); y0 += rows) {
        const int y1 = std::min(grid.MaxY(), y0 + rows - 1);
        file.Read(block, rowBytes * static_cast<std::size_t>(y1 - y0 + 1));
        for (int y = y0; y <= y1; ++y)
            grid.LoadRow(y, block + rowBytes * static_cast<std::size_t>(y - y0));
    }
}

void GenotypeStore::AdvanceToPrevious()
{
    states_.Advance();
}

void GenotypeStore::Remove() noexcept
{
    states_.Remove();
}

} // namespace quorrel
