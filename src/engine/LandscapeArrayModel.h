#pragma once

#include "engine/ArraySettings.h"
#include "engine/BaseModel.h"
#include "engine/Dialogs.h"
#include "engine/GRateVects.h"
#include "engine/InitProgress.h"
#include "engine/LandscapeArrayStores.h"
#include "engine/Landscapes.h"
#include "engine/Rng.h"
#include "engine/VOTCVects.h"
#include "engine/VariableModel.h"
#include "params/ParameterSet.h"

#include <filesystem>
#include <memory>
#include <optional>

namespace quorrel {

// The model side of a landscape array, fixed or variable outcome: the per-landscape tables,
// the stores, and the steps of one landscape in one generation. Only one landscape is in
// the landscape pair (and genotype grids) at a time; the others are in their stores.
//
// A run: SetTables(); StartRun(folder); InitialiseLandscape(r, c) for every landscape row
// by row; then per generation AdvanceStores() and StepLandscape(r, c, g) for every
// landscape; EndRun() at the end, whichever way the run ends (the destructor does the same
// quietly when EndRun was not reached).
class LandscapeArrayModel {
public:
    LandscapeArrayModel(ParameterSet& params, Landscapes& landscapes, Rng& rng, Dialogs& dialogs,
                        const ArraySettings& settings, bool variableOutcome);
    ~LandscapeArrayModel();
    LandscapeArrayModel(const LandscapeArrayModel&) = delete;
    LandscapeArrayModel& operator=(const LandscapeArrayModel&) = delete;

    // SetGRateVects, then for variable outcome SetVOTCVects; false when either failed
    // (its message shown; whatever was allocated is released).
    bool SetTables();
    // The stores of every landscape in folder, the mean-field permutation, the run's ranges.
    void StartRun(const std::filesystem::path& folder);
    // Landscape (r, c) at generation 0: GRateFractions := its GRateVect; the initial
    // landscape; saved. Variable outcome: the seed ranges := its VOTCVect, the genotypes
    // seeded (their storage made for landscape (1, 1) and reused), saved. False when the
    // initial landscape or the genotypes failed or were cancelled.
    bool InitialiseLandscape(int r, int c, InitProgress& progress);
    // The start of a generation: every previous state := the current state.
    void AdvanceStores();
    // Landscape (r, c) in generation g: loaded, contention, mortality, disturbance, its
    // growth-rate table, then in multiples of InfluxTimeStep the influx between landscapes
    // (when InfluxBetween is on), otherwise recruitment within (when Influx is on); saved.
    void StepLandscape(int r, int c, int g);
    // The current state of (r, c) into CurrentLandscape (and the current genotype grid).
    void LoadCurrent(int r, int c);
    // GRateFractions rebuilt from the parameter set, the tables released, the scratch files
    // deleted, the genotype storage released. Failures are raised after every step is done.
    void EndRun();

    bool VariableOutcome() const { return variable_.has_value(); }
    const ArraySettings& Settings() const { return settings_; }
    const GRateVects& GRateTables() const { return grates_; }
    const VOTCVects& OutcomeTables() const { return votcs_; }
    LandscapeArrayStores& Stores() { return *stores_; }
    BaseModel& Base();
    // The variable-outcome model; only for a variable-outcome array.
    VariableModel& Variable() { return *variable_; }
    // The current genotype grid (empty for a fixed-outcome array).
    const GenotypeGrid& CurrentGenotypes() const;

private:
    ParameterSet& params_;
    Landscapes& landscapes_;
    Rng& rng_;
    Dialogs& dialogs_;
    ArraySettings settings_;
    std::optional<BaseModel> fixed_;
    std::optional<VariableModel> variable_;
    GRateVects grates_;
    VOTCVects votcs_;
    std::unique_ptr<LandscapeArrayStores> stores_;
    GenotypeGrid noGenotypes_;
    bool ended_ = false;
};

} // namespace quorrel
