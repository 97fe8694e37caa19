#include "engine/LandscapeStore.h"

#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstring>
#include <string>
#include <vector>

namespace quorrel {

namespace {

void PutLE(uint32_t value, unsigned char* out)
{
    for (int i = 0; i < 4; ++i)
        out[i] = static_cast<unsigned char>(value >> (8 * i));
}

uint32_t GetLE(const unsigned char* in)
{
    uint32_t value = 0;
    for (int i = 0; i < 4; ++i)
        value |= static_cast<uint32_t>(in[i]) << (8 * i);
    return value;
}

std::string Name(const char* prefix, int row, int col, const char* state)
{
    return std::string(prefix) + std::to_string(row) + "_" + std::to_string(col) + state + ".tmp";
}

// A cell in memory is a cell of the file (little-endian species, then rate): rows are copied
// as they are.
constexpr bool CellsAsStored = std::endian::native == std::endian::little && sizeof(Cell) == 8 &&
                               offsetof(Cell, Species) == 0 && offsetof(Cell, GRate) == 4;

} // namespace

LandscapeStore::LandscapeStore(const std::filesystem::path& folder, int row, int col)
    : states_(folder / Name("Land", row, col, "Cur"), folder / Name("Land", row, col, "Prev"))
{
}

void LandscapeStore::Encode(const Cell& cell, unsigned char* out)
{
    PutLE(static_cast<uint32_t>(cell.Species), out);
    PutLE(std::bit_cast<uint32_t>(cell.GRate), out + 4);
}

Cell LandscapeStore::Decode(const unsigned char* in)
{
    return Cell{static_cast<int32_t>(GetLE(in)), std::bit_cast<float>(GetLE(in + 4))};
}

void LandscapeStore::Save(StoredState which, const GParamStruct& p, const LandscapeGrid& grid, bool countOccupied)
{
    const std::size_t rowBytes = CellBytes * static_cast<std::size_t>(p.MaxX);
    const ScratchFile& file = states_.ToWrite(which);
    int64_t occupied = countOccupied ? 0 : NotCounted;
    for (int y = 1; y <= p.MaxY && countOccupied; ++y) {
        const Cell* cells = grid.Row(y);
        // Counted in 32 bits a row, which the compiler can do in wide lanes.
        uint32_t inRow = 0;
        for (int x = 1; x <= p.MaxX; ++x)
            inRow += cells[x].Species != 0 ? 1u : 0u;
        occupied += inRow;
    }
    if constexpr (CellsAsStored) {
        // The interior rows go to the file straight from the grid.
        file.WriteAt(0, grid.Row(1) + 1, rowBytes, sizeof(Cell) * LandscapeGrid::Size, static_cast<std::size_t>(p.MaxY));
    } else {
        std::vector<unsigned char> row(rowBytes);
        for (int y = 1; y <= p.MaxY; ++y) {
            const Cell* cells = grid.Row(y);
            for (int x = 1; x <= p.MaxX; ++x)
                Encode(cells[x], row.data() + CellBytes * (x - 1));
            file.WriteAt(rowBytes * static_cast<std::size_t>(y - 1), row.data(), rowBytes, rowBytes, 1);
        }
    }
    file.CutTo(rowBytes * static_cast<std::size_t>(p.MaxY));
    occupied_[Index(which)] = occupied;
    bytes_[Index(which)] = rowBytes * static_cast<std::size_t>(p.MaxY);
}

void LandscapeStore::Load(StoredState which, const GParamStruct& p, LandscapeGrid& grid) const
{
    const std::size_t rowBytes = CellBytes * static_cast<std::size_t>(p.MaxX);
    const ScratchFile& file = states_.ToRead(which);
    if constexpr (CellsAsStored) {
        file.ReadAt(0, grid.Row(1) + 1, rowBytes, sizeof(Cell) * LandscapeGrid::Size, static_cast<std::size_t>(p.MaxY));
    } else {
        std::vector<unsigned char> row(rowBytes);
        for (int y = 1; y <= p.MaxY; ++y) {
            file.ReadAt(rowBytes * static_cast<std::size_t>(y - 1), row.data(), rowBytes, rowBytes, 1);
            Cell* cells = grid.Row(y);
            for (int x = 1; x <= p.MaxX; ++x)
                cells[x] = Decode(row.data() + CellBytes * (x - 1));
        }
    }
}

int64_t LandscapeStore::Occupied(StoredState which) const
{
    int64_t& occupied = occupied_[Index(which)];
    if (occupied != NotCounted)
        return occupied;
    // The cells of the file as saved, a block of whole cells at a time.
    const ScratchFile& file = states_.ToRead(which);
    const std::uint64_t bytes = bytes_[Index(which)];
    std::vector<unsigned char> block(std::min<std::uint64_t>(bytes, std::uint64_t(1) << 16) / CellBytes * CellBytes);
    int64_t counted = 0;
    for (std::uint64_t at = 0; at < bytes && !block.empty();) {
        const std::size_t n = static_cast<std::size_t>(std::min<std::uint64_t>(block.size(), bytes - at));
        file.ReadAt(at, block.data(), n, n, 1);
        for (std::size_t k = 0; k + CellBytes <= n; k += CellBytes)
            counted += Decode(block.data() + k).Species != 0 ? 1 : 0;
        at += n;
    }
    occupied = counted;
    return occupied;
}

void LandscapeStore::AdvanceToPrevious()
{
    states_.Advance();
    occupied_[1] = occupied_[0];
    bytes_[1] = bytes_[0];
}

void LandscapeStore::Remove() noexcept
{
    states_.Remove();
}

} // namespace quorrel
