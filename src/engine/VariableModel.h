#pragma once

#include "engine/BaseModel.h"
#include "engine/Dialogs.h"
#include "engine/Genotypes.h"
#include "engine/InitProgress.h"
#include "engine/Landscapes.h"
#include "engine/Rng.h"
#include "engine/VariableContention.h"
#include "engine/VariableRecruitment.h"
#include "params/ParameterSet.h"

#include <cstddef>
#include <cstdint>
#include <limits>

namespace quorrel {

// The variable-outcome model: the base model with an outcome genotype carried by every
// individual. It works on the parameter set, the landscape pair and the generator it is
// given, through a BaseModel for the steps it shares; it owns the genotype grids (from
// SeedGenotypes to FreeGenotypes) and the run's outcome ranges.
//
// A run: StartRun(), SetInitCover(progress), SeedGenotypes(true, progress), then
// Generation(g) for g = 1..Maxgen, then FreeGenotypes(). At the end of the run the driver
// recomputes GRateFractions (UpdateGRateFractions), which drops the widening fed back by
// recruitment.
//
// Generation() is the fast path; GenerationLiteral() is the plain reference that it must
// match bit for bit (landscape, current genotypes, ranges and generator state). The fast
// path exchanges the current and previous grids instead of copying them (without mean
// field), so after Generation() the interior of the previous grids is scratch.
class VariableModel {
public:
    VariableModel(ParameterSet& params, Landscapes& landscapes, Rng& rng, Dialogs& dialogs);

    // Run start: the base model's (ObservedGRateRanges := GRateFractions, the mean-field
    // permutation), then SeedOutcomeRanges := ObservedOutcomeRanges := VariableOutcomeVector.
    void StartRun();
    bool SetInitCover(InitProgress& progress);

    // allocate: create the storage for the current landscape size and species count (false
    // and nothing allocated when it cannot be had: the information box has been shown);
    // otherwise reuse the storage of an earlier call. Every triple of both grids then
    // becomes unset.
    bool AllocateGenotypes(bool allocate);
    // AllocateGenotypes, then every individual of the current landscape gets its variable
    // entries seeded. False when storage failed, or the user cancelled (storage released).
    bool SeedGenotypes(bool allocate, InitProgress& progress);
    // Releases both grids; without storage this is an internal error.
    void FreeGenotypes();
    bool HasGenotypes() const { return genotypes_.Current.Allocated() && genotypes_.Previous.Allocated(); }

    void Generation(int g);
    void GenerationLiteral(int g);
    // The portable kernels of the fast path even where vector ones could run (for tests and
    // benchmarks).
    void UseWideKernel(bool on);

    // The single steps, for the other models and for tests.
    void CopyGenotypesToPrevious();
    void CopyGenotypesToPreviousLiteral();
    void SetGenotypeBorder();
    void VariableOutcomeRule();
    void VariableOutcomeRuleLiteral();
    void ClearEmptyGenotypes();
    void RecruitWithMutation();
    // One new genotype entry and one mutation, on the model's generator.
    OutcomeTriple SeedTriple(int species);
    void MutateTriple(OutcomeTriple& t);

    // The current genotype of the individual at (x, y): entry j - 1 is its triple against
    // opponent j. Unset entries have Win -1.
    const OutcomeTriple* Genotype(int x, int y) const { return genotypes_.Current.Genotype(x, y); }
    const Genotypes& Grids() const { return genotypes_; }
    // Direct access for loading a stored landscape's genotypes and for tests.
    Genotypes& EditGrids();

    OutcomeRanges Ranges;
    VariableOutcomeTable& SeedOutcomeRanges() { return Ranges.Seed; }
    VariableOutcomeTable& ObservedOutcomeRanges() { return Ranges.Observed; }
    GRateRanges& ObservedGRateRanges() { return base_.ObservedGRateRanges; }

    BaseModel& Base();

    // At most this many bytes of genotype storage are taken (both grids together); for
    // tests of the failure path.
    std::size_t GenotypeByteBudget = std::numeric_limits<std::size_t>::max();

private:
    // Both grids must exist for the current landscape size and species count.
    void RequireGenotypes() const;

    ParameterSet& params_;
    Landscapes& landscapes_;
    Rng& rng_;
    Dialogs& dialogs_;
    BaseModel base_;
    Genotypes genotypes_;
    VariableContention contention_;
};

} // namespace quorrel
