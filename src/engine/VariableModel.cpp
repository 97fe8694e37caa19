#include "engine/VariableModel.h"

#include "engine/GenotypeOperations.h"
#include "params/AssertionFailure.h"

#include <array>
#include <utility>

namespace quorrel {

VariableModel::VariableModel(ParameterSet& params, Landscapes& landscapes, Rng& rng, Dialogs& dialogs)
    : params_(params), landscapes_(landscapes), rng_(rng), dialogs_(dialogs), base_(params, landscapes, rng, dialogs)
{
}

void VariableModel::StartRun()
{
    base_.StartRun();
    Ranges.Seed = params_.VariableOutcomeVector;
    Ranges.Observed = params_.VariableOutcomeVector;
}

bool VariableModel::SetInitCover(InitProgress& progress)
{
    return base_.SetInitCover(progress);
}

bool VariableModel::AllocateGenotypes(bool allocate)
{
    const GParamStruct& g = params_.GParamRec;
    if (allocate) {
        if (!genotypes_.Allocate(g.MaxX, g.MaxY, g.Maxspec, GenotypeByteBudget)) {
            dialogs_.Message(MessageKind::Information,
                             "Insufficient memory. Select a smaller landscape or fewer species.", MessageButtons::Ok);
            return false;
        }
    } else {
        RequireGenotypes();
    }
    genotypes_.Current.MarkAllUnset();
    genotypes_.Previous.MarkAllUnset();
    return true;
}

bool VariableModel::SeedGenotypes(bool allocate, InitProgress& progress)
{
    if (!AllocateGenotypes(allocate))
        return false;
    const GParamStruct& g = params_.GParamRec;
    const LandscapeGrid& landscape = landscapes_.CurrentLandscape;
    std::array<bool, MaxSpecies + 1> seeded{};
    for (int s = 1; s <= g.Maxspec; ++s)
        seeded[s] = HasVariableEntries(params_, s);
    progress.Open(g.MaxX * g.MaxY);
    int done = 0;
    for (int y = 1; y <= g.MaxY; ++y) {
        for (int x = 1; x <= g.MaxX; ++x) {
            const int s = landscape(x, y).Species;
            if (s != 0 && seeded[s])
                SeedGenotype(params_, Ranges.Seed, s, genotypes_.Current.Renew(x, y), rng_);
            if (++done % 500 == 0)
                progress.Show(done);
            if (progress.CancelRequested()) {
                progress.Close();
                FreeGenotypes();
                return false;
            }
        }
    }
    progress.Close();
    return true;
}

void VariableModel::FreeGenotypes()
{
    if (!HasGenotypes())
        QRL_FAIL("nil cell within the landscape", "ModelTwo");
    genotypes_.Free();
}

Genotypes& VariableModel::EditGrids()
{
    return genotypes_;
}

BaseModel& VariableModel::Base()
{
    return base_;
}

void VariableModel::RequireGenotypes() const
{
    const GParamStruct& g = params_.GParamRec;
    if (!genotypes_.Current.Fits(g.MaxX, g.MaxY, g.Maxspec) || !genotypes_.Previous.Fits(g.MaxX, g.MaxY, g.Maxspec))
        QRL_FAIL("nil cell within the landscape", "ModelTwo");
}

void VariableModel::Generation(int /*g*/)
{
    const GParamStruct& g = params_.GParamRec;
    RequireGenotypes();
    if (g.MeanField) {
        base_.CopyLandscapeToPrevious();
        CopyGenotypesToPrevious();
    } else {
        // The contention step writes every interior cell of the current grids, so the
        // landscapes and the genotype grids are exchanged instead of copied.
        std::swap(landscapes_.CurrentLandscape, landscapes_.PreviousLandscape);
        genotypes_.Current.Exchange(genotypes_.Previous);
    }
    base_.SetLandscapeBorder();
    SetGenotypeBorder();
    const RowSteps steps = base_.PrepareRowSteps();
    contention_.Run(params_, landscapes_.PreviousLandscape, genotypes_.Previous, landscapes_.CurrentLandscape,
                    genotypes_.Current, rng_, steps);
    if (steps.Mortality() == nullptr)
        base_.ApplyMortality();
    if (g.DisturbProb > ProbabilityOn)
        base_.ApplyDisturbance();
    if (g.Influx > ProbabilityOn) {
        // The recruitment pass visits every empty cell anyway: it clears their genotypes
        // before anything arrives.
        quorrel::RecruitWithMutation(params_, landscapes_.CurrentLandscape, genotypes_.Current, rng_,
                                     base_.ObservedGRateRanges, Ranges, true, steps.Empties());
    } else {
        ClearEmptyGenotypes();
    }
}

void VariableModel::UseWideKernel(bool on)
{
    base_.UseWideKernel(on);
    contention_.UseWideKernel(on);
}

void VariableModel::GenerationLiteral(int /*g*/)
{
    const GParamStruct& g = params_.GParamRec;
    RequireGenotypes();
    base_.CopyLandscapeToPrevious();
    CopyGenotypesToPreviousLiteral();
    base_.SetLandscapeBorder();
    SetGenotypeBorder();
    VariableOutcomeRuleLiteral();
    base_.ApplyMortalityLiteral();
    if (g.DisturbProb > ProbabilityOn)
        base_.ApplyDisturbanceLiteral();
    ClearEmptyGenotypes();
    if (g.Influx > ProbabilityOn)
        RecruitWithMutation();
}

void VariableModel::CopyGenotypesToPrevious()
{
    RequireGenotypes();
    quorrel::CopyGenotypesToPrevious(params_.GParamRec, landscapes_.MeanFieldPermutation, genotypes_);
}

void VariableModel::CopyGenotypesToPreviousLiteral()
{
    RequireGenotypes();
    quorrel::CopyGenotypesToPreviousLiteral(params_.GParamRec, landscapes_.MeanFieldPermutation, genotypes_);
}

void VariableModel::SetGenotypeBorder()
{
    RequireGenotypes();
    BuildGenotypeRing(params_.GParamRec, genotypes_.Previous, genotypes_.Previous);
}

void VariableModel::VariableOutcomeRule()
{
    RequireGenotypes();
    contention_.Run(params_, landscapes_.PreviousLandscape, genotypes_.Previous, landscapes_.CurrentLandscape,
                    genotypes_.Current, rng_);
}

void VariableModel::VariableOutcomeRuleLiteral()
{
    RequireGenotypes();
    quorrel::VariableOutcomeRuleLiteral(params_, landscapes_.PreviousLandscape, genotypes_.Previous,
                                        landscapes_.CurrentLandscape, genotypes_.Current, rng_);
}

void VariableModel::ClearEmptyGenotypes()
{
    RequireGenotypes();
    quorrel::ClearEmptyGenotypes(params_.GParamRec, landscapes_.CurrentLandscape, genotypes_.Current);
}

void VariableModel::RecruitWithMutation()
{
    RequireGenotypes();
    quorrel::RecruitWithMutation(params_, landscapes_.CurrentLandscape, genotypes_.Current, rng_,
                                 base_.ObservedGRateRanges, Ranges);
}

OutcomeTriple VariableModel::SeedTriple(int species)
{
    return quorrel::SeedTriple(Ranges.Seed[species], rng_);
}

void VariableModel::MutateTriple(OutcomeTriple& t)
{
    quorrel::MutateTriple(t, params_.GParamRec.MutAmtOTC, rng_);
}

} // namespace quorrel
