#include "engine/VariableModel.h"

#include "engine/GenotypeOperations.h"
#include "params/AssertionFailure.h"

#include <algorithm>
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
    GenotypeGrid& current = genotypes_.Current;
    GenotypeGrid& previous = genotypes_.Previous;
    if (allocate) {
        current.Free();
        previous.Free();
        std::vector<uint8_t>().swap(occupied_);
        const bool ok = current.Allocate(g.MaxX, g.MaxY, g.Maxspec, GenotypeByteBudget) &&
                        previous.Allocate(g.MaxX, g.MaxY, g.Maxspec, GenotypeByteBudget - current.Bytes());
        if (!ok) {
            current.Free();
            previous.Free();
            dialogs_.Message(MessageKind::Information,
                             "Insufficient memory. Select a smaller landscape or fewer species.", MessageButtons::Ok);
            return false;
        }
        occupied_.resize(static_cast<std::size_t>(g.MaxX) * g.MaxY);
    } else if (!current.Fits(g.MaxX, g.MaxY, g.Maxspec) || !previous.Fits(g.MaxX, g.MaxY, g.Maxspec)) {
        QRL_FAIL("nil cell within the landscape", "ModelTwo");
    }
    current.MarkAllUnset();
    previous.MarkAllUnset();
    emptyCellsUnset_ = true;
    outcomesBounded_ = true;
    return true;
}

bool VariableModel::SeedGenotypes(bool allocate, InitProgress& progress)
{
    if (!AllocateGenotypes(allocate))
        return false;
    const GParamStruct& g = params_.GParamRec;
    const LandscapeGrid& landscape = landscapes_.CurrentLandscape;
    progress.Open(g.MaxX * g.MaxY);
    int done = 0;
    for (int y = 1; y <= g.MaxY; ++y) {
        for (int x = 1; x <= g.MaxX; ++x) {
            const int s = landscape(x, y).Species;
            if (s != 0)
                SeedGenotype(params_, Ranges.Seed, s, genotypes_.Current.Genotype(x, y), rng_);
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
    genotypes_.Current.Free();
    genotypes_.Previous.Free();
    std::vector<uint8_t>().swap(occupied_);
}

Genotypes& VariableModel::EditGrids()
{
    emptyCellsUnset_ = false;
    outcomesBounded_ = false;
    return genotypes_;
}

void VariableModel::RecheckGenotypes()
{
    RequireGenotypes();
    const GParamStruct& g = params_.GParamRec;
    emptyCellsUnset_ = true;
    outcomesBounded_ = true;
    for (int y = 1; y <= g.MaxY; ++y)
        for (int x = 1; x <= g.MaxX; ++x) {
            const bool empty = landscapes_.CurrentLandscape(x, y).Species == 0;
            const OutcomeTriple* genotype = genotypes_.Current.Genotype(x, y);
            for (int j = 0; j < g.Maxspec; ++j) {
                emptyCellsUnset_ = emptyCellsUnset_ && (!empty || genotype[j] == UnsetTriple);
                outcomesBounded_ = outcomesBounded_ && genotype[j].Win <= 100 && genotype[j].Loss <= 100;
            }
        }
}

BaseModel& VariableModel::Base()
{
    emptyCellsUnset_ = false;
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
        base_.SetLandscapeBorder();
        SetGenotypeBorder();
        contention_.Run(params_, landscapes_.PreviousLandscape, genotypes_.Previous, landscapes_.CurrentLandscape,
                        genotypes_.Current, occupied_.data(), outcomesBounded_, rng_);
    } else {
        // The contention step writes every interior cell of the current landscape, so the
        // landscapes are exchanged instead of copied. The genotypes stay in the current
        // grid; only the ring is built in the previous grid.
        std::swap(landscapes_.CurrentLandscape, landscapes_.PreviousLandscape);
        base_.SetLandscapeBorder();
        BuildGenotypeRing(g, genotypes_.Current, genotypes_.Previous);
        contention_.RunInPlace(params_, landscapes_.PreviousLandscape, genotypes_.Previous,
                               landscapes_.CurrentLandscape, genotypes_.Current, occupied_.data(), outcomesBounded_,
                               rng_);
    }
    base_.ApplyMortality();
    if (g.DisturbProb > ProbabilityOn)
        base_.ApplyDisturbance();
    if (g.Influx > ProbabilityOn && emptyCellsUnset_) {
        // The clearing of the emptied cells goes along with the recruitment pass, which
        // visits every empty cell anyway and reads no genotype of an empty cell.
        if (!quorrel::RecruitWithMutation(params_, landscapes_.CurrentLandscape, genotypes_.Current, rng_,
                                          base_.ObservedGRateRanges, Ranges, occupied_.data()))
            outcomesBounded_ = false;
        return;
    }
    ClearEmptiedGenotypes();
    if (g.Influx > ProbabilityOn)
        RecruitWithMutation();
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

// When every empty cell held an unset genotype before the contention step, the only
// empty cells with a genotype afterwards are those emptied by mortality or disturbance:
// occupied after the contention step, empty now.
void VariableModel::ClearEmptiedGenotypes()
{
    if (!emptyCellsUnset_) {
        ClearEmptyGenotypes();
        return;
    }
    const GParamStruct& g = params_.GParamRec;
    const uint8_t* occupied = occupied_.data();
    for (int y = 1; y <= g.MaxY; ++y) {
        const Cell* row = landscapes_.CurrentLandscape.Row(y);
        for (int x = 1; x <= g.MaxX; ++x, ++occupied)
            if (*occupied != 0 && row[x].Species == 0)
                std::fill_n(genotypes_.Current.Genotype(x, y), g.Maxspec, UnsetTriple);
    }
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
                    genotypes_.Current, nullptr, false, rng_);
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
    emptyCellsUnset_ = true;
}

void VariableModel::RecruitWithMutation()
{
    RequireGenotypes();
    if (!quorrel::RecruitWithMutation(params_, landscapes_.CurrentLandscape, genotypes_.Current, rng_,
                                      base_.ObservedGRateRanges, Ranges))
        outcomesBounded_ = false;
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
