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

void GenotypeStore::Save(StoredState which, const GenotypeGrid& grid, std::vector<std::byte>& block)
{
    const std::size_t rowBytes = grid.RowBytes();
    const ScratchFile& file = states_.ToWrite(which);
    if (std::byte* out = file.MapForWriting(0, grid.InteriorBytes())) {
        // Gathered straight into the file's pages, with no block in between.
        for (int y = 1; y <= grid.MaxY(); ++y)
            grid.SaveRow(y, out + rowBytes * static_cast<std::size_t>(y - 1));
        file.CutTo(grid.InteriorBytes());
        return;
    }
    const int rows = std::min(RowsPerBlock(rowBytes), grid.MaxY());
    if (block.size() < rowBytes * static_cast<std::size_t>(rows))
        block.resize(rowBytes * static_cast<std::size_t>(rows));
    for (int y0 = 1; y0 <= grid.MaxY(); y0 += rows) {
        const int y1 = std::min(grid.MaxY(), y0 + rows - 1);
        for (int y = y0; y <= y1; ++y)
            grid.SaveRow(y, block.data() + rowBytes * static_cast<std::size_t>(y - y0));
        const std::size_t bytes = rowBytes * static_cast<std::size_t>(y1 - y0 + 1);
        file.WriteAt(rowBytes * static_cast<std::size_t>(y0 - 1), block.data(), bytes, bytes, 1);
    }
    file.CutTo(grid.InteriorBytes());
}

void GenotypeStore::Load(StoredState which, GenotypeGrid& grid, std::vector<std::byte>& block) const
{
    const ScratchFile& file = states_.ToRead(which);
    if (grid.LoadsWhole()) {
        grid.LoadInteriorWith([&](std::span<std::byte> bytes) { file.ReadAt(0, bytes.data(), bytes.size(), bytes.size(), 1); });
        return;
    }
    const std::size_t rowBytes = grid.RowBytes();
    const int rows = std::min(RowsPerBlock(rowBytes), grid.MaxY());
    if (block.size() < rowBytes * static_cast<std::size_t>(rows))
        block.resize(rowBytes * static_cast<std::size_t>(rows));
    for (int y0 = 1; y0 <= grid.MaxY(); y0 += rows) {
        const int y1 = std::min(grid.MaxY(), y0 + rows - 1);
        const std::size_t bytes = rowBytes * static_cast<std::size_t>(y1 - y0 + 1);
        file.ReadAt(rowBytes * static_cast<std::size_t>(y0 - 1), block.data(), bytes, bytes, 1);
        for (int y = y0; y <= y1; ++y)
            grid.LoadRow(y, block.data() + rowBytes * static_cast<std::size_t>(y - y0));
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
