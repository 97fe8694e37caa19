#pragma once

#include "engine/GenotypeGrid.h"
#include "engine/LandscapeGrid.h"
#include "engine/Rng.h"
#include "engine/RngJump.h"
#include "params/ParameterSet.h"

#include <array>
#include <cstdint>
#include <memory>

namespace quorrel {

// The fast contention step of the variable-outcome model (VariableOutcomeRule). Each
// interior cell takes RandomInt(4) for its neighbour and one RandomReal; the states of a
// row come from jump-ahead coefficients, the way each species pair is decided from
// a table built by Prepare(). Only the cells that meet a neighbour of another species
// read genotypes, and only the cells taken over copy one. Both passes give
// exactly the landscape, genotypes and generator state of VariableOutcomeRuleLiteral().
class VariableContention {
public:
    VariableContention();

    // Builds the pair table; call whenever the parameters may have changed.
    void Prepare(const ParameterSet& p);

    // The step as stated: reads the previous landscape and genotypes (rings in place) and
    // writes every interior cell of the current landscape and genotype grid.
    void Run(const ParameterSet& p, const LandscapeGrid& previous, const GenotypeGrid& previousG,
             LandscapeGrid& current, GenotypeGrid& currentG, uint8_t* occupied, bool bounded, Rng& rng);

    // The same step without the copy of the genotypes to the previous grid: on entry the
    // interior of currentG holds the genotypes of the previous landscape and ring holds
    // their border ring. Only the genotypes of cells taken over by a neighbour are written;
    // a cell's old genotype stays readable until no later cell can need it.
    // In both, when occupied is given, occupied[k] records whether interior cell k (counted
    // row by row from 0) holds an individual afterwards. bounded tells that no Win and no
    // Loss in the genotypes read exceeds 100, so that a cell whose draw is not below the
    // probability of W + L = 200 needs no genotype read.
    void RunInPlace(const ParameterSet& p, const LandscapeGrid& previous, const GenotypeGrid& ring,
                    LandscapeGrid& current, GenotypeGrid& currentG, uint8_t* occupied, bool bounded, Rng& rng);

private:
    static constexpr int MaxRow = MaxLandscapeSide;
    static constexpr int TableSize = (MaxSpecies + 1) * (MaxSpecies + 1);

    // How invader n overgrows occupant o, for n * stride_ + o.
    struct PairRule {
        bool winVariable = false;  // W from the invader's genotype, else FixedWin
        bool lossVariable = false; // L from the occupant's genotype, else FixedLoss
        bool ownRate = false;      // the invader's own growth rate, else Rate
        int8_t fixedWin = 0;
        int8_t fixedLoss = 0;
        float rate = 0.0f;
        int16_t highestSum = 0; // the largest W + L with Win and Loss at most 100
    };

    template <bool InPlace>
    void Pass(const ParameterSet& p, const LandscapeGrid& previous, const GenotypeGrid& source,
              LandscapeGrid& current, GenotypeGrid& currentG, uint8_t* occupied, bool bounded, Rng& rng);

    // The staged genotypes of one row: cells taken over whose old genotype a later cell
    // may still read.
    struct Stage {
        OutcomeTriple* triples = nullptr;
        std::array<int16_t, MaxRow> columns{};
        int count = 0;
        int row = 0;
    };
    void Flush(Stage& stage, GenotypeGrid& currentG, int maxspec);

    std::array<PairRule, TableSize> rules_{};
    int stride_ = MaxSpecies + 1;
    double overGrowth_ = 0.0;
    RngJump<2 * MaxRow> jump_;
    std::array<std::array<uint32_t, 2 * MaxRow>, 2> states_{};
    std::unique_ptr<OutcomeTriple[]> stageStore_;
    std::array<Stage, 2> stages_{};

    // The cells of one row that meet a neighbour of another species, with where their W
    // and L are read (a genotype byte or the pair's fixed value), their growth factor and
    // whether they colonise an empty cell; then the cells taken over.
    std::array<int16_t, MaxRow> encounters_{};
    std::array<const int8_t*, MaxRow> winAt_{};
    std::array<const int8_t*, MaxRow> lossAt_{};
    std::array<float, MaxRow> rate_{};
    std::array<uint8_t, MaxRow> colonise_{};
    std::array<int16_t, MaxRow> taken_{};
};

} // namespace quorrel
