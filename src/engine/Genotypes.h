#pragma once

#include "engine/GenotypeGrid.h"

namespace quorrel {

// The genotype grids paired cell for cell with the landscape pair: the current grid with
// the current landscape, the previous grid (whose border ring the contention step reads)
// with the previous landscape.
struct Genotypes {
    GenotypeGrid Current;
    GenotypeGrid Previous;
};

} // namespace quorrel
