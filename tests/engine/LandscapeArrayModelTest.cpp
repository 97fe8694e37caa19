#include "EngineTestSupport.h"
#include "ScriptedDialogs.h"

#include "engine/LandscapeArrayModel.h"

#include <gtest/gtest.h>

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
        LandscapeArrayModel model(params, lands, rng, dialogs, array, false);
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

} // namespace
} // namespace quorrel::test
