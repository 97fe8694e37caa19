#include "CountingAllocator.h"
#include "EngineTestSupport.h"
#include "ScriptedDialogs.h"

#include "engine/Model.h"

#include <gtest/gtest.h>

#include <memory>
#include <utility>

namespace quorrel {
namespace {

TEST(NoAllocation, AGenerationAllocatesNothingWithEveryProcessOn)
{
    // Mortality patches with disturbance, or single cells whose empty cells are listed.
    for (const auto& [meanField, patches] : {std::pair{false, true}, std::pair{true, true}, std::pair{false, false}}) {
        ParameterSet p = test::SmallParameters(60, 50, 3);
        p.GrowthRates[2] = {-1, 30, 70};
        p.UpdateGRateFractions();
        p.GParamRec.MeanField = meanField;
        p.GParamRec.TotalCover = 60.0f;
        p.MortalityVector[0] = patches ? 5.0f : 1.0f;
        p.MortalityVector[1] = p.MortalityVector[2] = 0.05f;
        p.GParamRec.DisturbProb = patches ? 0.01f : 0.0f;
        p.GParamRec.PatchType = meanField ? 1 : 0;
        p.GParamRec.PatchSize = 12;
        p.GParamRec.RecruitType = meanField ? 1 : 0;
        p.GParamRec.MutationGR = 0.5f;
        auto lands = std::make_unique<Landscapes>();
        Rng rng{17};
        test::ScriptedDialogs dialogs;
        Model model(p, *lands, rng, dialogs, OutcomeKind::Fixed);
        InitProgress none;
        model.StartRun();
        ASSERT_TRUE(model.SetInitCover(none));
        const long before = allocations.load();
        for (int g = 1; g <= 10; ++g)
            model.Generation(g);
        EXPECT_EQ(allocations.load() - before, 0) << "mean field " << meanField << ", patches " << patches;
    }
}

} // namespace
} // namespace quorrel
