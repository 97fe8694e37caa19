#include "engine/OccupancyBits.h"

#include "engine/WideKernel.h"
#ifdef QRL_WIDE_KERNEL
#include "engine/SpeciesLanes.h"
#endif

#include <cstring>

namespace quorrel {

namespace {

// Columns from..maxX of a row (from - 1 a multiple of 8) into its last byte of bits and its
// species, and every bit after them set.
void FinishBytes(const Cell* row, int from, int maxX, uint8_t* bytes, uint8_t* species)
{
    int at = (from - 1) >> 3;
    if (from <= maxX) {
        unsigned tail = 0xFFu;
        for (int i = from; i <= maxX; ++i) {
            tail &= ~(unsigned(row[i].Species == 0) << (i - from));
            if (species != nullptr)
                species[i] = static_cast<uint8_t>(row[i].Species);
        }
        bytes[at++] = static_cast<uint8_t>(tail);
    }
    std::memset(bytes + at, 0xFF, std::size_t(OccupancyBits::RowWords) * 8 - std::size_t(at));
}

} // namespace

OccupancyBits::OccupancyBits() : wide_(WideKernelAvailable()) {}

void OccupancyBits::Reserve()
{
    // Not filled: every row is built before it is read. One word more for the searches
    // that read eight bytes at a time up to the end of the last row.
    bits_.Reserve(std::size_t(LandscapeGrid::Size) * RowWords + 1);
    species_.Reserve(std::size_t(LandscapeGrid::Size) * LandscapeGrid::Size);
}

void OccupancyBits::UseWideKernel(bool on)
{
    wide_ = on && WideKernelAvailable();
}

void OccupancyBits::Build(const LandscapeGrid& grid, int maxX, int maxY)
{
    Reserve(); // allocates only when the run was not started by StartRun
    for (int y = 1; y <= maxY; ++y)
        BuildRow(grid.Row(y), maxX, y);
}

void OccupancyBits::BuildRow(const Cell* row, int maxX, int y)
{
    uint64_t* out = bits_.data() + std::size_t(y) * RowWords;
    uint8_t* species = keepSpecies_ ? species_.data() + std::size_t(y) * LandscapeGrid::Size : nullptr;
    if (wide_) {
        BuildRowWide(row, maxX, out, species);
        return;
    }
    for (int x = 1; species != nullptr && x <= maxX; ++x)
        species[x] = static_cast<uint8_t>(row[x].Species);
    for (int w = 0; w < RowWords; ++w) {
        uint64_t word = 0;
        for (int b = 0; b < 64; ++b) {
            const int x = w * 64 + b + 1;
            word |= uint64_t(x > maxX || row[x].Species != 0) << b;
        }
        out[w] = word;
    }
}

void OccupancyBits::FinishRow(const Cell* row, int from, int maxX, int y)
{
    FinishBytes(row, from, maxX, RowBytes(y), SpeciesRowToWrite(y));
}

void OccupancyBits::ClearSpan(int x1, int x2, int y)
{
    if (x2 < x1)
        return;
    uint64_t* row = bits_.data() + std::size_t(y) * RowWords;
    const int first = (x1 - 1) >> 6;
    const int last = (x2 - 1) >> 6;
    const uint64_t from = ~uint64_t(0) << Bit(x1);
    const uint64_t to = ~uint64_t(0) >> (63 - Bit(x2));
    if (first == last) {
        row[first] &= ~(from & to);
        return;
    }
    row[first] &= ~from;
    for (int w = first + 1; w < last; ++w)
        row[w] = 0;
    row[last] &= ~to;
}

#ifdef QRL_WIDE_KERNEL

// Eight cells at a time: the species of cells x..x+7 (the even 32-bit lanes of both
// halves) compared with zero give one byte of the row.
__attribute__((target("avx2"))) void OccupancyBits::BuildRowWide(const Cell* row, int maxX, uint64_t* out,
                                                                   uint8_t* species)
{
    uint8_t* bytes = reinterpret_cast<uint8_t*>(out);
    const __m256i zero = _mm256_setzero_si256();
    int x = 1;
    for (; x + 7 <= maxX; x += 8) {
        const __m256i cells = SpeciesOfEight(row + x);
        const int empty = _mm256_movemask_ps(_mm256_castsi256_ps(_mm256_cmpeq_epi32(cells, zero)));
        bytes[(x - 1) >> 3] = static_cast<uint8_t>(~empty);
        if (species != nullptr) {
            const __m128i words =
                _mm_packus_epi32(_mm256_castsi256_si128(cells), _mm256_extracti128_si256(cells, 1));
            _mm_storel_epi64(reinterpret_cast<__m128i*>(species + x), _mm_packus_epi16(words, words));
        }
    }
    FinishBytes(row, x, maxX, bytes, species);
}

#else

void OccupancyBits::BuildRowWide(const Cell* row, int maxX, uint64_t* out, uint8_t*)
{
    wide_ = false;
    BuildRow(row, maxX, 1 + int((out - bits_.data()) / RowWords));
}

#endif

} // namespace quorrel
