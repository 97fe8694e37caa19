#include "engine/SpeciesMap.h"

namespace quorrel {

void SpeciesMap::Reserve()
{
    constexpr std::size_t cells = std::size_t(LandscapeGrid::Size) * LandscapeGrid::Size;
    if (species_.size() < cells)
        species_.resize(cells);
}

void SpeciesMap::Build(const LandscapeGrid& grid, int maxX, int maxY)
{
    Reserve(); // allocates only when the run was not started by StartRun
    for (int y = 1; y <= maxY; ++y) {
        const Cell* row = grid.Row(y);
        uint8_t* out = species_.data() + std::size_t(y) * LandscapeGrid::Size;
        for (int x = 1; x <= maxX; ++x)
            out[x] = static_cast<uint8_t>(row[x].Species);
    }
}

} // namespace quorrel
