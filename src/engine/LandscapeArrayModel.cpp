#include "engine/LandscapeArrayModel.h"

#include "engine/InfluxBetweenLandscapes.h"

#include <exception>

namespace quorrel {

LandscapeArrayModel::LandscapeArrayModel(ParameterSet& params, Landscapes& landscapes, Rng& rng, Dialogs& dialogs,
                                         const ArraySettings& settings, bool variableOutcome)
    : params_(params), landscapes_(landscapes), rng_(rng), dialogs_(dialogs), settings_(settings)
{
    if (variableOutcome)
        variable_.emplace(params, landscapes, rng, dialogs);
    else
        fixed_.emplace(params, landscapes, rng, dialogs);
}

LandscapeArrayModel::~LandscapeArrayModel()
{
    if (ended_)
        return;
    try {
        EndRun();
    } catch (const std::exception&) {
        // Nothing is left to release; the failure was the run's to report.
    }
}

BaseModel& LandscapeArrayModel::Base()
{
    return variable_ ? variable_->Base() : *fixed_;
}

const GenotypeGrid& LandscapeArrayModel::CurrentGenotypes() const
{
    return variable_ ? variable_->Grids().Current : noGenotypes_;
}

bool LandscapeArrayModel::SetTables()
{
    if (!grates_.SetGRateVects(settings_, params_, rng_, dialogs_))
        return false;
    if (variable_ && !votcs_.SetVOTCVects(settings_, params_, rng_, dialogs_)) {
        grates_.FreeGRateVects();
        return false;
    }
    return true;
}

void LandscapeArrayModel::StartRun(const std::filesystem::path& folder)
{
    ended_ = false;
    stores_ = std::make_unique<LandscapeArrayStores>(params_, landscapes_, rng_, folder, settings_.NumOfRow,
                                                     settings_.NumOfCol, variable_.has_value());
    if (variable_) {
        variable_->StartRun();
        stores_->AttachGenotypes(variable_->EditGrids());
    } else {
        fixed_->StartRun();
    }
}

bool LandscapeArrayModel::InitialiseLandscape(int r, int c, InitProgress& progress)
{
    grates_.LoadInto(r, c, params_.GRateFractions);
    if (!Base().SetInitCover(progress))
        return false;
    stores_->SaveLandscape(r, c);
    if (!variable_)
        return true;
    votcs_.LoadInto(r, c, variable_->SeedOutcomeRanges());
    if (!variable_->SeedGenotypes(r == 1 && c == 1, progress))
        return false;
    stores_->SaveGenotypes(r, c);
    return true;
}

void LandscapeArrayModel::AdvanceStores()
{
    stores_->AdvanceLandscapeStores();
    if (variable_)
        stores_->AdvanceGenotypeStores();
}

void LandscapeArrayModel::StepLandscape(int r, int c, int g)
{
    const GParamStruct& p = params_.GParamRec;
    BaseModel& base = Base();
    stores_->LoadLandscape(r, c, StoredState::Previous);
    if (variable_)
        stores_->LoadGenotypes(r, c, StoredState::Previous);
    base.SetLandscapeBorder();
    if (variable_) {
        variable_->SetGenotypeBorder();
        variable_->VariableOutcomeRule();
    } else {
        base.FixedOutcomeRule();
    }
    base.ApplyMortality();
    if (p.DisturbProb > ProbabilityOn)
        base.ApplyDisturbance();
    if (variable_)
        variable_->ClearEmptyGenotypes();
    grates_.LoadInto(r, c, params_.GRateFractions);
    if (g % settings_.InfluxTimeStep == 0) {
        if (settings_.InfluxBetween > ProbabilityOn)
            InfluxBetweenLandscapes(params_, settings_, *stores_, landscapes_.CurrentLandscape,
                                    variable_ ? &variable_->EditGrids().Current : nullptr, rng_, r, c);
    } else if (p.Influx > ProbabilityOn) {
        if (variable_)
            variable_->RecruitWithMutation();
        else
            base.ApplyRecruitment();
    }
    stores_->SaveLandscape(r, c);
    if (variable_)
        stores_->SaveGenotypes(r, c);
}

void LandscapeArrayModel::LoadCurrent(int r, int c)
{
    stores_->LoadLandscape(r, c, StoredState::Current);
    if (variable_)
        stores_->LoadGenotypes(r, c, StoredState::Current);
}

void LandscapeArrayModel::EndRun()
{
    ended_ = true;
    std::exception_ptr failure;
    auto attempt = [&](auto step) {
        try {
            step();
        } catch (...) {
            if (!failure)
                failure = std::current_exception();
        }
    };
    params_.UpdateGRateFractions();
    attempt([&] {
        if (grates_.Allocated())
            grates_.FreeGRateVects();
    });
    attempt([&] {
        if (votcs_.Allocated())
            votcs_.FreeVOTCVects();
    });
    if (stores_) {
        stores_->DeleteScratchFiles();
        stores_.reset();
    }
    attempt([&] {
        if (variable_ && variable_->HasGenotypes())
            variable_->FreeGenotypes();
    });
    if (failure)
        std::rethrow_exception(failure);
}

} // namespace quorrel
