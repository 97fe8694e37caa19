// The variable-outcome model against the fixed-outcome model on a 700 x 700 landscape,
// measured in the same run: milliseconds per generation of the fast and literal paths of
// case (d), the ratio of its fast generation to the fixed-outcome generation of case (a),
// and the peak memory of a plain run of case (d) in a child process.
#include "BenchSupport.h"
#include "VariableBench.h"

#include "engine/Model.h"

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstddef>
#include <cstdlib>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace quorrel::bench {

namespace {

// 40 species with growth-rate ranges, every pair variable, single-cell mortality, open
// recruitment with outcome and growth-rate mutation.
ParameterSet VariableEveryPair700()
{
    ParameterSet p = Defaults700();
    GParamStruct& g = p.GParamRec;
    g.RecruitType = 0;
    g.Influx = 0.1f;
    g.MutationOTC = 0.1f;
    g.MutAmtOTC = 5;
    g.MutationGR = 0.1f;
    g.MutAmtGR = 2;
    MakeEveryPairVariable(p, MaxSpecies);
    return p;
}

// The same community with every pair fixed: W of the lower-numbered species spread over
// 0..100, the matrix mirrored.
ParameterSet EveryPairFixed700()
{
    ParameterSet p = VariableEveryPair700();
    for (int i = 1; i <= MaxSpecies; ++i)
        for (int j = i + 1; j <= MaxSpecies; ++j) {
            const int win = (i * 37 + j * 11) % 101;
            p.OutcomeMatrix[i][j] = OutcomeTriple{int8_t(win), int8_t(100 - win), 0};
        }
    p.MirrorOutcomeMatrix();
    return p;
}

constexpr int Reps = 5;
constexpr int Gens = 10;
constexpr int WarmUp = 40;

// A run of case (d) after its warm-up generations.
struct WarmRun {
    explicit WarmRun(const ParameterSet& params)
        : p(params), lands(std::make_unique<Landscapes>()), rng{static_cast<uint32_t>(params.GParamRec.RandSeed)},
          model(p, *lands, rng, dialogs, OutcomeKind::Variable)
    {
        InitProgress none;
        model.StartRun();
        if (!model.SetInitCover(none) || !model.SeedGenotypes(true, none))
            std::abort();
        for (int g = 1; g <= WarmUp; ++g)
            model.Generation(g);
    }

    StderrDialogs dialogs;
    ParameterSet p;
    std::unique_ptr<Landscapes> lands;
    Rng rng;
    Model model;
};

double FixedOutcomeGeneration(const ParameterSet& params)
{
    StderrDialogs dialogs;
    ParameterSet p = params;
    auto lands = std::make_unique<Landscapes>();
    Rng rng{static_cast<uint32_t>(p.GParamRec.RandSeed)};
    Model model(p, *lands, rng, dialogs, OutcomeKind::Fixed);
    InitProgress none;
    model.StartRun();
    model.SetInitCover(none);
    for (int g = 1; g <= WarmUp; ++g)
        model.Generation(g);
    auto snapshot = std::make_unique<Landscapes>(*lands);
    const uint32_t seed = rng.RandSeed;
    const GRateRanges fractions = model.GRateFractions();
    const GRateRanges observed = model.ObservedGRateRanges();
    int gen = WarmUp;
    return PerGeneration(
        Reps, Gens,
        [&] {
            *lands = *snapshot;
            rng.RandSeed = seed;
            model.GRateFractions() = fractions;
            model.ObservedGRateRanges() = observed;
        },
        [&] { model.Generation(++gen); });
}

// A whole run of case (d) as a driver makes it; returns the peak resident size in MB of
// the child process that made it, or a negative value when it could not be measured.
double PeakMemoryOfRun(const ParameterSet& params, int generations)
{
    const pid_t child = fork();
    if (child < 0)
        return -1.0;
    if (child == 0) {
        StderrDialogs dialogs;
        ParameterSet p = params;
        auto lands = std::make_unique<Landscapes>();
        Rng rng{static_cast<uint32_t>(p.GParamRec.RandSeed)};
        Model model(p, *lands, rng, dialogs, OutcomeKind::Variable);
        InitProgress none;
        model.StartRun();
        const bool ok = model.SetInitCover(none) && model.SeedGenotypes(true, none);
        for (int g = 1; ok && g <= generations; ++g)
            model.Generation(g);
        if (ok)
            model.FreeGenotypes();
        _exit(ok ? 0 : 1);
    }
    int status = 0;
    if (waitpid(child, &status, 0) != child || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return -1.0;
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    return usage.ru_maxrss / 1024.0;
}

} // namespace

bool MeasureVariableOutcome()
{
    // First, while this process holds little memory that the child would inherit.
    const double peak = PeakMemoryOfRun(VariableEveryPair700(), 20);
    const double fixed = FixedOutcomeGeneration(Defaults700());
    const double fixedCommunity = FixedOutcomeGeneration(EveryPairFixed700());

    // Every repetition starts from the same state, reached by running the model itself
    // (seeding and warm-up generations), so that the genotype records are laid out as in a
    // run.
    const ParameterSet params = VariableEveryPair700();
    std::unique_ptr<WarmRun> run;
    auto warmUp = [&] {
        run.reset();
        run = std::make_unique<WarmRun>(params);
    };

    // How much of the landscape one generation changes.
    warmUp();
    const GParamStruct& gp = params.GParamRec;
    auto before = std::make_unique<Landscapes>(*run->lands);
    run->model.Generation(WarmUp + 1);
    long changed = 0;
    for (int y = 1; y <= gp.MaxY; ++y)
        for (int x = 1; x <= gp.MaxX; ++x)
            changed += !(run->lands->CurrentLandscape(x, y) == before->CurrentLandscape(x, y));

    int gen = WarmUp;
    auto fromWarmState = [&] {
        warmUp();
        gen = WarmUp;
    };
    const double fast = PerGeneration(Reps, Gens, fromWarmState, [&] { run->model.Generation(++gen); });
    auto fastLands = std::make_unique<Landscapes>(*run->lands);
    std::vector<std::byte> fastGenotypes(run->model.Grids().Current.InteriorBytes());
    run->model.Grids().Current.SaveInterior(fastGenotypes);
    const uint32_t fastSeed = run->rng.RandSeed;
    const double literal = PerGeneration(Reps, Gens, fromWarmState, [&] { run->model.GenerationLiteral(++gen); });
    std::vector<std::byte> literalGenotypes(fastGenotypes.size());
    run->model.Grids().Current.SaveInterior(literalGenotypes);
    bool same = fastSeed == run->rng.RandSeed && fastGenotypes == literalGenotypes;
    for (int y = 1; y <= gp.MaxY; ++y)
        for (int x = 1; x <= gp.MaxX; ++x)
            same = same && fastLands->CurrentLandscape(x, y) == run->lands->CurrentLandscape(x, y);

    std::printf("(d) variable outcome: 40 species, every pair variable, mortality 0.01, open recruitment,\n"
                "    influx 0.1, outcome and growth-rate mutation 0.1\n");
    std::printf("  cells changed by one generation: %.1f %%\n", 100.0 * changed / (gp.MaxX * gp.MaxY));
    std::printf("  whole generation  fast %8.3f ms  literal %8.3f ms  ratio %5.2fx\n", fast, literal,
                literal / fast);
    std::printf("  against (a), fixed outcome, measured here %8.3f ms: (d) costs %5.2fx (target at most 3x)\n",
                fixed, fast / fixed);
    std::printf("  against the same community with every pair fixed, fixed-outcome model, %8.3f ms:\n"
                "    (d) costs %5.2fx; that run alone costs %5.2fx (a)\n",
                fixedCommunity, fast / fixedCommunity, fixedCommunity / fixed);
    if (peak >= 0.0)
        std::printf("  peak memory of a run of (d), 20 generations: %.1f MB (target at most 400 MB)\n", peak);
    else
        std::printf("  peak memory of a run of (d): could not be measured\n");
    std::printf("  fast and literal paths end identical: %s\n", same ? "yes" : "NO");
    return same;
}

} // namespace quorrel::bench
