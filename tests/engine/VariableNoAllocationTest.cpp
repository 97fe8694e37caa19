#include "CountingAllocator.h"
#include "VariableTestSupport.h"

#include <gtest/gtest.h>

namespace quorrel {
namespace {

TEST(VariableNoAllocation, GenerationsAllocateNothing)
{
    for (bool meanField : {false, true}) {
        ParameterSet p = test::SmallParameters(60, 50, 4);
        test::MixedOutcomes(p);
        p.GParamRec.MeanField = meanField;
        p.GParamRec.TotalCover = 60.0f;
        p.MortalityVector[0] = 5.0f;
        p.MortalityVector[1] = p.MortalityVector[2] = 0.05f;
        p.GParamRec.DisturbProb = 0.01f;
        p.GParamRec.PatchSize = 12;
        p.GParamRec.RecruitType = meanField ? 1 : 0;
        p.GParamRec.MutationGR = 0.5f;
        p.GParamRec.MutationOTC = 0.5f;
        p.GParamRec.Influx = 1.0f;
        p.RecruitmentVector.fill(1.0f);
        test::VariableRun run(p, 17);
        const std::size_t collections = run.model.Grids().Current.Pool().Collections();
        const long before = allocations.load();
        for (int g = 1; g <= 30; ++g)
            run.model.Generation(g);
        EXPECT_EQ(allocations.load() - before, 0) << "mean field " << meanField;
        // The records that recruits take came partly from records freed during the run.
        EXPECT_GT(run.model.Grids().Current.Pool().Collections(), collections) << "mean field " << meanField;
    }
}

} // namespace
} // namespace quorrel
