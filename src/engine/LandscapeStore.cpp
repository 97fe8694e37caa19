#include "engine/LandscapeStore.h"

#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstring>
#include <string>

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

void LandscapeStore::Save(StoredState which, const GParamStruct& p, const LandscapeGrid& grid)
{
    const std::size_t rowBytes = CellBytes * static_cast<std::size_t>(p.MaxX);
    const int rows = RowsPerBlock(rowBytes);
    auto* const block =
        reinterpret_cast<unsigned char*>(StoreBlock(rowBytes * static_cast<std::size_t>(std::min(rows, p.MaxY))));
    ScratchFile::Handle file = states_.ToWrite(which).OpenForWriting();
    int64_t occupied = 0;
    for (int y0 = 1; y0 <= p.MaxY; y0 += rows) {
        const int y1 = std::min(p.MaxY, y0 + rows - 1);
        for (int y = y0; y <= y1; ++y) {
            const Cell* cells = grid.Row(y);
            unsigned char* out = block + rowBytes * static_cast<std::size_t>(y - y0);
            if constexpr (CellsAsStored)
                std::memcpy(out, cells + 1, rowBytes);
            for (int x = 1; x <= p.MaxX; ++x) {
                if constexpr (!CellsAsStored)
                    Encode(cells[x], out + CellBytes * (x - 1));
                occupied += cells[x].Species != 0 ? 1 : 0;
            }
        }
        file.Write(block, rowBytes * static_cast<std::size_t>(y1 - y0 + 1));
    }
    file.Close();
    occupied_[Index(which)] = occupied;
}

void LandscapeStore::Load(StoredState which, const GParamStruct& p, LandscapeGrid& grid) const
{
    const std::size_t rowBytes = CellBytes * static_cast<std::size_t>(p.MaxX);
    const int rows = RowsPerBlock(rowBytes);
    auto* const block =
        reinterpret_cast<unsigned char*>(StoreBlock(rowBytes * static_cast<std::size_t>(std::min(rows, p.MaxY))));
    ScratchFile::Handle file = states_.ToRead(which).OpenForReading();
    for (int y0 = 1; y0 <= p.MaxY; y0 += rows) {
        const int y1 = std::min(p.MaxY, y0 + rows - 1);
        file.Read(block, rowBytes * static_cast<std::size_t>(y1 - y0 + 1));
        for (int y = y0; y <= y1; ++y) {
            Cell* cells = grid.Row(y);
            const unsigned char* in = block + rowBytes * static_cast<std::size_t>(y - y0);
            if constexpr (CellsAsStored)
                std::memcpy(cells + 1, in, rowBytes);
            else
                for (int x = 1; x <= p.MaxX; ++x)
                    cells[x] = Decode(in + CellBytes * (x - 1));
        }
    }
}

void LandscapeStore::AdvanceToPrevious()
{
    states_.Advance();
    occupied_[1] = occupied_[0];
}

void LandscapeStore::Remove() noexcept
{
    states_.Remove();
}

} // namespace quorrel
