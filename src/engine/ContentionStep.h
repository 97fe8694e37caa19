#pragma once

#include "engine/ContentionKernels.h"
#include "engine/WideKernel.h"
#include "engine/LandscapeGrid.h"
#include "engine/Rng.h"
#include "engine/RowSteps.h"
#include "params/ParameterSet.h"

#include <array>
#include <cstdint>

namespace quorrel {

// The contention step of the fixed-outcome model (FixedOutcomeRule): every interior cell
// of the current landscape is written from the previous landscape, whose border ring must
// be in place. Each cell takes RandomInt(4) for its neighbour, then one RandomReal.
//
// Run() is the fast pass. The generator states of a row are known in advance (two per
// cell), so they come from jump-ahead coefficients in one vectorisable loop; the
// probability comes from a per-(invader, occupant) table built by Prepare(). It gives
// exactly the landscape and generator state of FixedOutcomeRuleLiteral().
class ContentionStep {
public:
    ContentionStep();

    // Builds the probability table; call whenever the parameters may have changed.
    void Prepare(const ParameterSet& p);

    // Each row written is followed by the given row steps.
    void Run(const GParamStruct& g, const LandscapeGrid& previous, LandscapeGrid& current, Rng& rng,
             RowSteps steps = {});

    // The widest vector kernel the processor has is used (512-bit, else 256-bit); tests
    // switch them off to check the portable kernel too, or the 512-bit one alone to check
    // the 256-bit one. The 512-bit kernel writes the occupancy bits of the row steps with
    // the cells, where no mortality comes between.
    void UseWideKernel(bool on)
    {
        wide_ = on && WideKernelAvailable();
        kernel512_ = wide_ && allow512_ && Kernel512Available();
    }
    void UseKernel512(bool on)
    {
        allow512_ = on;
        UseWideKernel(wide_);
    }
    bool UsesWideKernel() const { return wide_; }
    bool UsesKernel512() const { return kernel512_; }

private:
    static constexpr int MaxRow = MaxLandscapeSide;
    static constexpr int TableSize = (MaxSpecies + 1) * (MaxSpecies + 1);

    std::array<double, TableSize> factor_{};
    std::array<uint32_t, TableSize> rateMask_{};
    std::array<double, TableSize> signedFactor_{};
    int stride_ = MaxSpecies + 1;
    bool wide_ = false;
    bool allow512_ = true;
    bool kernel512_ = false;

    // The state of the neighbour draw and of the probability draw of cell x, as
    // Mul * (state before the row) + Add.
    std::array<uint32_t, MaxRow> neighbourMul_{}, neighbourAdd_{}, drawMul_{}, drawAdd_{};
    std::array<uint32_t, MaxRow> neighbourStates_{}, drawStates_{};
};

// The contention step written as plainly as it reads, for reference and tests.
void FixedOutcomeRuleLiteral(const ParameterSet& p, const LandscapeGrid& previous, LandscapeGrid& current, Rng& rng);

// The probability that invader n takes the cell of occupant o (species and growth rate).
float ContentionProbability(const ParameterSet& p, const Cell& n, const Cell& o);

} // namespace quorrel
