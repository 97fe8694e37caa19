#include "RunsTestSupport.h"
#include "ScriptedRunHost.h"

#include "runs/SingleRun.h"

#include <gtest/gtest.h>

#include <vector>

namespace quorrel::test {
namespace {

// A small variable-outcome run: species 1 and 2 in a variable relation, outcome mutation on.
class VariableSingleRunTest : public ::testing::Test {
protected:
    TempFolder folder;
    std::unique_ptr<AppState> app = SmallApp(folder.Path(), 12);
    ScriptedRunHost host;

    void SetUp() override
    {
        ParameterSet& p = app->Params;
        p.OutcomeMatrix[1][2] = OutcomeTriple{-1, 0, 0};
        p.OutcomeMatrix[2][1] = OutcomeTriple{-1, 0, 0};
        p.VariableOutcomeVector[1] = VariableOutcomeRange{20, 60, 10, 30};
        p.VariableOutcomeVector[2] = VariableOutcomeRange{30, 50, 20, 40};
        p.GParamRec.MutationOTC = 0.3f;
        p.GParamRec.MutAmtOTC = 5;
        p.GParamRec.TotalCover = 60.0f;
    }

    RunEnd Run(std::size_t budget = std::numeric_limits<std::size_t>::max())
    {
        SingleRun run(*app, OutcomeKind::Variable, host.Sinks());
        run.GenotypeByteBudget = budget;
        const RunEnd end = run.Start(host, host);
        curGen = run.CurGen();
        return end;
    }
    std::string OutcomeFile(int n) const { return folder.File("Outcome" + std::to_string(n) + ".dat"); }
    int curGen = -1;
};

TEST_F(VariableSingleRunTest, OutcomePlotsAreExtendedAtMost200Times)
{
    struct Case {
        int maxgen;
        size_t updates;
        std::vector<int> first;
    };
    for (const Case& c : {Case{1000, 200, {5, 10, 15}}, Case{199, 199, {1, 2, 3}}}) {
        app->Params.GParamRec.Maxgen = c.maxgen;
        host.outcomeRefreshes.clear();
        ASSERT_EQ(Run(), RunEnd::Completed);
        ASSERT_EQ(host.outcomeRefreshes.size(), c.updates) << c.maxgen;
        EXPECT_EQ(std::vector<int>(host.outcomeRefreshes.begin(), host.outcomeRefreshes.begin() + 3), c.first);
        EXPECT_EQ(host.outcomeRefreshes.back(), c.maxgen);
    }
    ASSERT_EQ(host.hidden.size(), 2u);
    EXPECT_TRUE(host.hidden[0].OutcomeStats && host.hidden[0].GCGraphs && host.hidden[0].FreqTimeOutcome);
}

TEST_F(VariableSingleRunTest, ResetMidRunLeavesTheOutcomeFilesEndingAtTheLastGeneration)
{
    app->Options.WriteOTC = true;
    app->Options.WriteCoverage = true;
    host.afterGeneration = [](ScriptedRunHost& h, int g) {
        if (g == 7)
            h.SetState(RunState::Stopped);
    };
    host.whileStopped = [](ScriptedRunHost& h, int) { h.SetState(RunState::Reset); };
    EXPECT_EQ(Run(), RunEnd::Reset);
    EXPECT_EQ(curGen, 7);
    EXPECT_EQ(LastGeneration(OutcomeFile(1)), 7) << LastLine(ReadAll(OutcomeFile(1)));
    EXPECT_EQ(LastGeneration(OutcomeFile(2)), 7);
    EXPECT_EQ(LastGeneration(app->Options.CoverFilename), 7);
    EXPECT_TRUE(host.dialogs.messages.empty());
}

TEST_F(VariableSingleRunTest, EveryRunStartsAgainFromTheOutcomeRangesOfTheParameters)
{
    app->Options.WriteOTC = true;
    auto runOnce = [&] {
        EXPECT_EQ(Run(), RunEnd::Completed);
        return ReadAll(OutcomeFile(1)) + ReadAll(OutcomeFile(2));
    };
    const std::string first = runOnce();
    const std::string continued = runOnce();
    app->ReloadSeed();
    const std::string again = runOnce();
    EXPECT_NE(first, continued);
    EXPECT_EQ(first, again);
}

TEST_F(VariableSingleRunTest, WithoutGenotypeStorageTheRunDoesNotStart)
{
    app->Options.WriteOTC = true;
    EXPECT_EQ(Run(1), RunEnd::NotStarted);
    EXPECT_EQ(curGen, 0);
    ASSERT_EQ(host.dialogs.messages.size(), 1u);
    EXPECT_EQ(host.dialogs.LastText(), "Insufficient memory. Select a smaller landscape or fewer species.");
    EXPECT_FALSE(std::filesystem::exists(OutcomeFile(1)));
    EXPECT_EQ(host.finished, std::vector<RunEnd>{RunEnd::NotStarted});

    // The next run, with storage, goes ahead.
    EXPECT_EQ(Run(), RunEnd::Completed);
    EXPECT_EQ(LastGeneration(OutcomeFile(1)), 12);
}

} // namespace
} // namespace quorrel::test
