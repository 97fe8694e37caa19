#include "params/AssertionFailure.h"
#include "params/ParameterSet.h"

#include <gtest/gtest.h>

namespace quorrel {
namespace {

ParameterSet StartupWithDefaults()
{
    return ParameterSet::InbuiltDefaults("/data/run");
}

TEST(ParameterSet, InbuiltDefaultsGiveAStrictHierarchyOfThreeSpecies)
{
    const ParameterSet p = StartupWithDefaults();
    EXPECT_EQ(p.GParamRec.Maxspec, 3);
    EXPECT_EQ(p.GParamRec.MaxX, 200);
    EXPECT_EQ(p.GParamRec.MaxY, 200);
    EXPECT_EQ(p.GParamRec.CoverFile, "/data/run/InitialCover.txt");
    EXPECT_FLOAT_EQ(p.GParamRec.Influx, 0.1f);
    EXPECT_EQ(p.GParamRec.RecruitType, 1);
    for (auto [i, j] : {std::pair{1, 2}, {1, 3}, {2, 3}}) {
        EXPECT_EQ(p.OutcomeMatrix[i][j], (OutcomeTriple{100, 0, 0})) << i << "," << j;
        EXPECT_EQ(p.OutcomeMatrix[j][i], (OutcomeTriple{0, 100, 0})) << j << "," << i;
    }
    // Species beyond N keep the start-up values.
    EXPECT_EQ(p.RecruitmentVector[1], 0.01f);
    EXPECT_EQ(p.RecruitmentVector[3], 0.01f);
    EXPECT_EQ(p.RecruitmentVector[4], 1.0f);
    EXPECT_EQ(p.RecruitmentVector[40], 1.0f);
    EXPECT_EQ(p.OutcomeMatrix[4][5], (OutcomeTriple{0, 0, 100}));
    EXPECT_EQ(p.VariableOutcomeVector[2], (VariableOutcomeRange{0, 100, 0, 100}));
    EXPECT_EQ(p.RateAgainst[40][1], 1.0f);
}

TEST(ParameterSet, MirroringAVariableEntryGivesTheCanonicalVariableTriple)
{
    ParameterSet p = StartupWithDefaults();
    p.OutcomeMatrix[1][3] = OutcomeTriple{-5, 30, 12};
    p.MirrorOutcomeMatrix();
    EXPECT_EQ(p.OutcomeMatrix[3][1], (OutcomeTriple{-1, 0, 0}));
    EXPECT_EQ(p.OutcomeMatrix[1][3], (OutcomeTriple{-5, 30, 12}));
    p.OutcomeMatrix[1][2] = OutcomeTriple{20, 50, 30};
    p.MirrorOutcomeMatrix();
    EXPECT_EQ(p.OutcomeMatrix[2][1], (OutcomeTriple{50, 20, 30}));
}

TEST(ParameterSet, GrowthRateFractions)
{
    ParameterSet p = StartupWithDefaults();
    p.GrowthRates[1] = GrowthRate{-1, 20, 60};
    p.GrowthRates[2] = GrowthRate{35, 0, 0};
    p.UpdateGRateFractions();
    EXPECT_EQ(p.GRateFractions[1], (GRateFraction{-1.0f, 0.2f, 0.6f}));
    EXPECT_EQ(p.GRateFractions[2], (GRateFraction{0.35f, 0.0f, 0.0f}));
    EXPECT_TRUE(p.HasVariableGRate(1));
    EXPECT_FALSE(p.HasVariableGRate(2));
}

TEST(ParameterSet, ResetOutcomeKinds)
{
    ParameterSet p = StartupWithDefaults();
    OutcomeTable working{};
    p.ResetOutcome(4, &working);
    EXPECT_EQ(working[3][3], (OutcomeTriple{-1, 0, 0}));
    EXPECT_EQ(working[4][4], (OutcomeTriple{0, 0, 0})); // beyond N untouched
    p.ResetOutcome(3, &working);
    EXPECT_EQ(working[1][2], (OutcomeTriple{0, 0, 100}));
    p.ResetOutcome(0);
    EXPECT_EQ(p.OutcomeMatrix[40][40], (OutcomeTriple{0, 0, 100}));
    EXPECT_EQ(p.GrowthRates[40], (GrowthRate{100, 0, 0}));
    try {
        p.ResetOutcome(5);
        FAIL() << "no assertion failure";
    } catch (const AssertionFailure& failure) {
        EXPECT_EQ(failure.Message(), "ResetOutcome() bad argument");
        EXPECT_NE(std::string(failure.what()).find("(Outcome, line "), std::string::npos);
    }
}

TEST(ParameterSet, VariablePairOnTheDiagonalCounts)
{
    ParameterSet p = StartupWithDefaults();
    EXPECT_FALSE(p.HasVariablePair());
    p.OutcomeMatrix[2][2] = OutcomeTriple{-1, 0, 0};
    EXPECT_TRUE(p.HasVariablePair());
}

} // namespace
} // namespace quorrel
