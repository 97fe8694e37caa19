#include "engine/Model.h"

#include "engine/GenotypeOperations.h"
#include "engine/GridOperations.h"
#include "engine/InitialCover.h"
#include "params/AssertionFailure.h"

#include <array>
#include <numeric>
#include <utility>

namespace quorrel {

Model::Model(const ParameterSet& params, Landscapes& landscapes, Rng& rng, Dialogs& dialogs, OutcomeKind kind)
    : params_(params), fractions_(params.GRateFractions), landscapes_(landscapes), rng_(rng), dialogs_(dialogs)
{
    if (kind == OutcomeKind::Variable)
        layer_ = std::make_unique<GenotypeLayer>();
}

Model::~Model() = default;

Model::GenotypeLayer& Model::Layer()
{
    if (!layer_)
        QRL_FAIL("genotypes of a fixed-outcome model", "Model");
    return *layer_;
}

const Model::GenotypeLayer& Model::Layer() const
{
    if (!layer_)
        QRL_FAIL("genotypes of a fixed-outcome model", "Model");
    return *layer_;
}

void Model::StartRun()
{
    ReadParameters();
    const GParamStruct& g = params_.GParamRec;
    mortality_.Reserve(g.MaxX * g.MaxY);
    empties_.Reserve(g.MaxX * g.MaxY);
    occupancy_.Reserve();
    recruitment_.Reserve(g.MaxX * g.MaxY);
    std::vector<int32_t>& perm = landscapes_.MeanFieldPermutation;
    if (g.MeanField) {
        perm.resize(static_cast<std::size_t>(g.MaxX) * g.MaxY);
        std::iota(perm.begin(), perm.end(), 0);
    } else {
        perm.clear();
    }
}

void Model::ReadParameters()
{
    fractions_ = params_.GRateFractions;
    observedGRates_ = fractions_;
    if (layer_) {
        layer_->ranges.Seed = params_.VariableOutcomeVector;
        layer_->ranges.Observed = params_.VariableOutcomeVector;
    }
}

bool Model::SetInitCover(InitProgress& progress)
{
    return quorrel::SetInitCover(params_, fractions_, landscapes_.CurrentLandscape, rng_, dialogs_, progress);
}

bool Model::SetInitialState(InitProgress& progress, bool allocate)
{
    return SetInitCover(progress) && (!layer_ || SeedGenotypes(allocate, progress));
}

void Model::Generation(int /*g*/)
{
    const GParamStruct& g = params_.GParamRec;
    if (layer_)
        RequireGenotypes();
    if (g.MeanField) {
        MeanFieldCopy();
        if (layer_)
            CopyGenotypesToPrevious();
    } else {
        // The contention step writes every interior cell of the current grids, so instead
        // of copying them into the previous ones the two are exchanged, and the current
        // landscape is not cleared first.
        std::swap(landscapes_.CurrentLandscape, landscapes_.PreviousLandscape);
        if (layer_)
            layer_->grids.Current.Exchange(layer_->grids.Previous);
    }
    Step(true);
    if (!layer_ && g.Influx > ProbabilityOn)
        FeedBackGRateRanges();
}

void Model::Step(bool recruit)
{
    const GParamStruct& g = params_.GParamRec;
    const bool arrivals = recruit && g.Influx > ProbabilityOn;
    SetLandscapeBorder();
    const RowSteps steps = PrepareRowSteps(arrivals);
    if (layer_) {
        SetGenotypeBorder();
        layer_->contention.Run(params_, landscapes_.PreviousLandscape, layer_->grids.Previous,
                               landscapes_.CurrentLandscape, layer_->grids.Current, rng_, steps);
    } else {
        contention_.Prepare(params_);
        contention_.Run(g, landscapes_.PreviousLandscape, landscapes_.CurrentLandscape, rng_, steps);
    }
    OccupancyBits* bits = steps.Occupancy();
    if (steps.Mortality() == nullptr)
        mortality_.Apply(params_, landscapes_.CurrentLandscape, rng_, bits);
    if (g.DisturbProb > ProbabilityOn)
        disturbance_.Apply(params_, landscapes_.CurrentLandscape, rng_, bits);
    if (layer_) {
        // The recruitment pass visits every empty cell anyway: it clears their genotypes
        // before anything arrives.
        if (arrivals)
            quorrel::RecruitWithMutation(params_, fractions_, landscapes_.CurrentLandscape, layer_->grids.Current,
                                         rng_, observedGRates_, layer_->ranges, true, steps.Empties());
        else
            ClearEmptyGenotypes();
    } else if (arrivals) {
        // The occupancy bits that the contention step built and mortality and disturbance
        // kept let recruitment search its influx draws over the empty cells alone.
        recruitment_.Apply(params_, fractions_, landscapes_.CurrentLandscape, rng_, observedGRates_, *bits);
    }
}

RowSteps Model::PrepareRowSteps(bool recruit)
{
    const GParamStruct& g = params_.GParamRec;
    const bool arrivals = recruit && g.Influx > ProbabilityOn;
    OccupancyBits* bits = nullptr;
    if (!layer_ && arrivals) {
        occupancy_.Reserve(); // allocates only when the run was not started by StartRun
        // The species are kept for mortality patches and for closed recruits whose
        // arrival depends on their parent's species.
        const bool patches = params_.MortalSize() > 0.0f && !SingleCellMortality::Applies(params_);
        occupancy_.KeepSpecies(patches || (g.RecruitType == 1 && !SameArrivalForAll(params_)));
        bits = &occupancy_;
    }
    if (!SingleCellMortality::Applies(params_))
        return {nullptr, nullptr, bits};
    singleCells_.Prepare(params_);
    if (bits != nullptr || g.DisturbProb > ProbabilityOn || !arrivals)
        return {&singleCells_, nullptr, bits};
    empties_.Reserve(g.MaxX * g.MaxY); // allocates only when the run was not started by StartRun
    return {&singleCells_, &empties_};
}

void Model::GenerationLiteral(int /*g*/)
{
    const GParamStruct& g = params_.GParamRec;
    if (layer_)
        RequireGenotypes();
    CopyLandscapeToPrevious();
    if (layer_)
        CopyGenotypesToPreviousLiteral();
    StepLiteral(true);
    if (!layer_ && g.Influx > ProbabilityOn)
        FeedBackGRateRanges();
}

void Model::StepLiteral(bool recruit)
{
    const GParamStruct& g = params_.GParamRec;
    const bool arrivals = recruit && g.Influx > ProbabilityOn;
    SetLandscapeBorder();
    if (layer_) {
        SetGenotypeBorder();
        VariableOutcomeRuleLiteral();
    } else {
        ClearLandscape();
        FixedOutcomeRuleLiteral();
    }
    ApplyMortalityLiteral();
    if (g.DisturbProb > ProbabilityOn)
        ApplyDisturbanceLiteral();
    if (layer_) {
        ClearEmptyGenotypes();
        if (arrivals)
            RecruitWithMutation();
    } else if (arrivals) {
        ApplyRecruitmentLiteral();
    }
}

void Model::UseWideKernel(bool on)
{
    contention_.UseWideKernel(on);
    mortality_.UseWideKernel(on);
    singleCells_.UseWideKernel(on);
    empties_.UseWideKernel(on);
    occupancy_.UseWideKernel(on);
    disturbance_.UseWideKernel(on);
    recruitment_.UseWideKernel(on);
    if (layer_)
        layer_->contention.UseWideKernel(on);
}

void Model::ClearLandscape()
{
    quorrel::ClearLandscape(params_.GParamRec, landscapes_.CurrentLandscape);
}

void Model::CopyLandscapeToPrevious()
{
    quorrel::CopyLandscapeToPrevious(params_.GParamRec, landscapes_, rng_);
}

void Model::MeanFieldCopy()
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

void Model::SetLandscapeBorder()
{
    quorrel::SetLandscapeBorder(params_.GParamRec, landscapes_.PreviousLandscape);
}

void Model::FixedOutcomeRule()
{
    contention_.Prepare(params_);
    contention_.Run(params_.GParamRec, landscapes_.PreviousLandscape, landscapes_.CurrentLandscape, rng_);
}

void Model::FixedOutcomeRuleLiteral()
{
    quorrel::FixedOutcomeRuleLiteral(params_, landscapes_.PreviousLandscape, landscapes_.CurrentLandscape, rng_);
}

void Model::ApplyMortality()
{
    mortality_.Apply(params_, landscapes_.CurrentLandscape, rng_);
}

void Model::ApplyMortalityLiteral()
{
    quorrel::ApplyMortalityLiteral(params_, landscapes_.CurrentLandscape, rng_);
}

void Model::ApplyDisturbance()
{
    disturbance_.Apply(params_, landscapes_.CurrentLandscape, rng_);
}

void Model::ApplyDisturbanceLiteral()
{
    quorrel::ApplyDisturbanceLiteral(params_, landscapes_.CurrentLandscape, rng_);
}

void Model::ApplyRecruitment()
{
    recruitment_.Apply(params_, fractions_, landscapes_.CurrentLandscape, rng_, observedGRates_);
}

void Model::ApplyRecruitmentLiteral()
{
    quorrel::ApplyRecruitmentLiteral(params_, fractions_, landscapes_.CurrentLandscape, rng_, observedGRates_);
}

void Model::FeedBackGRateRanges()
{
    for (int s = 1; s <= params_.GParamRec.Maxspec; ++s)
        if (params_.HasVariableGRate(s))
            fractions_[s] = observedGRates_[s];
}

float Model::DrawGRate(int s)
{
    return quorrel::DrawGRate(fractions_, rng_, s);
}

bool Model::AllocateGenotypes(bool allocate)
{
    const GParamStruct& g = params_.GParamRec;
    Genotypes& grids = Layer().grids;
    if (allocate) {
        if (!grids.Allocate(g.MaxX, g.MaxY, g.Maxspec, GenotypeByteBudget, GenotypeWindows)) {
            dialogs_.Message(MessageKind::Information,
                             "Insufficient memory. Select a smaller landscape or fewer species.", MessageButtons::Ok);
            return false;
        }
    } else {
        RequireGenotypes();
    }
    grids.Current.MarkAllUnset();
    grids.Previous.MarkAllUnset();
    return true;
}

bool Model::SeedGenotypes(bool allocate, InitProgress& progress)
{
    if (!AllocateGenotypes(allocate))
        return false;
    const GParamStruct& g = params_.GParamRec;
    const LandscapeGrid& landscape = landscapes_.CurrentLandscape;
    GenotypeLayer& layer = Layer();
    std::array<bool, MaxSpecies + 1> seeded{};
    for (int s = 1; s <= g.Maxspec; ++s)
        seeded[s] = HasVariableEntries(params_, s);
    progress.Open(g.MaxX * g.MaxY);
    int done = 0;
    for (int y = 1; y <= g.MaxY; ++y) {
        for (int x = 1; x <= g.MaxX; ++x) {
            const int s = landscape(x, y).Species;
            if (s != 0 && seeded[s])
                SeedGenotype(params_, layer.ranges.Seed, s, layer.grids.Current.Renew(x, y), rng_);
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

bool Model::HasGenotypes() const
{
    return layer_ && layer_->grids.Current.Allocated() && layer_->grids.Previous.Allocated();
}

void Model::FreeGenotypes()
{
    if (!HasGenotypes())
        QRL_FAIL("nil cell within the landscape", "ModelTwo");
    layer_->grids.Free();
}

void Model::RequireGenotypes() const
{
    const GParamStruct& g = params_.GParamRec;
    const Genotypes& grids = Layer().grids;
    if (!grids.Current.Fits(g.MaxX, g.MaxY, g.Maxspec) || !grids.Previous.Fits(g.MaxX, g.MaxY, g.Maxspec))
        QRL_FAIL("nil cell within the landscape", "ModelTwo");
}

void Model::CopyGenotypesToPrevious()
{
    RequireGenotypes();
    quorrel::CopyGenotypesToPrevious(params_.GParamRec, landscapes_.MeanFieldPermutation, layer_->grids);
}

void Model::CopyGenotypesToPreviousLiteral()
{
    RequireGenotypes();
    quorrel::CopyGenotypesToPreviousLiteral(params_.GParamRec, landscapes_.MeanFieldPermutation, layer_->grids);
}

void Model::SetGenotypeBorder()
{
    RequireGenotypes();
    BuildGenotypeRing(params_.GParamRec, layer_->grids.Previous, layer_->grids.Previous);
}

void Model::VariableOutcomeRule()
{
    RequireGenotypes();
    layer_->contention.Run(params_, landscapes_.PreviousLandscape, layer_->grids.Previous,
                           landscapes_.CurrentLandscape, layer_->grids.Current, rng_);
}

void Model::VariableOutcomeRuleLiteral()
{
    RequireGenotypes();
    quorrel::VariableOutcomeRuleLiteral(params_, landscapes_.PreviousLandscape, layer_->grids.Previous,
                                        landscapes_.CurrentLandscape, layer_->grids.Current, rng_);
}

void Model::ClearEmptyGenotypes()
{
    RequireGenotypes();
    quorrel::ClearEmptyGenotypes(params_.GParamRec, landscapes_.CurrentLandscape, layer_->grids.Current);
}

void Model::RecruitWithMutation()
{
    RequireGenotypes();
    quorrel::RecruitWithMutation(params_, fractions_, landscapes_.CurrentLandscape, layer_->grids.Current, rng_,
                                 observedGRates_, layer_->ranges);
}

OutcomeTriple Model::SeedTriple(int species)
{
    return quorrel::SeedTriple(Layer().ranges.Seed[species], rng_);
}

void Model::MutateTriple(OutcomeTriple& t)
{
    quorrel::MutateTriple(t, params_.GParamRec.MutAmtOTC, rng_);
}

} // namespace quorrel
