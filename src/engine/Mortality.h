#pragma once

#include "engine/LandscapeGrid.h"
#include "engine/Rng.h"
#include "params/ParameterSet.h"

#include <array>
#include <cstdint>
#include <vector>

namespace quorrel {

// Mortality (ApplyMortality): in row order each occupied cell draws one RandomReal and
// dies below its species' probability, taking with it a breadth-first patch of connected
// individuals of its species of at most MortalSize cells. Nothing happens while
// MortalSize is not positive.
// Mortality that empties single cells only (a patch limit of at most 1), a row at a time.
// Which cells draw is known before a row is drawn, so the state of the k-th occupied cell
// of a row is read off jump-ahead coefficients instead of a serial chain of draws. A step
// that has just written a row may apply it there, while the row is at hand.
class SingleCellMortality {
public:
    // Whether mortality is on and empties single cells only.
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

class MortalityPass {
public:
    // Room for patches on a landscape of the given number of cells (at run start).
    void Reserve(int cells);

    void Apply(const ParameterSet& p, LandscapeGrid& grid, Rng& rng);
    void UseWideKernel(bool on) { single_.UseWideKernel(on); }

private:
    void Spread(const GParamStruct& g, LandscapeGrid& grid, int x, int y, int32_t species, int64_t limit);

    // Cells killed in the current and the next wave of a patch, packed as y * 1024 + x.
    std::vector<int32_t> wave_;
    std::vector<int32_t> next_;
    SingleCellMortality single_;
};

// The same pass written as plainly as it reads, for reference and tests.
void ApplyMortalityLiteral(const ParameterSet& p, LandscapeGrid& grid, Rng& rng);

} // namespace quorrel
