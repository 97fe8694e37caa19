#include "engine/Encounters.h"

#include "engine/LandscapeGrid.h"

#include <bit>

#include "engine/WideKernel.h"
#ifdef QRL_WIDE_KERNEL
#include "engine/NeighbourLanes.h"
#endif

namespace quorrel {

namespace {

// Adds cell x to the list when it is an encounter (the entry is written either way).
inline void ListCell(const Cell* prev, const uint32_t* prevIds, std::ptrdiff_t idWidth, int x, uint32_t neighbourState,
                     uint32_t drawState, int stride, Encounters& out)
{
    const int d = static_cast<int>(neighbourState >> 30);
    const std::ptrdiff_t idOffset[4] = {-1, idWidth, 1, -idWidth};
    const Cell o = prev[x];
    const Cell n = prev[x + LandscapeGrid::NeighbourOffset[d]];
    const int k = out.Count;
    out.Column[k] = x;
    out.Pair[k] = n.Species * stride + o.Species;
    out.Rate[k] = n.GRate;
    out.InvaderId[k] = prevIds[x + idOffset[d]];
    out.OccupantId[k] = prevIds[x];
    out.Draw[k] = drawState;
    out.Count += (n.Species != o.Species) & (n.Species != 0);
}

} // namespace

void ListEncountersPortable(const Cell* prev, const uint32_t* prevIds, std::ptrdiff_t idWidth, int maxX,
                            const uint32_t* states, int stride, Encounters& out)
{
    out.Count = 0;
    for (int x = 1; x <= maxX; ++x)
        ListCell(prev, prevIds, idWidth, x, states[2 * (x - 1)], states[2 * (x - 1) + 1], stride, out);
}

#ifdef QRL_WIDE_KERNEL

namespace {

// For each mask of four lanes, the byte shuffle that moves the chosen 32-bit lanes to the
// front in order.
struct CompressTable {
    alignas(16) uint8_t Shuffle[16][16];

    constexpr CompressTable() : Shuffle{}
    {
        for (int mask = 0; mask < 16; ++mask) {
            int to = 0;
            for (int lane = 0; lane < 4; ++lane)
                if ((mask >> lane) & 1) {
                    for (int b = 0; b < 4; ++b)
                        Shuffle[mask][to * 4 + b] = uint8_t(lane * 4 + b);
                    ++to;
                }
            for (; to < 4; ++to)
                for (int b = 0; b < 4; ++b)
                    Shuffle[mask][to * 4 + b] = 0x80;
        }
    }
};

constexpr CompressTable Compress;

__attribute__((target("avx2"))) inline __m128 LoadIds(const uint32_t* ids)
{
    return _mm_castsi128_ps(_mm_loadu_si128(reinterpret_cast<const __m128i*>(ids)));
}

__attribute__((target("avx2"))) inline void Store(void* to, __m128i lanes, __m128i shuffle)
{
    _mm_storeu_si128(static_cast<__m128i*>(to), _mm_shuffle_epi8(lanes, shuffle));
}

} // namespace

// Four cells at a time, each a 64-bit lane (species low, growth rate high); the lanes of
// the encounters are moved to the front and stored, the others are written over by the
// next four.
__attribute__((target("avx2"))) void ListEncountersWide(const Cell* prev, const uint32_t* prevIds,
                                                         std::ptrdiff_t idWidth, int maxX, const uint32_t* states,
                                                         int stride, Encounters& out)
{
    const __m256i evenOdd = _mm256_setr_epi32(0, 2, 4, 6, 1, 3, 5, 7);
    const __m128i strideLanes = _mm_set1_epi32(stride);
    const __m128i lanes = _mm_setr_epi32(0, 1, 2, 3);
    const __m128i zero = _mm_setzero_si128();
    const std::ptrdiff_t w = idWidth;
    int count = 0;
    int x = 1;
    for (; x + 3 <= maxX; x += 4) {
        // Neighbour states in the low half, draw states in the high half.
        const __m256i both = _mm256_permutevar8x32_epi32(
            _mm256_loadu_si256(reinterpret_cast<const __m256i*>(states + 2 * (x - 1))), evenOdd);
        const __m128i ns = _mm256_castsi256_si128(both);
        const __m128i ns30 = _mm_slli_epi32(ns, 1);
        const __m256d n = NeighbourCells(prev, x, ns);
        const __m256i nSplit = _mm256_permutevar8x32_epi32(_mm256_castpd_si256(n), evenOdd);
        const __m128i nSpecies = _mm256_castsi256_si128(nSplit);
        const __m128i oSpecies = _mm256_castsi256_si128(_mm256_permutevar8x32_epi32(
            _mm256_castpd_si256(LoadCells(prev + x)), evenOdd));
        const __m128i same = _mm_or_si128(_mm_cmpeq_epi32(nSpecies, oSpecies), _mm_cmpeq_epi32(nSpecies, zero));
        const int mask = ~_mm_movemask_ps(_mm_castsi128_ps(same)) & 0xF;
        if (mask == 0)
            continue;
        const __m128i shuffle = _mm_load_si128(reinterpret_cast<const __m128i*>(Compress.Shuffle[mask]));
        const __m128i invaderId = _mm_castps_si128(
            _mm_blendv_ps(_mm_blendv_ps(LoadIds(prevIds + x - 1), LoadIds(prevIds + x + w), _mm_castsi128_ps(ns30)),
                          _mm_blendv_ps(LoadIds(prevIds + x + 1), LoadIds(prevIds + x - w), _mm_castsi128_ps(ns30)),
                          _mm_castsi128_ps(ns)));
        Store(&out.Column[count], _mm_add_epi32(_mm_set1_epi32(x), lanes), shuffle);
        Store(&out.Pair[count], _mm_add_epi32(_mm_mullo_epi32(nSpecies, strideLanes), oSpecies), shuffle);
        Store(&out.Rate[count], _mm256_extracti128_si256(nSplit, 1), shuffle);
        Store(&out.InvaderId[count], invaderId, shuffle);
        Store(&out.OccupantId[count], _mm_castps_si128(LoadIds(prevIds + x)), shuffle);
        Store(&out.Draw[count], _mm256_extracti128_si256(both, 1), shuffle);
        count += std::popcount(static_cast<unsigned>(mask));
    }
    out.Count = count;
    for (; x <= maxX; ++x)
        ListCell(prev, prevIds, idWidth, x, states[2 * (x - 1)], states[2 * (x - 1) + 1], stride, out);
}

#else

void ListEncountersWide(const Cell* prev, const uint32_t* prevIds, std::ptrdiff_t idWidth, int maxX,
                        const uint32_t* states, int stride, Encounters& out)
{
    ListEncountersPortable(prev, prevIds, idWidth, maxX, states, stride, out);
}

#endif

} // namespace quorrel
