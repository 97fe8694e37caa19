#pragma once

#include "engine/LandscapeGrid.h"

#include <cstdint>
#include <vector>

namespace quorrel {

// The landscape pair (two LandscapeGrids) shared by every model: the current landscape, which every process
// of a generation writes and every output reads, and the previous landscape, the copy
// taken at the start of a generation (with its border ring) that the contention step reads.
struct Landscapes {
    LandscapeGrid CurrentLandscape;
    LandscapeGrid PreviousLandscape;
    // A permutation of the interior cell numbers while mean field is on; empty otherwise.
    std::vector<int32_t> MeanFieldPermutation;
};

} // namespace quorrel
