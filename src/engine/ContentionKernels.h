#pragma once

#include "engine/Cell.h"

#include <cstdint>

namespace quorrel {

// The per-generation probability table of the contention step, indexed by
// invader species * Stride + occupant species. The probability that invader n takes the
// cell is float(Factor * rate), rate being n's own GRate where RateMask is all ones and
// 1.0 elsewhere; this is the same double product that the literal rule evaluates.
struct ContentionTable {
    const double* Factor = nullptr;
    const uint32_t* RateMask = nullptr;
    int Stride = 0;
    // Factor negated where the rate is n's own GRate (and Factor is not 0), so that a
    // vector kernel reads the factor and the choice of rate in one load.
    const double* SignedFactor = nullptr;
};

// One row of the contention step: out[x] for x = 1..maxX from the previous landscape
// row prev (with its ring), given the neighbour state and the draw state of every cell
// (index x - 1). Both kernels give identical results.
void ContentionRowPortable(const Cell* prev, Cell* out, int maxX, const uint32_t* neighbourStates,
                           const uint32_t* drawStates, const ContentionTable& table);

// The same with 256-bit vector instructions; only where WideKernelAvailable() says so.
// Cells go four at a time; skipUniform copies the groups whose neighbours are all of their
// occupants' species without working out their probabilities, which pays where most
// groups are such (a landscape of large stands) and costs mispredicted branches where they
// are mixed with others. Either way the row is the same. Returns the number of such groups.
int ContentionRowWide(const Cell* prev, Cell* out, int maxX, const uint32_t* neighbourStates,
                      const uint32_t* drawStates, const ContentionTable& table, bool skipUniform = true);

} // namespace quorrel
