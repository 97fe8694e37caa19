#include "CountingAllocator.h"
#include "VariableTestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

namespace quorrel {
namespace {

TEST(VariableNoAllocation, GenerationsAllocateNothing)
{
    // Mortality patches with disturbance, or single cells whose empty cells are listed.
    for (const auto& [meanField, patches] : {std::pair{false, true}, std::pair{true, true}, std::pair{false, false}}) {
        ParameterSet p = test::SmallParameters(60, 50, 4);
        test::MixedOutcomes(p);
        p.GParamRec.MeanField = meanField;
        p.GParamRec.TotalCover = 60.0f;
        p.MortalityVector[0] = patches ? 5.0f : 1.0f;
        p.MortalityVector[1] = p.MortalityVector[2] = 0.05f;
        if (!patches)
            p.MortalityVector[3] = p.MortalityVector[4] = 0.2f;
        p.GParamRec.DisturbProb = patches ? 0.01f : 0.0f;
        p.GParamRec.PatchSize = 12;
        p.GParamRec.RecruitType = meanField ? 1 : 0;
        p.GParamRec.MutationGR = 0.5f;
        p.GParamRec.MutationOTC = 0.5f;
        p.GParamRec.Influx = 1.0f;
        p.RecruitmentVector.fill(1.0f);
        const std::string where = std::string("mean field ") + (meanField ? "on" : "off") +
                                  (patches ? ", patches" : ", single cells");
        test::VariableRun run(p, 17);
        const std::size_t collections = run.model.Grids().Current.Pool().Collections();
        const long before = allocations.load();
        for (int g = 1; g <= 30; ++g)
            run.model.Generation(g);
        EXPECT_EQ(allocations.load() - before, 0) << where;
        // The records that recruits take came partly from records freed during the run.
        EXPECT_GT(run.model.Grids().Current.Pool().Collections(), collections) << where;
    }
}

} // namespace
} // namespace quorrel
