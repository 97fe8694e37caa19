#include "engine/SpeciesMap.h"

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace quorrel {

void SpeciesMap::Reserve()
{
    // Not filled: Build writes every interior cell before a probe reads one.
    species_.Reserve(std::size_t(LandscapeGrid::Size) * LandscapeGrid::Size);
}

void SpeciesMap::Build(const LandscapeGrid& grid, int maxX, int maxY)
{
    Reserve(); // allocates only when the run was not started by StartRun
    for (int y = 1; y <= maxY; ++y) {
        const Cell* row = grid.Row(y);
        uint8_t* out = species_.data() + std::size_t(y) * LandscapeGrid::Size;
        int x = 1;
#ifdef __SSE2__
        // Eight cells at a time: the species (the even 32-bit lanes) packed into bytes.
        for (; x + 7 <= maxX; x += 8) {
            const auto lanes = [&](int at) {
                return _mm_castps_si128(_mm_shuffle_ps(_mm_loadu_ps(reinterpret_cast<const float*>(row + at)),
                                                       _mm_loadu_ps(reinterpret_cast<const float*>(row + at + 2)),
                                                       _MM_SHUFFLE(2, 0, 2, 0)));
            };
            const __m128i words = _mm_packs_epi32(lanes(x), lanes(x + 4));
            _mm_storel_epi64(reinterpret_cast<__m128i*>(out + x), _mm_packus_epi16(words, words));
        }
#endif
        for (; x <= maxX; ++x)
            out[x] = static_cast<uint8_t>(row[x].Species);
    }
}

} // namespace quorrel
