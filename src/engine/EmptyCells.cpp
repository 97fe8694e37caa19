#include "engine/EmptyCells.h"

#include "engine/WideKernel.h"
#ifdef QRL_WIDE_KERNEL
#include "engine/SpeciesLanes.h"
#endif

#include <algorithm>
#include <bit>

namespace quorrel {

EmptyCells::EmptyCells() : wide_(WideKernelAvailable()) {}

void EmptyCells::Reserve(int cells)
{
    // The vector row writes up to eight entries beyond the last empty cell.
    const std::size_t room = static_cast<std::size_t>(cells) + 8;
    cells_.Reserve(room);
}

void EmptyCells::UseWideKernel(bool on)
{
    wide_ = on && WideKernelAvailable();
}

void EmptyCells::List(const LandscapeGrid& grid, int maxX, int maxY)
{
    Reserve(maxX * maxY); // allocates only when the run was not started by StartRun
    Clear();
    for (int y = 1; y <= maxY; ++y)
        AppendRow(grid.Row(y), maxX, y);
}

void EmptyCells::List(const OccupancyBits& bits, int maxX, int maxY)
{
    // The bits of the columns after maxX are set: at most maxX * maxY cells are empty.
    Reserve(maxX * maxY); // allocates only when the run was not started by StartRun
    Clear();
    // The words after the one holding column maxX have every bit set: they are passed over.
    const int words = std::clamp((maxX + 63) / 64, 0, OccupancyBits::RowWords);
    if (wide_)
        ListWide(bits, words, maxY);
    else
        ListPlain(bits, words, maxY);
}

void EmptyCells::ListPlain(const OccupancyBits& bits, int words, int maxY)
{
    for (int y = 1; y <= maxY; ++y) {
        const uint64_t* row = bits.Row(y);
        for (int w = 0; w < words; ++w)
            for (uint64_t empty = ~row[w]; empty != 0; empty &= empty - 1)
                cells_[static_cast<std::size_t>(count_++)] = y * Pack + w * 64 + std::countr_zero(empty) + 1;
    }
}

void EmptyCells::AppendRow(const Cell* row, int maxX, int y)
{
    if (wide_) {
        AppendRowWide(row, maxX, y);
        return;
    }
    int32_t* out = cells_.data();
    const int32_t base = y * Pack;
    for (int x = 1; x <= maxX; ++x) {
        out[count_] = base + x;
        count_ += row[x].Species == 0;
    }
}

#ifdef QRL_WIDE_KERNEL

namespace {

// For each mask of eight lanes, the lane order that moves the chosen lanes to the front.
struct CompressTable {
    alignas(32) int32_t Order[256][8];

    constexpr CompressTable() : Order{}
    {
        for (int mask = 0; mask < 256; ++mask) {
            int to = 0;
            for (int lane = 0; lane < 8; ++lane)
                if ((mask >> lane) & 1)
                    Order[mask][to++] = lane;
            for (; to < 8; ++to)
                Order[mask][to] = 0;
        }
    }
};

constexpr CompressTable Compress;

} // namespace

// Eight cells at a time: their positions, those of the empty ones moved to the front, are
// stored, and the next eight write over the rest.
__attribute__((target("avx2"))) void EmptyCells::AppendRowWide(const Cell* row, int maxX, int y)
{
    int32_t* out = cells_.data();
    const __m256i zero = _mm256_setzero_si256();
    const __m256i lanes = _mm256_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7);
    int x = 1;
    for (; x + 7 <= maxX; x += 8) {
        const __m256i species = SpeciesOfEight(row + x);
        const int empty = _mm256_movemask_ps(_mm256_castsi256_ps(_mm256_cmpeq_epi32(species, zero)));
        const __m256i order = _mm256_load_si256(reinterpret_cast<const __m256i*>(Compress.Order[empty]));
        const __m256i positions = _mm256_add_epi32(_mm256_set1_epi32(y * Pack + x), lanes);
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + count_),
                            _mm256_permutevar8x32_epi32(positions, order));
        count_ += std::popcount(static_cast<unsigned>(empty));
    }
    for (; x <= maxX; ++x) {
        out[count_] = y * Pack + x;
        count_ += row[x].Species == 0;
    }
}

// Eight cells (a byte of bits) at a time, as the rows above; a word of 64 occupied cells
// is passed over whole.
__attribute__((target("avx2"))) void EmptyCells::ListWide(const OccupancyBits& bits, int rowWords, int maxY)
{
    int32_t* out = cells_.data();
    const __m256i lanes = _mm256_setr_epi32(1, 2, 3, 4, 5, 6, 7, 8);
    for (int y = 1; y <= maxY; ++y) {
        const uint64_t* words = bits.Row(y);
        const uint8_t* bytes = reinterpret_cast<const uint8_t*>(words);
        for (int b = 0; b < rowWords * 8; ++b) {
            if (b % 8 == 0 && words[b / 8] == ~uint64_t(0)) {
                b += 7;
                continue;
            }
            const unsigned empty = ~unsigned(bytes[b]) & 0xFFu;
            const __m256i order = _mm256_load_si256(reinterpret_cast<const __m256i*>(Compress.Order[empty]));
            const __m256i positions = _mm256_add_epi32(_mm256_set1_epi32(y * Pack + b * 8), lanes);
            _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + count_),
                                _mm256_permutevar8x32_epi32(positions, order));
            count_ += std::popcount(empty);
        }
    }
}

#else

void EmptyCells::ListWide(const OccupancyBits& bits, int rowWords, int maxY)
{
    wide_ = false;
    ListPlain(bits, rowWords, maxY);
}

void EmptyCells::AppendRowWide(const Cell* row, int maxX, int y)
{
    wide_ = false;
    AppendRow(row, maxX, y);
}

#endif

} // namespace quorrel
