#pragma once

#include "engine/LandscapeGrid.h"
#include "engine/UninitialisedArray.h"
#include "params/ParameterSet.h"

#include <cstdint>

namespace quorrel {

// The species of every interior cell of a landscape, one byte a cell at the positions of
// LandscapeGrid. A pass that probes many random cells (the parents of closed recruits)
// reads this eighth of the landscape's size instead of the cells themselves, so that its
// probes stay in the processor's cache. The pass keeps it up to date as it fills cells.
class SpeciesMap {
public:
    static_assert(MaxSpecies <= 255, "a species must fit in a byte");

    // Room for the largest landscape (outside generations).
    void Reserve();
    // The species of cells 1..maxX of rows 1..maxY of grid.
    void Build(const LandscapeGrid& grid, int maxX, int maxY);

    int operator()(int x, int y) const { return species_[static_cast<std::size_t>(y * LandscapeGrid::Size + x)]; }
    void Set(int x, int y, int species)
    {
        species_[static_cast<std::size_t>(y * LandscapeGrid::Size + x)] = static_cast<uint8_t>(species);
    }

private:
    UninitialisedArray<uint8_t> species_;
};

} // namespace quorrel
