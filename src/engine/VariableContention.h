#pragma once

#include "engine/Encounters.h"
#include "engine/GenotypeGrid.h"
#include "engine/LandscapeGrid.h"
#include "engine/Rng.h"
#include "engine/RngJump.h"
#include "engine/RowSteps.h"
#include "params/ParameterSet.h"

#include <array>
#include <cstdint>

namespace quorrel {

// The fast contention step of the variable-outcome model (VariableOutcomeRule). Each
// interior cell takes RandomInt(4) for its neighbour and one RandomReal; the states of a
// row come from jump-ahead coefficients, the way each species pair is decided from a table
// built by Prepare(). Genotypes move as record numbers; only the cells that meet a
// neighbour of another species read a Win and a Loss. It gives exactly the landscape,
// genotypes and generator state of VariableOutcomeRuleLiteral().
class VariableContention {
public:
    VariableContention();

    // Builds the pair table; Run() calls it.
    void Prepare(const ParameterSet& p);

    // The step: reads the previous landscape and genotypes (rings in place) and writes every
    // interior cell of the current landscape and genotype grid (on the same pool), each
    // row followed by the given row steps.
    void Run(const ParameterSet& p, const LandscapeGrid& previous, const GenotypeGrid& previousG,
             LandscapeGrid& current, GenotypeGrid& currentG, Rng& rng, RowSteps steps = {});

    // The portable kernel even where a vector one could run (for tests and benchmarks).
    void UseWideKernel(bool on);
    bool UsesWideKernel() const { return wide_; }

private:
    static constexpr int MaxRow = MaxLandscapeSide;
    static constexpr int TableSize = (MaxSpecies + 1) * (MaxSpecies + 1);

    // How invader n takes the cell of occupant o, for n * stride_ + o: colonisation of an
    // empty cell (o = 0) at n's own rate, or overgrowth.
    struct PairRule {
        bool colonise = false;
        bool winVariable = false;  // W from the invader's genotype, else fixedWin
        bool lossVariable = false; // L from the occupant's genotype, else fixedLoss
        bool ownRate = false;      // the invader's own growth rate, else rate
        int8_t fixedWin = 0;
        int8_t fixedLoss = 0;
        int16_t winAt = 0;  // the byte of W in the invader's record: Win against o
        int16_t lossAt = 0; // the byte of L in the occupant's record: Loss against n
        float rate = 0.0f;
    };
    // W + L lies in -256..254; strength_[W + L + SumOffset] is OverGRate * 0.01 * (W + L)
    // * 0.005, evaluated as the rule states.
    static constexpr int SumOffset = 256;

    std::array<PairRule, TableSize> rules_{};
    int stride_ = MaxSpecies + 1;
    bool wide_ = false;
    std::array<double, 2 * SumOffset> strength_{};
    RngJump<2 * MaxRow> jump_;
    std::array<uint32_t, 2 * MaxRow> states_{};

    // The encounters of one row, with where their W and L are read, their growth factor
    // and whether they colonise an empty cell; then the cells taken over.
    Encounters encounters_;
    std::array<const int8_t*, MaxRow> winAt_{};
    std::array<const int8_t*, MaxRow> lossAt_{};
    std::array<float, MaxRow> rate_{};
    std::array<uint8_t, MaxRow> colonise_{};
    std::array<int16_t, MaxRow> taken_{};
};

} // namespace quorrel
