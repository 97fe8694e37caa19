#include "EngineTestSupport.h"
#include "StartedRun.h"

#include "engine/Model.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace quorrel {
namespace {

using test::ScriptedDialogs;
using test::SmallParameters;

using ModelRun = test::StartedRun;

struct Setting {
    std::string name;
    void (*apply)(ParameterSet&);
};

void VariableRates(ParameterSet& p)
{
    p.GrowthRates[1] = {-1, 10, 90};
    p.GrowthRates[3] = {-1, 50, 70};
    p.GrowthRates[4] = {45, 0, 0};
    p.UpdateGRateFractions();
    for (int i = 1; i <= 4; ++i)
        for (int j = 1; j <= 4; ++j)
            p.RateAgainst[i][j] = float((20 + 17 * ((i * 5 + j * 3) % 5)) / 100.0);
    p.OutcomeMatrix[1][2] = {60, 30, 10};
    p.OutcomeMatrix[1][3] = {20, 70, 10};
    p.OutcomeMatrix[2][4] = {35, 45, 20};
    p.OutcomeMatrix[3][4] = {80, 10, 10};
    p.MirrorOutcomeMatrix();
    p.GParamRec.OverGRate = 60;
}

const Setting Settings[] = {
    {"defaults, torus, closed", [](ParameterSet&) {}},
    {"open border, open recruitment with mutation",
     [](ParameterSet& p) {
         VariableRates(p);
         p.GParamRec.Border = 1;
         p.GParamRec.RecruitType = 0;
         p.GParamRec.Influx = 0.3f;
         p.GParamRec.MutationGR = 0.5f;
         p.GParamRec.MutAmtGR = 7;
         p.RecruitmentVector[1] = 0.6f;
         p.RecruitmentVector[2] = 0.0f;
         p.RecruitmentVector[3] = 1.0f;
         p.RecruitmentVector[4] = 0.3f;
     }},
    {"mean field, closed recruitment with mutation",
     [](ParameterSet& p) {
         VariableRates(p);
         p.GParamRec.MeanField = true;
         p.GParamRec.MutationGR = 1.0f;
         p.GParamRec.MutAmtGR = 3;
     }},
    {"mortality patches and square disturbance on a torus",
     [](ParameterSet& p) {
         VariableRates(p);
         p.MortalityVector[0] = 5.0f;
         for (int s = 1; s <= 4; ++s)
             p.MortalityVector[s] = float(0.03 * s);
         p.GParamRec.DisturbProb = 0.01f;
         p.GParamRec.PatchSize = 10;
     }},
    {"single-cell mortality, certain for one species, open recruitment",
     [](ParameterSet& p) {
         VariableRates(p);
         p.MortalityVector[0] = 1.0f;
         p.MortalityVector[1] = 0.05f;
         p.MortalityVector[2] = 1.0f;
         p.MortalityVector[4] = 0.2f;
         p.GParamRec.RecruitType = 0;
         p.GParamRec.Influx = 0.3f;
         p.RecruitmentVector.fill(0.5f);
     }},
    {"single-cell mortality below certain, closed recruitment",
     [](ParameterSet& p) {
         VariableRates(p);
         p.MortalityVector[0] = 1.0f;
         for (int s = 1; s <= 4; ++s)
             p.MortalityVector[s] = float(0.04 * s);
     }},
    {"mortality and random-walk disturbance, open border",
     [](ParameterSet& p) {
         VariableRates(p);
         p.GParamRec.Border = 1;
         p.MortalityVector[0] = 3.0f;
         p.MortalityVector[2] = 1.0f;
         p.GParamRec.DisturbProb = 0.02f;
         p.GParamRec.PatchSize = 12;
         p.GParamRec.PatchType = 1;
         p.GParamRec.RecruitType = 0;
     }},
    {"block cover with a grid of rates, square patches, open border",
     [](ParameterSet& p) {
         VariableRates(p);
         p.GParamRec.Cover = 1;
         p.GParamRec.Init = 2;
         p.GParamRec.TotalCover = 70.0f;
         p.GParamRec.Border = 1;
         p.GParamRec.DisturbProb = 0.05f;
         p.GParamRec.PatchSize = 7;
     }},
};

void ExpectSameState(const ModelRun& a, const ModelRun& b, const std::string& where)
{
    ASSERT_NO_FATAL_FAILURE(
        test::ExpectSameLandscape(a.params.GParamRec, a.lands->CurrentLandscape, b.lands->CurrentLandscape, where));
    ASSERT_EQ(a.rng.RandSeed, b.rng.RandSeed) << where;
    ASSERT_EQ(a.model.GRateFractions(), b.model.GRateFractions()) << where;
    ASSERT_EQ(a.model.ObservedGRateRanges(), b.model.ObservedGRateRanges()) << where;
}

// The fast generation, with either contention kernel, gives exactly the landscape,
// growth rates, generator state and range feedback of the literal generation.
TEST(GenerationEquivalence, FastPathsMatchTheLiteralGenerationOnEverySetting)
{
    const std::pair<int, int> sizes[] = {{23, 17}, {40, 41}};
    int settingIndex = 0;
    for (const Setting& setting : Settings) {
        for (uint32_t seed : {1u, 977u, 123456789u}) {
            const auto [maxX, maxY] = sizes[(settingIndex + seed) % 2];
            ParameterSet p = SmallParameters(maxX, maxY, 4);
            p.GParamRec.TotalCover = 45.0f;
            setting.apply(p);
            ModelRun literal(p, seed);
            ModelRun portable(p, seed);
            ModelRun wide(p, seed);
            portable.model.UseWideKernel(false);
            for (int g = 1; g <= 25; ++g) {
                const std::string where = setting.name + ", seed " + std::to_string(seed) + ", generation " +
                                          std::to_string(g);
                literal.model.GenerationLiteral(g);
                portable.model.Generation(g);
                wide.model.Generation(g);
                ExpectSameState(literal, portable, where + " (portable)");
                ExpectSameState(literal, wide, where + " (wide)");
                if (testing::Test::HasFatalFailure())
                    return;
            }
        }
        ++settingIndex;
    }
}

// The contention step alone, on landscapes with every pairing of species, rates and
// empty cells, including rows whose length is not a multiple of the vector width.
TEST(GenerationEquivalence, ContentionStepMatchesTheLiteralRuleCellForCell)
{
    for (uint32_t seed : {5u, 6u, 7u, 8u}) {
        // Seeds 7 and 8: all 40 species, every other one with a variable rate and a
        // varied outcome matrix.
        const int maxspec = seed < 7 ? 4 : 40;
        ParameterSet p = SmallParameters(37 + int(seed), 9, maxspec);
        VariableRates(p);
        if (maxspec == 40) {
            Rng table{seed};
            for (int i = 1; i <= 40; ++i) {
                if (i % 2 == 0)
                    p.GrowthRates[i] = {-1, int8_t(table.RandomInt(50)), int8_t(50 + table.RandomInt(51))};
                for (int j = i + 1; j <= 40; ++j) {
                    const int win = int(table.RandomInt(101));
                    p.OutcomeMatrix[i][j] = {int8_t(win), int8_t(100 - win), 0};
                    p.RateAgainst[i][j] = float(table.RandomReal());
                    p.RateAgainst[j][i] = float(table.RandomReal());
                }
            }
            p.MirrorOutcomeMatrix();
            p.UpdateGRateFractions();
        }
        p.GParamRec.Border = int(seed % 2);
        auto lands = std::make_unique<Landscapes>();
        Rng fill{seed};
        for (int y = 1; y <= 9; ++y)
            for (int x = 1; x <= p.GParamRec.MaxX; ++x) {
                const int s = int(fill.RandomInt(maxspec + 1));
                lands->CurrentLandscape(x, y) = s == 0 ? EmptyCell : Cell{s, float(fill.RandomReal())};
            }
        ScriptedDialogs dialogs;
        Rng rng{seed * 31u};
        Model model(p, *lands, rng, dialogs, OutcomeKind::Fixed);
        model.CopyLandscapeToPrevious();
        model.SetLandscapeBorder();
        const auto literal = std::make_unique<Landscapes>(*lands);
        Rng literalRng{seed * 31u};
        FixedOutcomeRuleLiteral(p, literal->PreviousLandscape, literal->CurrentLandscape, literalRng);
        for (bool wide : {false, true}) {
            model.UseWideKernel(wide);
            rng.RandSeed = seed * 31u;
            model.FixedOutcomeRule();
            EXPECT_EQ(rng.RandSeed, literalRng.RandSeed);
            for (int y = 1; y <= 9; ++y)
                for (int x = 1; x <= p.GParamRec.MaxX; ++x)
                    ASSERT_EQ(lands->CurrentLandscape(x, y), literal->CurrentLandscape(x, y))
                        << "seed " << seed << " wide " << wide << " at " << x << "," << y;
        }
    }
}

} // namespace
} // namespace quorrel
