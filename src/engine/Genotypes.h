#pragma once

#include "engine/GenotypeGrid.h"

#include <cstddef>
#include <limits>

namespace quorrel {

// The pair of genotype grids of a run (each a GenotypeGrid), paired cell for cell with the
// landscape pair (Landscapes): the current grid with
// the current landscape, the previous grid (whose border ring the contention step reads)
// with the previous landscape. Both hold records of one pool, so that genotypes move
// between them as record numbers.
struct Genotypes {
    GenotypeGrid Current;
    GenotypeGrid Previous;

    // Both grids and their pool for a MaxX x MaxY landscape, with windows of the pool that
    // each take a stored interior whole (GenotypeGrid::LoadInteriorWith); false, and nothing
    // held, when the storage cannot be obtained or would exceed byteBudget.
    bool Allocate(int maxX, int maxY, int maxspec, std::size_t byteBudget = std::numeric_limits<std::size_t>::max(),
                  int windows = 0);
    void Free();
    // The bytes that Allocate takes for such a landscape.
    static std::size_t BytesFor(int maxX, int maxY, int maxspec, int windows = 0);
    std::size_t Bytes() const;
};

} // namespace quorrel
