#pragma once

#include "engine/ContentionStep.h"
#include "engine/Dialogs.h"
#include "engine/Disturbance.h"
#include "engine/Genotypes.h"
#include "engine/InitProgress.h"
#include "engine/Landscapes.h"
#include "engine/Mortality.h"
#include "engine/OutcomeKind.h"
#include "engine/Recruitment.h"
#include "engine/Rng.h"
#include "engine/RowSteps.h"
#include "engine/VariableContention.h"
#include "engine/VariableRecruitment.h"
#include "params/ParameterSet.h"

#include <cstddef>
#include <limits>
#include <memory>

namespace quorrel {

// The model of one landscape: its working state and its generation. It reads the parameter
// set it is given and never writes it; it works on the landscape pair and the generator it
// is given. It owns the run's growth-rate fractions (read from the parameter set at the start
// of a run; recruitment widens them, a landscape array loads them per landscape), the run's
// observed growth-rate ranges and the scratch stores of the fast passes (allocated here so
// that a generation allocates nothing). With variable outcomes it also has a genotype
// layer: the genotype grids (from SeedGenotypes to FreeGenotypes), the variable contention
// step and the run's outcome ranges. With fixed outcomes there is no genotype layer, and
// the model is exactly the fixed-outcome model.
//
// A single run: StartRun(), SetInitialState(progress), then Generation(g) for g = 1..Maxgen,
// then FreeGenotypes() with variable outcomes. A landscape of an array loads its previous
// state into the previous grids, then Step().
//
// Generation() and Step() are the fast paths; GenerationLiteral() and StepLiteral() are the
// plain references that they must match bit for bit (landscape, genotypes, ranges and
// generator state). Without mean field the fast generation exchanges the current and
// previous grids instead of copying them, so hold the grids by reference, not pointers into
// their cells, across a generation; after it the interior of the previous grids is scratch.
class Model {
public:
    Model(const ParameterSet& params, Landscapes& landscapes, Rng& rng, Dialogs& dialogs,
          OutcomeKind kind = OutcomeKind::Fixed);
    ~Model();
    Model(const Model&) = delete;
    Model& operator=(const Model&) = delete;

    OutcomeKind Kind() const { return layer_ ? OutcomeKind::Variable : OutcomeKind::Fixed; }

    // Run start: ReadParameters(); the mean-field permutation gets MaxX * MaxY entries
    // 0, 1, 2, ... when MeanField is on and none otherwise; the scratch stores are sized for
    // the landscape.
    void StartRun();
    // The run's growth-rate fractions and ObservedGRateRanges := GRateFractions of the
    // parameter set; with variable outcomes the seed and observed outcome ranges :=
    // VariableOutcomeVector.
    void ReadParameters();
    // The run's growth-rate fractions, from which individuals draw their rates (a landscape
    // array loads them per landscape). Whether a species' rate is variable is read from the
    // parameter set: the run's fractions keep it.
    GRateRanges& GRateFractions() { return fractions_; }
    const GRateRanges& GRateFractions() const { return fractions_; }

    // The initial landscape; false when cancelled or the cover file was unreadable.
    bool SetInitCover(InitProgress& progress);
    // The initial landscape, then with variable outcomes its genotypes seeded (their storage
    // allocated when allocate, reused otherwise). False when either failed or was cancelled.
    bool SetInitialState(InitProgress& progress, bool allocate = true);

    // One generation g: previous := current, then Step(true); with fixed outcomes the
    // recruits' widening of the growth-rate ranges is fed back into the run's GRateFractions.
    void Generation(int g);
    void GenerationLiteral(int g);
    // The generation from the previous state in place: border, contention, mortality,
    // disturbance, then, when recruit, recruitment (Influx on). Variable outcomes: the
    // genotypes of the cells left empty are cleared.
    void Step(bool recruit);
    void StepLiteral(bool recruit);

    // The single steps, for the landscape array and for tests.
    void ClearLandscape();
    void CopyLandscapeToPrevious();
    void SetLandscapeBorder();
    void FixedOutcomeRule();
    void FixedOutcomeRuleLiteral();
    void ApplyMortality();
    void ApplyMortalityLiteral();
    void ApplyDisturbance();
    void ApplyDisturbanceLiteral();
    void ApplyRecruitment();
    void ApplyRecruitmentLiteral();
    // The run's GRateFractions of every variable-rate species := its ObservedGRateRanges entry.
    void FeedBackGRateRanges();
    // The steps that a generation's contention step applies row by row: single-cell
    // mortality where mortality empties single cells only; with fixed outcomes and
    // recruitment to follow, the occupancy bits of each row, which the passes after the
    // step keep up to date; with variable outcomes, single-cell mortality, no disturbance
    // and recruitment to follow, the listing of the empty cells for recruitment. Without
    // single-cell mortality, mortality is a pass of its own.
    RowSteps PrepareRowSteps(bool recruit = true);
    float DrawGRate(int s);

    // The fast steps use 256-bit instructions where the processor has them; off, they use
    // the portable kernels (same results).
    void UseWideKernel(bool on);
    bool UsesWideKernel() const { return contention_.UsesWideKernel(); }
    // Off, the contention step uses the 256-bit kernel where it would use the 512-bit one.
    void UseKernel512(bool on) { contention_.UseKernel512(on); }
    bool UsesKernel512() const { return contention_.UsesKernel512(); }

    // The run's per-species growth-rate ranges, widened by mutation of open recruits.
    GRateRanges& ObservedGRateRanges() { return observedGRates_; }
    const GRateRanges& ObservedGRateRanges() const { return observedGRates_; }

    // The genotype layer (variable outcomes only; without it these are internal errors).
    //
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
    bool HasGenotypes() const;
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
    const OutcomeTriple* Genotype(int x, int y) const { return Layer().grids.Current.Genotype(x, y); }
    const Genotypes& Grids() const { return Layer().grids; }
    // Direct access for loading a stored landscape's genotypes and for tests.
    Genotypes& EditGrids() { return Layer().grids; }
    OutcomeRanges& Ranges() { return Layer().ranges; }
    const OutcomeRanges& Ranges() const { return Layer().ranges; }
    VariableOutcomeTable& SeedOutcomeRanges() { return Layer().ranges.Seed; }
    VariableOutcomeTable& ObservedOutcomeRanges() { return Layer().ranges.Observed; }

    // At most this many bytes of genotype storage are taken (both grids together); for
    // tests of the failure path.
    std::size_t GenotypeByteBudget = std::numeric_limits<std::size_t>::max();
    // Windows of the genotype pool that each take a stored genotype grid whole (a landscape
    // array's loads); 0 for a run of one landscape.
    int GenotypeWindows = 0;

private:
    struct GenotypeLayer {
        Genotypes grids;
        VariableContention contention;
        OutcomeRanges ranges;
    };

    GenotypeLayer& Layer();
    const GenotypeLayer& Layer() const;
    // Both grids must exist for the current landscape size and species count.
    void RequireGenotypes() const;
    void MeanFieldCopy();

    const ParameterSet& params_;
    GRateRanges fractions_{};
    Landscapes& landscapes_;
    Rng& rng_;
    Dialogs& dialogs_;
    GRateRanges observedGRates_{};
    ContentionStep contention_;
    MortalityPass mortality_;
    SingleCellMortality singleCells_;
    EmptyCells empties_;
    OccupancyBits occupancy_;
    DisturbancePass disturbance_;
    RecruitmentPass recruitment_;
    std::unique_ptr<GenotypeLayer> layer_;
};

} // namespace quorrel
