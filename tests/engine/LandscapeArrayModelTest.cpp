#include "EngineTestSupport.h"
#include "ScriptedDialogs.h"
#include "StartedRun.h"
#include "VariableTestSupport.h"

#include "engine/LandscapeArrayModel.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <string>
#include <vector>

namespace quorrel::test {
namespace {

// Generation 1 of landscape (1, 1) in a 2 x 2 array whose landscapes k = 1..4 hold species k
// on every other cell. Nothing grows (growth rates 0) and nothing dies, so the empty cells
// show which influx acted: species 1 copied within the landscape, species 2 and 3 arrived
// from the neighbours.
TEST(LandscapeArrayModel, TheTwoInfluxesAlternateByTheTimeStep)
{
    struct Case {
        int timeStep;
        float between;
        float inside;
        bool own;     // empty cells filled from within
        bool foreign; // immigrants from the neighbours
    };
    const Case cases[] = {
        {1, 1.0f, 1.0f, false, true},   // every generation is one of influx between landscapes
        {1, 0.0f, 1.0f, false, false},  // ... and with none between, there is none at all
        {2, 1.0f, 1.0f, true, false},   // generation 1 is not a multiple of 2
        {3, 1.0f, 0.0f, false, false},
    };
    for (const Case& k : cases) {
        TempFolder dir;
        ParameterSet params = SmallParameters(10, 10, 4);
        params.GParamRec.RecruitType = 1;
        params.GParamRec.Influx = k.inside;
        for (int s = 1; s <= 4; ++s)
            params.RecruitmentVector[s] = 1.0f;
        Landscapes lands;
        Rng rng;
        rng.RandSeed = 11;
        ScriptedDialogs dialogs;
        ArraySettings array;
        array.NumOfRow = 2;
        array.NumOfCol = 2;
        array.InfluxTimeStep = k.timeStep;
        array.InfluxBetween = k.between;
        LandscapeArrayModel model(params, lands, rng, dialogs, array, OutcomeKind::Fixed);
        ASSERT_TRUE(model.SetTables());
        model.StartRun(dir.Path());
        for (int species = 1; species <= 4; ++species) {
            for (int y = 1; y <= 10; ++y)
                for (int x = 1; x <= 10; ++x)
                    lands.CurrentLandscape(x, y) = (x + y) % 2 == 0 ? Cell{species, 0.0f} : EmptyCell;
            model.Stores().SaveLandscape((species - 1) / 2 + 1, (species - 1) % 2 + 1);
        }
        model.AdvanceStores();
        model.StepLandscape(1, 1, 1);
        model.LoadCurrent(1, 1);
        int own = 0;
        int foreign = 0;
        for (int y = 1; y <= 10; ++y)
            for (int x = 1; x <= 10; ++x) {
                const int s = lands.CurrentLandscape(x, y).Species;
                if ((x + y) % 2 != 0 && s != 0)
                    ++(s == 1 ? own : foreign);
                EXPECT_NE(s, 4);
            }
        EXPECT_EQ(own > 0, k.own) << k.timeStep << " " << k.between << " " << k.inside;
        EXPECT_EQ(foreign > 0, k.foreign) << k.timeStep << " " << k.between << " " << k.inside;
        if (k.own) {
            EXPECT_EQ(own, 50);
        }
        model.EndRun();
        EXPECT_TRUE(std::filesystem::is_empty(dir.Path()));
    }
}

// An array run with its own parameters, landscapes, generator and scratch folder, its
// landscapes stepped by the model's fast or literal steps.
struct ArrayRun {
    TempFolder dir;
    ParameterSet params;
    Landscapes lands;
    Rng rng;
    ScriptedDialogs dialogs;
    LandscapeArrayModel model;

    ArrayRun(const ParameterSet& p, const ArraySettings& array, OutcomeKind kind, bool literal)
        : params(p), rng{977}, model(params, lands, rng, dialogs, array, kind)
    {
        model.UseLiteralSteps(literal);
        EXPECT_TRUE(model.SetTables());
        model.StartRun(dir.Path());
        InitProgress none;
        for (int r = 1; r <= array.NumOfRow; ++r)
            for (int c = 1; c <= array.NumOfCol; ++c)
                EXPECT_TRUE(model.InitialiseLandscape(r, c, none));
    }

    std::vector<std::byte> Genotypes() const
    {
        std::vector<std::byte> bytes(model.CurrentGenotypes().InteriorBytes());
        model.CurrentGenotypes().SaveInterior(bytes);
        return bytes;
    }
};

// Every landscape of an array stepped by the fast steps (row steps, empty-cell lists, vector
// kernels) matches the literal steps bit for bit: cells, genotypes, generator.
TEST(LandscapeArrayModel, FastStepsMatchTheLiteralStepsInEveryLandscape)
{
    struct Case {
        std::string name;
        OutcomeKind kind;
        int border;
        bool meanField;
        float mortalSize;
        float disturb;
        float inside;
        float between;
        int timeStep;
    };
    const Case cases[] = {
        {"fixed, torus, single-cell mortality, influx inside", OutcomeKind::Fixed, 0, false, 1.0f, 0.0f, 0.3f, 0.2f, 3},
        {"fixed, open, mortality patches, disturbance", OutcomeKind::Fixed, 1, false, 3.0f, 0.05f, 0.2f, 0.5f, 2},
        {"fixed, mean field, influx between only", OutcomeKind::Fixed, 0, true, 1.0f, 0.0f, 0.0f, 0.4f, 1},
        {"variable, torus, single-cell mortality", OutcomeKind::Variable, 0, false, 1.0f, 0.0f, 0.3f, 0.2f, 3},
        {"variable, open, patches, disturbance", OutcomeKind::Variable, 1, false, 4.0f, 0.05f, 0.2f, 0.3f, 2},
        {"variable, mean field", OutcomeKind::Variable, 1, true, 1.0f, 0.0f, 0.25f, 0.3f, 2},
    };
    for (const Case& k : cases) {
        ParameterSet p = SmallParameters(17, 13, 4);
        MixedOutcomes(p);
        if (k.kind == OutcomeKind::Fixed) {
            for (int i = 1; i <= 4; ++i)
                for (int j = i + 1; j <= 4; ++j)
                    p.OutcomeMatrix[i][j] = OutcomeTriple{int8_t(20 + 10 * i), int8_t(60 - 10 * j), int8_t(20 - 10 * i + 10 * j)};
            p.MirrorOutcomeMatrix();
        }
        GParamStruct& g = p.GParamRec;
        g.Border = k.border;
        g.MeanField = k.meanField;
        g.RecruitType = 1;
        g.Influx = k.inside;
        g.DisturbProb = k.disturb;
        g.PatchSize = 3;
        g.MutationGR = 0.3f;
        g.MutAmtGR = 5;
        g.MutationOTC = 0.3f;
        g.MutAmtOTC = 6;
        p.MortalityVector[0] = k.mortalSize;
        for (int s = 1; s <= 4; ++s) {
            p.MortalityVector[s] = 0.05f * s;
            p.RecruitmentVector[s] = 0.4f + 0.1f * s;
        }
        ArraySettings array;
        array.NumOfRow = 2;
        array.NumOfCol = 3;
        array.TypeGRate = ClumpedSpread;
        array.InfluxBetween = k.between;
        array.InfluxTimeStep = k.timeStep;
        ArrayRun fast(p, array, k.kind, false);
        ArrayRun literal(p, array, k.kind, true);
        for (int gen = 1; gen <= 7; ++gen) {
            for (ArrayRun* run : {&fast, &literal}) {
                run->model.AdvanceStores();
                for (int r = 1; r <= 2; ++r)
                    for (int c = 1; c <= 3; ++c)
                        run->model.StepLandscape(r, c, gen);
            }
            const std::string where = k.name + ", generation " + std::to_string(gen);
            ASSERT_EQ(fast.rng.RandSeed, literal.rng.RandSeed) << where;
            for (int r = 1; r <= 2; ++r)
                for (int c = 1; c <= 3; ++c) {
                    fast.model.LoadCurrent(r, c);
                    literal.model.LoadCurrent(r, c);
                    ExpectSameLandscape(g, fast.lands.CurrentLandscape, literal.lands.CurrentLandscape, where);
                    if (k.kind == OutcomeKind::Variable) {
                        ASSERT_EQ(fast.Genotypes(), literal.Genotypes()) << where;
                    }
                }
            ASSERT_EQ(fast.model.LandscapeModel().ObservedGRateRanges(),
                      literal.model.LandscapeModel().ObservedGRateRanges())
                << where;
        }
        fast.model.EndRun();
        literal.model.EndRun();
    }
}

} // namespace
} // namespace quorrel::test
