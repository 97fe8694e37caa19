#include "engine/BaseModel.h"

#include "engine/GridOperations.h"
#include "engine/InitialCover.h"
#include "params/AssertionFailure.h"

#include <numeric>
#include <utility>

namespace quorrel {

BaseModel::BaseModel(ParameterSet& params, Landscapes& landscapes, Rng& rng, Dialogs& dialogs)
    : params_(params), landscapes_(landscapes), rng_(rng), dialogs_(dialogs)
{
}

void BaseModel::StartRun()
{
    const GParamStruct& g = params_.GParamRec;
    ObservedGRateRanges = params_.GRateFractions;
    mortality_.Reserve(g.MaxX * g.MaxY);
    empties_.Reserve(g.MaxX * g.MaxY);
    std::vector<int32_t>& perm = landscapes_.MeanFieldPermutation;
    if (g.MeanField) {
        perm.resize(static_cast<std::size_t>(g.MaxX) * g.MaxY);
        std::iota(perm.begin(), perm.end(), 0);
    } else {
        perm.clear();
    }
}

bool BaseModel::SetInitCover(InitProgress& progress)
{
    return quorrel::SetInitCover(params_, landscapes_.CurrentLandscape, rng_, dialogs_, progress);
}

void BaseModel::Generation(int /*g*/)
{
    const GParamStruct& g = params_.GParamRec;
    // The contention step writes every interior cell of the current landscape, so instead
    // of copying the current landscape into the previous one the two are exchanged, and
    // the current landscape is not cleared first.
    if (g.MeanField)
        MeanFieldCopy();
    else
        std::swap(landscapes_.CurrentLandscape, landscapes_.PreviousLandscape);
    SetLandscapeBorder();
    const RowSteps steps = PrepareRowSteps();
    contention_.Prepare(params_);
    contention_.Run(g, landscapes_.PreviousLandscape, landscapes_.CurrentLandscape, rng_, steps);
    if (steps.Mortality() == nullptr)
        ApplyMortality();
    if (g.DisturbProb > ProbabilityOn)
        ApplyDisturbance();
    if (g.Influx > ProbabilityOn) {
        quorrel::ApplyRecruitment(params_, landscapes_.CurrentLandscape, rng_, ObservedGRateRanges, steps.Empties());
        FeedBackGRateRanges();
    }
}

RowSteps BaseModel::PrepareRowSteps()
{
    const GParamStruct& g = params_.GParamRec;
    if (!SingleCellMortality::Applies(params_))
        return {};
    singleCells_.Prepare(params_);
    if (g.DisturbProb > ProbabilityOn || !(g.Influx > ProbabilityOn))
        return {&singleCells_, nullptr};
    empties_.Reserve(g.MaxX * g.MaxY); // allocates only when the run was not started by StartRun
    return {&singleCells_, &empties_};
}

void BaseModel::GenerationLiteral(int /*g*/)
{
    const GParamStruct& g = params_.GParamRec;
    CopyLandscapeToPrevious();
    SetLandscapeBorder();
    ClearLandscape();
    FixedOutcomeRuleLiteral();
    ApplyMortalityLiteral();
    if (g.DisturbProb > ProbabilityOn)
        ApplyDisturbanceLiteral();
    if (g.Influx > ProbabilityOn) {
        ApplyRecruitmentLiteral();
        FeedBackGRateRanges();
    }
}

void BaseModel::ClearLandscape()
{
    quorrel::ClearLandscape(params_.GParamRec, landscapes_.CurrentLandscape);
}

void BaseModel::CopyLandscapeToPrevious()
{
    quorrel::CopyLandscapeToPrevious(params_.GParamRec, landscapes_, rng_);
}

void BaseModel::MeanFieldCopy()
{
    const GParamStruct& g = params_.GParamRec;
    std::vector<int32_t>& perm = landscapes_.MeanFieldPermutation;
    const int cells = g.MaxX * g.MaxY;
    if (static_cast<int>(perm.size()) != cells)
        QRL_FAIL("The mean-field permutation does not fit the landscape", "Landscape");
    Rng local = rng_;
    for (int i = cells - 1; i >= 1; --i)
        std::swap(perm[local.RandomInt(static_cast<uint32_t>(i) + 1u)], perm[i]);
    rng_ = local;
    const LandscapeGrid& from = landscapes_.CurrentLandscape;
    LandscapeGrid& to = landscapes_.PreviousLandscape;
    int k = 0;
    for (int y = 1; y <= g.MaxY; ++y) {
        const Cell* row = from.Row(y);
        for (int x = 1; x <= g.MaxX; ++x, ++k) {
            const int target = perm[k];
            const int ty = target / g.MaxX;
            to(target - ty * g.MaxX + 1, ty + 1) = row[x];
        }
    }
}

void BaseModel::SetLandscapeBorder()
{
    quorrel::SetLandscapeBorder(params_.GParamRec, landscapes_.PreviousLandscape);
}

void BaseModel::FixedOutcomeRule()
{
    contention_.Prepare(params_);
    contention_.Run(params_.GParamRec, landscapes_.PreviousLandscape, landscapes_.CurrentLandscape, rng_);
}

void BaseModel::FixedOutcomeRuleLiteral()
{
    quorrel::FixedOutcomeRuleLiteral(params_, landscapes_.PreviousLandscape, landscapes_.CurrentLandscape, rng_);
}

void BaseModel::ApplyMortality()
{
    mortality_.Apply(params_, landscapes_.CurrentLandscape, rng_);
}

void BaseModel::ApplyMortalityLiteral()
{
    quorrel::ApplyMortalityLiteral(params_, landscapes_.CurrentLandscape, rng_);
}

void BaseModel::ApplyDisturbance()
{
    disturbance_.Apply(params_, landscapes_.CurrentLandscape, rng_);
}

void BaseModel::ApplyDisturbanceLiteral()
{
    quorrel::ApplyDisturbanceLiteral(params_, landscapes_.CurrentLandscape, rng_);
}

void BaseModel::ApplyRecruitment()
{
    quorrel::ApplyRecruitment(params_, landscapes_.CurrentLandscape, rng_, ObservedGRateRanges);
}

void BaseModel::ApplyRecruitmentLiteral()
{
    quorrel::ApplyRecruitmentLiteral(params_, landscapes_.CurrentLandscape, rng_, ObservedGRateRanges);
}

void BaseModel::FeedBackGRateRanges()
{
    for (int s = 1; s <= params_.GParamRec.Maxspec; ++s)
        if (params_.HasVariableGRate(s))
            params_.GRateFractions[s] = ObservedGRateRanges[s];
}

float BaseModel::DrawGRate(int s)
{
    return quorrel::DrawGRate(params_, rng_, s);
}

} // namespace quorrel
