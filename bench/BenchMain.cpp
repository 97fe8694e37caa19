// Milliseconds per generation of the fast and the literal paths of the fixed-outcome
// model on a 700 x 700 landscape, measured in the same run, for the contention step
// alone and for the whole generation.
#include "BenchSupport.h"
#include "VariableBench.h"

#include "engine/Model.h"
#include "engine/Dialogs.h"
#include "engine/Landscapes.h"
#include "engine/Rng.h"
#include "params/ParameterSet.h"

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace {

using namespace quorrel;
using namespace quorrel::bench;

// Variable growth rates, rates against given species, OverGRate 60, mortality patches,
// square disturbance, open recruitment with growth-rate mutation.
ParameterSet EveryProcess700()
{
    ParameterSet p = Defaults700();
    GParamStruct& g = p.GParamRec;
    g.Maxspec = 4;
    g.OverGRate = 60;
    g.DisturbProb = 0.0005f;
    g.PatchSize = 50;
    g.PatchType = 0;
    g.Influx = 0.1f;
    g.RecruitType = 0;
    g.MutationGR = 0.2f;
    g.MutAmtGR = 2;
    p.OutcomeMatrix[1][2] = {60, 30, 10};
    p.OutcomeMatrix[1][3] = {20, 70, 10};
    p.OutcomeMatrix[1][4] = {50, 50, 0};
    p.OutcomeMatrix[2][3] = {70, 20, 10};
    p.OutcomeMatrix[2][4] = {40, 40, 20};
    p.OutcomeMatrix[3][4] = {80, 10, 10};
    p.MirrorOutcomeMatrix();
    p.GrowthRates[1] = {-1, 20, 80};
    p.GrowthRates[2] = {70, 0, 0};
    p.GrowthRates[3] = {-1, 40, 100};
    p.GrowthRates[4] = {90, 0, 0};
    p.UpdateGRateFractions();
    for (int i = 1; i <= 4; ++i)
        for (int j = 1; j <= 4; ++j)
            p.RateAgainst[i][j] = float((50 + 10 * ((i * 3 + j) % 5)) / 100.0);
    p.MortalityVector[0] = 6.0f;
    for (int s = 1; s <= 4; ++s) {
        p.MortalityVector[s] = float(0.002 * s);
        p.RecruitmentVector[s] = 0.5f;
    }
    return p;
}

bool SameInterior(const GParamStruct& g, const LandscapeGrid& a, const LandscapeGrid& b)
{
    for (int y = 1; y <= g.MaxY; ++y)
        for (int x = 1; x <= g.MaxX; ++x)
            if (!(a(x, y) == b(x, y)))
                return false;
    return true;
}

// limit: the least ratio of the whole generation asked for, 0 for none.
bool Measure(const char* title, ParameterSet params, double limit = 0.0)
{
    StderrDialogs dialogs;
    auto warm = std::make_unique<Landscapes>();
    Rng rng{static_cast<uint32_t>(params.GParamRec.RandSeed)};
    ParameterSet p = params;
    Model model(p, *warm, rng, dialogs, OutcomeKind::Fixed);
    InitProgress none;
    model.StartRun();
    model.SetInitCover(none);
    for (int g = 1; g <= 40; ++g)
        model.Generation(g);
    const Landscapes snapshot = *warm;
    const uint32_t seed = rng.RandSeed;
    const GRateRanges warmFractions = model.GRateFractions();
    const GRateRanges warmObserved = model.ObservedGRateRanges();

    auto work = std::make_unique<Landscapes>();
    Rng workRng;
    const ParameterSet workParams = p;
    Model worker(workParams, *work, workRng, dialogs, OutcomeKind::Fixed);
    auto restore = [&] {
        *work = snapshot;
        workRng.RandSeed = seed;
        worker.GRateFractions() = warmFractions;
        worker.ObservedGRateRanges() = warmObserved;
    };
    auto withBorder = [&] {
        restore();
        worker.CopyLandscapeToPrevious();
        worker.SetLandscapeBorder();
    };

    constexpr int reps = 5;
    constexpr int gens = 10;
    const auto [ruleFast, ruleLiteral] = PerGenerationInTurn(
        reps, gens, withBorder, [&] { worker.FixedOutcomeRule(); }, [] {}, [&] { worker.FixedOutcomeRuleLiteral(); });
    worker.UseWideKernel(false);
    const double rulePortable = PerGeneration(reps, gens, withBorder, [&] { worker.FixedOutcomeRule(); });
    worker.UseWideKernel(true);
    const bool has512 = worker.UsesKernel512();
    worker.UseKernel512(false);
    const double rule256 = PerGeneration(reps, gens, withBorder, [&] { worker.FixedOutcomeRule(); });
    worker.UseKernel512(true);
    int gen = 0;
    auto fastEnd = std::make_unique<Landscapes>();
    uint32_t fastSeed = 0;
    const auto [genFast, genLiteral] = PerGenerationInTurn(
        reps, gens, restore, [&] { worker.Generation(++gen); },
        [&] {
            *fastEnd = *work;
            fastSeed = workRng.RandSeed;
        },
        [&] { worker.GenerationLiteral(++gen); });
    // Identical, and the generations drew: a model that was given no landscape to step would
    // end identical too.
    const bool same = SameInterior(workParams.GParamRec, fastEnd->CurrentLandscape, work->CurrentLandscape) &&
                      fastSeed == workRng.RandSeed && fastSeed != seed;

    std::printf("%s\n", title);
    std::printf("  contention step   fast %8.3f ms  literal %8.3f ms  ratio %5.2fx\n", ruleFast, ruleLiteral,
                ruleLiteral / ruleFast);
    std::printf("  whole generation  fast %8.3f ms  literal %8.3f ms  ratio %5.2fx", genFast, genLiteral,
                genLiteral / genFast);
    if (limit > 0.0)
        std::printf(" (limit at least %.1fx)", limit);
    std::printf("\n");
    std::printf("  contention step with the portable kernel %8.3f ms  ratio %5.2fx%s\n", rulePortable,
                ruleLiteral / rulePortable, worker.UsesWideKernel() ? "" : "  (this processor has no wider kernel)");
    if (has512)
        std::printf("  contention step with the 256-bit kernel  %8.3f ms  ratio %5.2fx\n", rule256,
                    ruleLiteral / rule256);
    std::printf("  fast and literal paths end identical: %s\n", same ? "yes" : "NO");
    return same;
}

} // namespace

int main()
{
    std::printf("Quorrel engine benchmark on %s: 700 x 700 cells, milliseconds per generation (best of 5 x 10)\n",
                ProcessorName().c_str());
    const bool a = Measure("(a) in-built defaults: 3 species, torus, closed recruitment, influx 0.1", Defaults700());
    const bool b = Measure("(b) every process: variable rates, rates against, OverGRate 60, mortality patches,\n"
                           "    square disturbance, open recruitment with growth-rate mutation",
                           EveryProcess700());
    const bool c = Measure("(c) 3 species, mortality patches of 4, square disturbance of 9, closed recruitment",
                           MortalityDisturbanceClosed(700, 100), 6.0);
    const bool d = quorrel::bench::MeasureVariableOutcome();
    return a && b && c && d ? 0 : 1;
}
