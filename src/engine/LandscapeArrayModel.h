#pragma once

#include "engine/ArraySettings.h"
#include "engine/Dialogs.h"
#include "engine/GRateVects.h"
#include "engine/InitProgress.h"
#include "engine/LandscapeArrayStores.h"
#include "engine/Landscapes.h"
#include "engine/Model.h"
#include "engine/Rng.h"
#include "engine/VOTCVects.h"
#include "params/ParameterSet.h"

#include <filesystem>
#include <memory>

namespace quorrel {

// The model side of a landscape array, fixed or variable outcome: the per-landscape tables,
// the stores, and one landscape's generation: its previous state loaded, the model's Step,
// saved. Only one landscape is in the landscape pair (and genotype grids) at a time; the
// others are in their stores.
//
// A run: SetTables(); StartRun(folder); InitialiseLandscape(r, c) for every landscape row
// by row; then per generation AdvanceStores() and StepLandscape(r, c, g) for every
// landscape; EndRun() at the end, whichever way the run ends (the destructor does the same
// quietly when EndRun was not reached).
class LandscapeArrayModel {
public:
    LandscapeArrayModel(const ParameterSet& params, Landscapes& landscapes, Rng& rng, Dialogs& dialogs,
                        const ArraySettings& settings, OutcomeKind kind);
    ~LandscapeArrayModel();
    LandscapeArrayModel(const LandscapeArrayModel&) = delete;
    LandscapeArrayModel& operator=(const LandscapeArrayModel&) = delete;

    // SetGRateVects, then for variable outcome SetVOTCVects; false when either failed
    // (its message shown; whatever was allocated is released).
    bool SetTables();
    // The stores of every landscape in folder, the mean-field permutation, the run's ranges.
    void StartRun(const std::filesystem::path& folder);
    // Landscape (r, c) at generation 0: the run's GRateFractions := its GRateVect; the initial
    // landscape; saved. Variable outcome: the seed ranges := its VOTCVect, the genotypes
    // seeded (their storage made for landscape (1, 1) and reused), saved. False when the
    // initial landscape or the genotypes failed or were cancelled.
    bool InitialiseLandscape(int r, int c, InitProgress& progress);
    // The start of a generation: every previous state := the current state.
    void AdvanceStores();
    // Landscape (r, c) in generation g: its previous state and its growth-rate table loaded,
    // contention, mortality, disturbance, then in multiples of InfluxTimeStep the influx
    // between landscapes (when InfluxBetween is on), otherwise recruitment within (when
    // Influx is on); saved. The contention step reads of GRateFractions only whether a rate
    // is variable, which every landscape's table keeps, so the table is loaded first.
    void StepLandscape(int r, int c, int g);
    // The literal steps of the model instead of its fast ones (for tests); set before
    // StartRun, it also has the genotypes loaded record by record.
    void UseLiteralSteps(bool on) { literal_ = on; }
    // The current state of (r, c) into CurrentLandscape (and the current genotype grid).
    void LoadCurrent(int r, int c);
    // The tables released, the scratch files deleted, the genotype storage released. Failures are raised after every step is done.
    void EndRun();

    bool VariableOutcome() const { return model_.Kind() == OutcomeKind::Variable; }
    const ArraySettings& Settings() const { return settings_; }
    const GRateVects& GRateTables() const { return grates_; }
    const VOTCVects& OutcomeTables() const { return votcs_; }
    LandscapeArrayStores& Stores() { return *stores_; }
    Model& LandscapeModel() { return model_; }
    // The current genotype grid (empty for a fixed-outcome array).
    const GenotypeGrid& CurrentGenotypes() const;

private:
    const ParameterSet& params_;
    Landscapes& landscapes_;
    Rng& rng_;
    Dialogs& dialogs_;
    ArraySettings settings_;
    Model model_;
    GRateVects grates_;
    VOTCVects votcs_;
    std::unique_ptr<LandscapeArrayStores> stores_;
    GenotypeGrid noGenotypes_;
    bool ended_ = false;
    bool literal_ = false;
};

} // namespace quorrel
