#pragma once

#include "engine/GenotypeGrid.h"
#include "engine/LandscapeGrid.h"

#include <cstdint>

namespace quorrel {

// The per-record cell tallies of the outcome statistics, sixteen cells at a time.
struct CellTallies {
    // Per record its species << shift | its cells, 0 for a record not met.
    uint32_t* tally = nullptr;
    // One flag per block of blockSize records, set for (at least) every block that holds a
    // tally.
    uint8_t* blocks = nullptr;
    uint32_t blockSize = 1;
    int shift = 0;
};

// True where this processor runs TallyCells512 (compiled in where QRL_WIDE_KERNEL is).
bool TallyCells512Available();

// Counts the cells 1..maxX, 1..maxY into the tallies: a cell of a species 1..n whose record
// is not the unset one adds one to its record's tally and puts its species there. speciesMet
// gains bit s for each species s met and bit 0 for the other cells. Returns false as soon as
// a record is met with two species; the tallies then hold nothing to read, but every tally
// written lies in a block flagged. Record numbers stay below 2^shift (at most 2^26), species
// below 63.
bool TallyCells512(const LandscapeGrid& landscape, const GenotypeGrid& genotypes, int maxX, int maxY, uint32_t n,
                   const CellTallies& into, uint64_t& speciesMet);

} // namespace quorrel
