#pragma once

#include "engine/Cell.h"
#include "params/ParameterSet.h"

#include <array>
#include <cstddef>
#include <cstdint>

namespace quorrel {

// The cells of one row of the variable-outcome contention step that meet a neighbour of
// another species (encounters), in column order, with what deciding them reads: the
// column, the pair (invader species * Stride + occupant species), the invader's growth
// rate, the record numbers of the invader's and the occupant's genotypes and the draw
// state. The arrays have room for a few entries beyond the row, which the vector kernel
// writes past the last encounter.
struct Encounters {
    static constexpr int Room = MaxLandscapeSide + 8;

    int Count = 0;
    std::array<int32_t, Room> Column{};
    std::array<int32_t, Room> Pair{};
    std::array<float, Room> Rate{};
    std::array<uint32_t, Room> InvaderId{};
    std::array<uint32_t, Room> OccupantId{};
    std::array<uint32_t, Room> Draw{};
};

// Lists the encounters of a row: prev is the previous landscape row with its ring,
// prevIds its genotype record numbers (idWidth positions per row), states the neighbour
// and the draw state of every cell, at states[2 * (x - 1)] and states[2 * (x - 1) + 1].
// Both kernels give identical lists.
void ListEncountersPortable(const Cell* prev, const uint32_t* prevIds, std::ptrdiff_t idWidth, int maxX,
                            const uint32_t* states, int stride, Encounters& out);

// The same with 256-bit vector instructions; only where WideKernelAvailable() says so.
void ListEncountersWide(const Cell* prev, const uint32_t* prevIds, std::ptrdiff_t idWidth, int maxX,
                        const uint32_t* states, int stride, Encounters& out);

} // namespace quorrel
