#pragma once

#include "engine/Cell.h"
#include "params/ParameterSet.h"

#include <array>
#include <cstdint>

namespace quorrel {

// The largest number of cells that one death empties: MortalSize rounded.
int64_t MortalityPatchLimit(const ParameterSet& p);

// Mortality that empties single cells only (a patch limit of at most 1), a row at a time.
// Which cells draw is known before a row is drawn, so the state of the k-th occupied cell
// of a row is read off jump-ahead coefficients instead of a serial chain of draws. A step
// that has just written a row may apply it there, while the row is at hand.
class SingleCellMortality {
public:
    // Whether mortality is on and empties single cells only (a patch limit of at most 1).
    static bool Applies(const ParameterSet& p);

    // The species' draw bounds.
    void Prepare(const ParameterSet& p);

    // The plain row even where the vector one could run (for tests and benchmarks).
    void UseWideKernel(bool on) { allowWide_ = on; }

    // Applies mortality to the interior cells 1..maxX of a row; seed is the generator's
    // state before the row's first draw. Returns the state after its last draw.
    uint32_t Row(Cell* row, int maxX, uint32_t seed) const;

private:
    uint32_t RowWide(Cell* row, int maxX, uint32_t seed) const;

    std::array<uint64_t, MaxSpecies + 1> threshold_{};
    uint32_t bound_ = 0; // the largest threshold
    bool allowWide_ = true;
    bool wide_ = false;
};

} // namespace quorrel
