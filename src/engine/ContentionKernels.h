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

// The generator states of a row's draws read off jump-ahead coefficients: those of the
// neighbour draw and of the probability draw of cell x are NeighbourMul[x - 1] * Seed +
// NeighbourAdd[x - 1] and DrawMul[x - 1] * Seed + DrawAdd[x - 1].
struct RowStates {
    const uint32_t* NeighbourMul = nullptr;
    const uint32_t* NeighbourAdd = nullptr;
    const uint32_t* DrawMul = nullptr;
    const uint32_t* DrawAdd = nullptr;
    uint32_t Seed = 0;
};

// Where a row's occupancy is written with its cells (OccupancyBits::RowBytes and
// SpeciesRowToWrite): byte (x - 1) / 8 of Bits has bit i set where cell x + i is occupied,
// Species[x + i] is its species (not written when null). Nothing when Bits is null.
struct OccupancyOut {
    uint8_t* Bits = nullptr;
    uint8_t* Species = nullptr;
};

// The same row with 512-bit vector instructions, only where Kernel512Available() says so:
// eight cells at a time, their generator states worked out in the loop rather than read
// from arrays, and the occupancy of columns 1..8 * (maxX / 8) written beside the cells (the
// last maxX % 8 columns are left to the caller). skipUniform and the result are those of
// ContentionRowWide, for groups of eight. Elsewhere it is the portable row.
int ContentionRow512(const Cell* prev, Cell* out, int maxX, const RowStates& states, const ContentionTable& table,
                     OccupancyOut occupancy = {}, bool skipUniform = true);

} // namespace quorrel
