#include "engine/LandscapeArrayModel.h"

#include "engine/InfluxBetweenLandscapes.h"

#include <exception>

namespace quorrel {

LandscapeArrayModel::LandscapeArrayModel(const ParameterSet& params, Landscapes& landscapes, Rng& rng, Dialogs& dialogs,
                                         const ArraySettings& settings, OutcomeKind kind)
    : params_(params), landscapes_(landscapes), rng_(rng), dialogs_(dialogs), settings_(settings),
      model_(params, landscapes, rng, dialogs, kind)
{
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

const GenotypeGrid& LandscapeArrayModel::CurrentGenotypes() const
{
    return VariableOutcome() ? model_.Grids().Current : noGenotypes_;
}

bool LandscapeArrayModel::SetTables()
{
    if (!grates_.SetGRateVects(settings_, params_, rng_, dialogs_))
        return false;
    if (VariableOutcome() && !votcs_.SetVOTCVects(settings_, params_, rng_, dialogs_)) {
        grates_.FreeGRateVects();
        return false;
    }
    return true;
}

void LandscapeArrayModel::StartRun(const std::filesystem::path& folder)
{
    ended_ = false;
    stores_ = std::make_unique<LandscapeArrayStores>(params_, landscapes_, rng_, folder, settings_.NumOfRow,
                                                     settings_.NumOfCol, VariableOutcome());
    // Two windows: the landscape being loaded takes the one that the landscape loaded
    // before it no longer holds. The literal steps load record by record.
    model_.GenotypeWindows = literal_ ? 0 : 2;
    model_.StartRun();
    if (VariableOutcome())
        stores_->AttachGenotypes(model_.EditGrids());
}

bool LandscapeArrayModel::InitialiseLandscape(int r, int c, InitProgress& progress)
{
    grates_.LoadInto(r, c, model_.GRateFractions());
    if (!model_.SetInitCover(progress))
        return false;
    stores_->SaveLandscape(r, c);
    if (!VariableOutcome())
        return true;
    votcs_.LoadInto(r, c, model_.SeedOutcomeRanges());
    if (!model_.SeedGenotypes(r == 1 && c == 1, progress))
        return false;
    stores_->SaveGenotypes(r, c);
    return true;
}

void LandscapeArrayModel::AdvanceStores()
{
    stores_->AdvanceLandscapeStores();
    if (VariableOutcome())
        stores_->AdvanceGenotypeStores();
}

void LandscapeArrayModel::StepLandscape(int r, int c, int g)
{
    stores_->LoadLandscape(r, c, StoredState::Previous);
    if (VariableOutcome())
        stores_->LoadGenotypes(r, c, StoredState::Previous);
    grates_.LoadInto(r, c, model_.GRateFractions());
    const bool influxBetween = g % settings_.InfluxTimeStep == 0;
    if (literal_)
        model_.StepLiteral(!influxBetween);
    else
        model_.Step(!influxBetween);
    if (influxBetween && settings_.InfluxBetween > ProbabilityOn)
        InfluxBetweenLandscapes(params_, settings_, *stores_, landscapes_.CurrentLandscape,
                                VariableOutcome() ? &model_.EditGrids().Current : nullptr, rng_, r, c);
    // Only the influx between landscapes asks how many cells of a previous state are occupied:
    // they are counted on the way when the next generation has one (always by the literal
    // steps), else from the file if they are ever asked for.
    const bool influxNext = settings_.InfluxBetween > ProbabilityOn && (g + 1) % settings_.InfluxTimeStep == 0;
    stores_->SaveLandscape(r, c, literal_ || influxNext);
    if (VariableOutcome())
        stores_->SaveGenotypes(r, c);
}

void LandscapeArrayModel::LoadCurrent(int r, int c)
{
    stores_->LoadLandscape(r, c, StoredState::Current);
    if (VariableOutcome())
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
        if (model_.HasGenotypes())
            model_.FreeGenotypes();
    });
    if (failure)
        std::rethrow_exception(failure);
}

} // namespace quorrel
