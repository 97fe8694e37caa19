#include "VariableTestSupport.h"

#include "engine/Model.h"
#include "engine/GenotypeOperations.h"
#include "params/AssertionFailure.h"

#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <string>
#include <vector>

namespace quorrel {
namespace {

using test::ExpectSameLandscape;
using test::MixedOutcomes;
using test::ScriptedDialogs;
using test::SmallParameters;
using test::VariableRun;

struct Setting {
    std::string name;
    void (*apply)(ParameterSet&);
};

// Every process on; the matrix decides whether any pair is variable.
const Setting Settings[] = {
    {"torus, closed recruitment with mutation, mortality patches, square disturbance",
     [](ParameterSet& p) {
         p.GParamRec.RecruitType = 1;
         p.GParamRec.Influx = 0.2f;
         p.GParamRec.MutationGR = 0.5f;
         p.GParamRec.MutAmtGR = 4;
         p.GParamRec.MutationOTC = 0.5f;
         p.GParamRec.MutAmtOTC = 15;
         p.MortalityVector[0] = 4.0f;
         for (int s = 1; s <= 4; ++s)
             p.MortalityVector[s] = float(0.02 * s);
         p.GParamRec.DisturbProb = 0.01f;
         p.GParamRec.PatchSize = 10;
     }},
    {"open border, open recruitment with mutation, random-walk disturbance",
     [](ParameterSet& p) {
         p.GParamRec.Border = 1;
         p.GParamRec.RecruitType = 0;
         p.GParamRec.Influx = 0.3f;
         p.GParamRec.MutationGR = 0.6f;
         p.GParamRec.MutAmtGR = 7;
         p.GParamRec.MutationOTC = 0.7f;
         p.GParamRec.MutAmtOTC = 30;
         p.RecruitmentVector[1] = 0.6f;
         p.RecruitmentVector[2] = 0.0f;
         p.RecruitmentVector[3] = 1.0f;
         p.RecruitmentVector[4] = 0.3f;
         p.MortalityVector[0] = 1.0f;
         p.MortalityVector[3] = 0.2f;
         p.GParamRec.DisturbProb = 0.02f;
         p.GParamRec.PatchSize = 6;
         p.GParamRec.PatchType = 1;
     }},
    {"mean field, open recruitment with mutation, mortality",
     [](ParameterSet& p) {
         p.GParamRec.MeanField = true;
         p.GParamRec.RecruitType = 0;
         p.GParamRec.MutationGR = 1.0f;
         p.GParamRec.MutAmtGR = 3;
         p.GParamRec.MutationOTC = 1.0f;
         p.GParamRec.MutAmtOTC = 8;
         p.MortalityVector[0] = 2.0f;
         p.MortalityVector[1] = p.MortalityVector[4] = 0.1f;
     }},
    {"open border, single-cell mortality, closed recruitment with mutation",
     [](ParameterSet& p) {
         p.GParamRec.Border = 1;
         p.GParamRec.RecruitType = 1;
         p.GParamRec.Influx = 0.4f;
         p.GParamRec.MutationGR = 0.5f;
         p.GParamRec.MutAmtGR = 4;
         p.GParamRec.MutationOTC = 0.5f;
         p.GParamRec.MutAmtOTC = 15;
         p.MortalityVector[0] = 1.0f;
         for (int s = 1; s <= 4; ++s)
             p.MortalityVector[s] = float(0.05 * s);
     }},
    {"everybody dies, closed recruitment into the empty landscape",
     [](ParameterSet& p) {
         p.GParamRec.RecruitType = 1;
         p.GParamRec.Influx = 0.5f;
         p.MortalityVector[0] = 1.0f;
         for (int s = 1; s <= 4; ++s)
             p.MortalityVector[s] = 1.0f;
     }},
    {"block cover, torus, no recruitment",
     [](ParameterSet& p) {
         p.GParamRec.Cover = 1;
         p.GParamRec.Init = 2;
         p.GParamRec.TotalCover = 80.0f;
         p.GParamRec.Influx = 0.0f;
         p.MortalityVector[0] = 1.0f;
         p.MortalityVector[2] = 0.05f;
     }},
};

ParameterSet SettingParameters(const Setting& setting, int maxX, int maxY, bool variablePairs)
{
    ParameterSet p = SmallParameters(maxX, maxY, 4);
    p.GParamRec.TotalCover = 45.0f;
    MixedOutcomes(p);
    if (!variablePairs) {
        p.OutcomeMatrix[1][2] = {60, 30, 10};
        p.OutcomeMatrix[1][4] = {50, 40, 10};
        p.OutcomeMatrix[2][3] = {70, 20, 10};
        p.OutcomeMatrix[3][4] = {80, 10, 10};
        p.MirrorOutcomeMatrix();
    }
    setting.apply(p);
    return p;
}

// Without a variable pair the variable-outcome model is the fixed-outcome model: the same
// landscapes and generator states generation by generation, and every genotype unset.
TEST(VariableModel, WithoutVariablePairsItEvolvesAsTheFixedOutcomeModel)
{
    for (const Setting& setting : Settings) {
        for (uint32_t seed : {3u, 4242u}) {
            const ParameterSet p = SettingParameters(setting, 31, 26, false);
            ASSERT_FALSE(p.HasVariablePair());
            VariableRun fast(p, seed);
            VariableRun literal(p, seed);
            ParameterSet baseParams = p;
            auto baseLands = std::make_unique<Landscapes>();
            Rng baseRng{seed};
            ScriptedDialogs dialogs;
            Model base(baseParams, *baseLands, baseRng, dialogs, OutcomeKind::Fixed);
            InitProgress none;
            base.StartRun();
            ASSERT_TRUE(base.SetInitCover(none));
            ASSERT_EQ(baseRng.RandSeed, fast.rng.RandSeed) << "seeding took draws";
            for (int g = 1; g <= 30; ++g) {
                const std::string where = setting.name + ", seed " + std::to_string(seed) + ", generation " +
                                          std::to_string(g);
                base.Generation(g);
                fast.model.Generation(g);
                literal.model.GenerationLiteral(g);
                ExpectSameLandscape(p.GParamRec, baseLands->CurrentLandscape, fast.lands->CurrentLandscape, where);
                ExpectSameLandscape(p.GParamRec, baseLands->CurrentLandscape, literal.lands->CurrentLandscape, where);
                ASSERT_EQ(baseRng.RandSeed, fast.rng.RandSeed) << where;
                ASSERT_EQ(baseRng.RandSeed, literal.rng.RandSeed) << where;
                ASSERT_EQ(base.GRateFractions(), fast.model.GRateFractions()) << where;
            }
            for (int y = 0; y <= p.GParamRec.MaxY + 1; ++y)
                for (int x = 0; x <= p.GParamRec.MaxX + 1; ++x)
                    for (int j = 1; j <= 4; ++j)
                        ASSERT_EQ(fast.model.Grids().Current.Triple(x, y, j), UnsetTriple) << x << "," << y;
        }
    }
}

void ExpectSameState(const VariableRun& a, const VariableRun& b, const std::string& where)
{
    ExpectSameLandscape(a.params.GParamRec, a.lands->CurrentLandscape, b.lands->CurrentLandscape, where);
    ASSERT_TRUE(a.CurrentGenotypes() == b.CurrentGenotypes()) << where;
    ASSERT_EQ(a.rng.RandSeed, b.rng.RandSeed) << where;
    ASSERT_EQ(a.model.GRateFractions(), b.model.GRateFractions()) << where;
    ASSERT_EQ(a.model.Ranges().Seed, b.model.Ranges().Seed) << where;
    ASSERT_EQ(a.model.Ranges().Observed, b.model.Ranges().Observed) << where;
}

// The fast generation, with either kernel, gives exactly the landscape, genotypes, ranges
// and generator state of the literal one, on every setting, with row lengths that are odd
// and even.
TEST(VariableModel, FastGenerationMatchesTheLiteralGeneration)
{
    const std::pair<int, int> sizes[] = {{23, 17}, {40, 41}};
    int index = 0;
    for (const Setting& setting : Settings) {
        for (uint32_t seed : {1u, 977u, 123456789u}) {
            const auto [maxX, maxY] = sizes[(index + seed) % 2];
            const ParameterSet p = SettingParameters(setting, maxX, maxY, true);
            VariableRun literal(p, seed);
            VariableRun fast(p, seed);
            VariableRun portable(p, seed);
            portable.model.UseWideKernel(false);
            for (int g = 1; g <= 25; ++g) {
                literal.model.GenerationLiteral(g);
                fast.model.Generation(g);
                portable.model.Generation(g);
                const std::string where =
                    setting.name + ", seed " + std::to_string(seed) + ", generation " + std::to_string(g);
                ExpectSameState(literal, fast, where);
                ExpectSameState(literal, portable, where + ", portable kernels");
                if (testing::Test::HasFatalFailure())
                    return;
            }
        }
        ++index;
    }
}

// The steps alone: the fast contention step and genotype copy against the literal ones,
// from landscapes with every pairing of species and empty cells.
TEST(VariableModel, FastStepsMatchTheLiteralSteps)
{
    for (uint32_t seed : {5u, 6u, 7u, 8u}) {
        ParameterSet p = SmallParameters(27 + int(seed), 12, 4);
        MixedOutcomes(p);
        p.GParamRec.Border = int(seed % 2);
        p.GParamRec.MeanField = seed >= 7;
        p.GParamRec.TotalCover = 70.0f;
        VariableRun fast(p, seed);
        VariableRun literal(p, seed);
        for (int round = 0; round < 3; ++round) {
            const std::string where = "seed " + std::to_string(seed) + ", round " + std::to_string(round);
            fast.model.CopyLandscapeToPrevious();
            literal.model.CopyLandscapeToPrevious();
            fast.model.CopyGenotypesToPrevious();
            literal.model.CopyGenotypesToPreviousLiteral();
            for (auto* run : {&fast, &literal}) {
                run->model.SetLandscapeBorder();
                run->model.SetGenotypeBorder();
            }
            fast.model.VariableOutcomeRule();
            literal.model.VariableOutcomeRuleLiteral();
            ExpectSameState(literal, fast, where);
        }
    }
}

// Genotypes written from outside (as a stored landscape's would be) may hold anything:
// outcomes above 100, empty cells with a genotype; a negative MutAmtOTC pushes outcomes
// above 100 in closed recruits during the run. The fast path still matches the literal one.
TEST(VariableModel, FastGenerationMatchesOnEditedAndOutOfRangeGenotypes)
{
    ParameterSet p = SmallParameters(29, 23, 4);
    MixedOutcomes(p);
    p.GParamRec.TotalCover = 60.0f;
    p.GParamRec.OverGRate = 100;
    p.GParamRec.RecruitType = 1;
    p.GParamRec.Influx = 0.4f;
    p.GParamRec.MutationOTC = 1.0f;
    p.GParamRec.MutAmtOTC = -40;
    p.MortalityVector[0] = 1.0f;
    p.MortalityVector[2] = 0.3f;
    p.RecruitmentVector.fill(1.0f);
    VariableRun literal(p, 44);
    VariableRun fast(p, 44);
    for (VariableRun* run : {&literal, &fast}) {
        Rng edit{7};
        Genotypes& grids = run->model.EditGrids();
        for (int y = 1; y <= 23; ++y)
            for (int x = 1; x <= 29; ++x)
                for (int j = 1; j <= 4; ++j)
                    if (edit.RandomInt(3) == 0)
                        grids.Current.At(x, y)[j] = OutcomeTriple{int8_t(90 + edit.RandomInt(38)),
                                                                  int8_t(80 + edit.RandomInt(48)), 0};
    }
    for (int g = 1; g <= 12; ++g) {
        literal.model.GenerationLiteral(g);
        fast.model.Generation(g);
        ExpectSameState(literal, fast, "generation " + std::to_string(g));
        if (testing::Test::HasFatalFailure())
            return;
    }
}

TEST(VariableModel, StorageFailureShowsTheMessageAndLeavesNothingAllocated)
{
    ParameterSet p = SmallParameters(30, 20, 4);
    MixedOutcomes(p);
    const std::size_t needed = Genotypes::BytesFor(30, 20, 4);
    for (std::size_t budget : {needed / 4, needed - 1}) {
        auto lands = std::make_unique<Landscapes>();
        Rng rng{9};
        ScriptedDialogs dialogs;
        Model model(p, *lands, rng, dialogs, OutcomeKind::Variable);
        model.GenotypeByteBudget = budget;
        InitProgress none;
        model.StartRun();
        ASSERT_TRUE(model.SetInitCover(none));
        const uint32_t before = rng.RandSeed;
        EXPECT_FALSE(model.SeedGenotypes(true, none));
        ASSERT_EQ(dialogs.messages.size(), 1u);
        EXPECT_EQ(dialogs.messages[0].kind, MessageKind::Information);
        EXPECT_EQ(dialogs.messages[0].buttons, MessageButtons::Ok);
        EXPECT_EQ(dialogs.messages[0].text, "Insufficient memory. Select a smaller landscape or fewer species.");
        EXPECT_FALSE(model.Grids().Current.Allocated());
        EXPECT_FALSE(model.Grids().Previous.Allocated());
        EXPECT_EQ(rng.RandSeed, before);
        model.GenotypeByteBudget = needed;
        EXPECT_TRUE(model.SeedGenotypes(true, none));
        EXPECT_EQ(model.Grids().Bytes(), needed);
    }
}

TEST(VariableModel, ReleasingOrReusingMissingStorageIsAnInternalError)
{
    ParameterSet p = SmallParameters(12, 10, 3);
    auto lands = std::make_unique<Landscapes>();
    Rng rng{1};
    ScriptedDialogs dialogs;
    Model model(p, *lands, rng, dialogs, OutcomeKind::Variable);
    InitProgress none;
    for (auto attempt : {+[](Model& m, InitProgress&) { m.FreeGenotypes(); },
                         +[](Model& m, InitProgress& progress) { m.SeedGenotypes(false, progress); },
                         +[](Model& m, InitProgress&) { m.Generation(1); }}) {
        try {
            attempt(model, none);
            ADD_FAILURE() << "no assertion failure";
        } catch (const AssertionFailure& failure) {
            EXPECT_EQ(failure.Message(), "nil cell within the landscape");
            EXPECT_NE(std::string(failure.what()).find("ModelTwo"), std::string::npos) << failure.what();
        }
    }
    ASSERT_TRUE(model.SeedGenotypes(true, none));
    model.FreeGenotypes();
    EXPECT_FALSE(model.HasGenotypes());
}

// Counts what seeding shows and cancels after a given number of cells.
class CountingProgress : public InitProgress {
public:
    explicit CountingProgress(int cancelAt) : cancelAt_(cancelAt) {}
    void Open(int total) override { opened = total; }
    void Show(int done) override { shown.push_back(done); }
    bool CancelRequested() override { return ++asked == cancelAt_; }
    void Close() override { ++closed; }

    int opened = -1;
    std::vector<int> shown;
    int asked = 0;
    int closed = 0;

private:
    int cancelAt_;
};

TEST(VariableModel, SeedingReportsEvery500CellsAndCancelsAfterAnyCell)
{
    ParameterSet p = SmallParameters(40, 30, 4);
    MixedOutcomes(p);
    VariableRun run(p, 11);
    CountingProgress whole(0);
    ASSERT_TRUE(run.model.SeedGenotypes(false, whole));
    EXPECT_EQ(whole.opened, 1200);
    EXPECT_EQ(whole.shown, (std::vector<int>{500, 1000}));
    EXPECT_EQ(whole.asked, 1200);
    EXPECT_EQ(whole.closed, 1);

    CountingProgress cancelled(777);
    EXPECT_FALSE(run.model.SeedGenotypes(false, cancelled));
    EXPECT_EQ(cancelled.asked, 777);
    EXPECT_EQ(cancelled.closed, 1);
    EXPECT_FALSE(run.model.HasGenotypes());
}

// Seeded genotypes: variable entries only, within the seeding ranges, summing to 100;
// the entry against the own species, fixed pairs and empty cells stay unset.
TEST(VariableModel, SeededGenotypesRespectTheRangesAndTheMatrix)
{
    ParameterSet p = SmallParameters(50, 40, 4);
    MixedOutcomes(p);
    p.GParamRec.TotalCover = 60.0f;
    VariableRun run(p, 21);
    int seeded = 0;
    for (int y = 1; y <= 40; ++y)
        for (int x = 1; x <= 50; ++x) {
            const int s = run.lands->CurrentLandscape(x, y).Species;
            for (int j = 1; j <= 4; ++j) {
                const OutcomeTriple t = run.model.Grids().Current.Triple(x, y, j);
                if (s == 0 || j == s || !IsVariablePair(p, s, j)) {
                    ASSERT_EQ(t, UnsetTriple) << x << "," << y << " against " << j;
                    continue;
                }
                const VariableOutcomeRange& r = p.VariableOutcomeVector[s];
                ASSERT_EQ(t.Win + t.Loss + t.Standoff, 100);
                ASSERT_TRUE(t.Win >= r.WinLow && t.Win <= r.WinHigh) << int(t.Win);
                ASSERT_TRUE(t.Loss >= r.LossLow && t.Loss <= r.LossHigh) << int(t.Loss);
                ASSERT_GE(t.Standoff, 0);
                ++seeded;
            }
        }
    EXPECT_GT(seeded, 1000);
}

// Closed recruitment mutates but never widens the observed ranges; without influx nothing
// mutates at all: every genotype is one that seeding produced.
TEST(VariableModel, ClosedRecruitmentAndZeroInfluxLeaveTheRangesAlone)
{
    for (int influxOff : {0, 1}) {
        ParameterSet p = SmallParameters(30, 30, 4);
        MixedOutcomes(p);
        p.GParamRec.TotalCover = 50.0f;
        p.GParamRec.RecruitType = 1;
        p.GParamRec.Influx = influxOff ? 0.0f : 0.5f;
        p.GParamRec.MutationOTC = 1.0f;
        p.GParamRec.MutAmtOTC = 20;
        p.GParamRec.MutationGR = 1.0f;
        p.GParamRec.MutAmtGR = 10;
        p.MortalityVector[0] = 1.0f;
        for (int s = 1; s <= 4; ++s)
            p.MortalityVector[s] = 0.2f;
        VariableRun run(p, 5);
        const std::vector<std::byte> initial = run.CurrentGenotypes();
        const std::size_t record = run.model.Grids().Current.RecordBytes();
        auto recordAt = [&](const std::vector<std::byte>& bytes, std::size_t at) {
            return std::string(reinterpret_cast<const char*>(bytes.data()) + at, record);
        };
        std::set<std::string> seededGenotypes;
        for (std::size_t at = 0; at < initial.size(); at += record)
            seededGenotypes.insert(recordAt(initial, at));
        std::set<float> seededRates;
        for (int y = 1; y <= 30; ++y)
            for (int x = 1; x <= 30; ++x)
                seededRates.insert(run.lands->CurrentLandscape(x, y).GRate);
        for (int g = 1; g <= 15; ++g)
            run.model.Generation(g);
        EXPECT_EQ(run.model.Ranges().Observed, p.VariableOutcomeVector);
        EXPECT_EQ(run.model.Ranges().Seed, p.VariableOutcomeVector);
        EXPECT_EQ(run.model.ObservedGRateRanges(), p.GRateFractions);
        EXPECT_EQ(run.model.GRateFractions(), p.GRateFractions);
        const std::vector<std::byte> now = run.CurrentGenotypes();
        int foreign = 0;
        for (std::size_t at = 0; at < now.size(); at += record)
            foreign += !seededGenotypes.contains(recordAt(now, at));
        for (int y = 1; y <= 30; ++y)
            for (int x = 1; x <= 30; ++x)
                foreign += !seededRates.contains(run.lands->CurrentLandscape(x, y).GRate);
        if (influxOff)
            EXPECT_EQ(foreign, 0);
        else
            EXPECT_GT(foreign, 0) << "closed recruits should have mutated";
    }
}

// Open recruits mutate and widen the observed ranges, which become the seeding ranges.
TEST(VariableModel, OpenRecruitmentWidensTheRangesAndFeedsThemBack)
{
    ParameterSet p = SmallParameters(30, 30, 4);
    MixedOutcomes(p);
    p.VariableOutcomeVector[2] = {40, 45, 10, 12};
    p.GParamRec.TotalCover = 30.0f;
    p.GParamRec.RecruitType = 0;
    p.GParamRec.Influx = 0.5f;
    p.GParamRec.MutationOTC = 1.0f;
    p.GParamRec.MutAmtOTC = 10;
    p.GParamRec.MutationGR = 1.0f;
    p.GParamRec.MutAmtGR = 5;
    for (int s = 1; s <= 4; ++s)
        p.RecruitmentVector[s] = 1.0f;
    VariableRun run(p, 8);
    run.model.Generation(1);
    const VariableOutcomeRange& widened = run.model.Ranges().Observed[2];
    EXPECT_LT(widened.WinLow + widened.LossLow, 40 + 10);
    EXPECT_GT(widened.WinHigh + widened.LossHigh, 45 + 12);
    EXPECT_EQ(run.model.Ranges().Seed, run.model.Ranges().Observed);
    const GRateFraction& rates = run.model.ObservedGRateRanges()[1];
    EXPECT_TRUE(rates.Low < p.GRateFractions[1].Low || rates.High > p.GRateFractions[1].High);
    EXPECT_EQ(run.model.GRateFractions()[1], rates);
    EXPECT_EQ(run.model.GRateFractions()[2], p.GRateFractions[2]);
    EXPECT_EQ(run.params.GRateFractions, p.GRateFractions) << "the parameter set is only read";
}

} // namespace
} // namespace quorrel
