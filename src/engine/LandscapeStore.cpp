#include "engine/LandscapeStore.h"

#include <bit>
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

} // namespace

LandscapeStore::LandscapeStore(const std::filesystem::path& folder, int row, int col)
    : files_{ScratchFile(folder / Name("Land", row, col, "Cur")), ScratchFile(folder / Name("Land", row, col, "Prev"))}
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
    row_.resize(CellBytes * p.MaxX);
    ScratchFile::Handle file = File(which).OpenForWriting();
    int64_t occupied = 0;
    for (int y = 1; y <= p.MaxY; ++y) {
        const Cell* cells = grid.Row(y);
        for (int x = 1; x <= p.MaxX; ++x) {
            Encode(cells[x], row_.data() + CellBytes * (x - 1));
            occupied += cells[x].Species != 0 ? 1 : 0;
        }
        file.Write(row_.data(), row_.size());
    }
    file.Close();
    occupied_[Index(which)] = occupied;
}

void LandscapeStore::Load(StoredState which, const GParamStruct& p, LandscapeGrid& grid) const
{
    row_.resize(CellBytes * p.MaxX);
    ScratchFile::Handle file = File(which).OpenForReading();
    for (int y = 1; y <= p.MaxY; ++y) {
        file.Read(row_.data(), row_.size());
        Cell* cells = grid.Row(y);
        for (int x = 1; x <= p.MaxX; ++x)
            cells[x] = Decode(row_.data() + CellBytes * (x - 1));
    }
}

void LandscapeStore::AdvanceToPrevious()
{
    files_[1].CopyFrom(files_[0]);
    occupied_[1] = occupied_[0];
}

void LandscapeStore::Remove() noexcept
{
    files_[0].Remove();
    files_[1].Remove();
}

} // namespace quorrel
