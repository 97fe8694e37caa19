#include "RunsTestSupport.h"
#include "ScriptedRunHost.h"

#include "runs/SingleRun.h"
#include "runs/PlotCadence.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace quorrel::test {
namespace {

std::vector<int> DueGenerations(int maxgen, int updates)
{
    PlotCadence cadence(maxgen, updates);
    std::vector<int> due;
    for (int g = 1; g <= maxgen; ++g)
        if (cadence.Due(g))
            due.push_back(g);
    return due;
}

TEST(PlotCadence, SpreadsUpdatesEvenlyOverLongRuns)
{
    const std::vector<int> thousand = DueGenerations(1000, 400);
    ASSERT_EQ(thousand.size(), 400u);
    EXPECT_EQ(std::vector<int>(thousand.begin(), thousand.begin() + 5), (std::vector<int>{3, 5, 8, 10, 13}));
    EXPECT_EQ(thousand.back(), 1000);

    EXPECT_EQ(DueGenerations(399, 400).size(), 399u);
    EXPECT_EQ(DueGenerations(400, 400).size(), 400u);

    const std::vector<int> outcome = DueGenerations(1000, 200);
    ASSERT_EQ(outcome.size(), 200u);
    EXPECT_EQ(std::vector<int>(outcome.begin(), outcome.begin() + 3), (std::vector<int>{5, 10, 15}));
    EXPECT_EQ(DueGenerations(199, 200).size(), 199u);
}

class FixedSingleRunTest : public ::testing::Test {
protected:
    TempFolder folder;
    std::unique_ptr<AppState> app = SmallApp(folder.Path(), 12);
    ScriptedRunHost host;

    RunEnd Run()
    {
        SingleRun run(*app, OutcomeKind::Fixed, host.Sinks());
        const RunEnd end = run.Start(host, host);
        curGen = run.CurGen();
        return end;
    }
    int curGen = -1;
};

TEST_F(FixedSingleRunTest, StopChangeDisplayCycleAndContinue)
{
    host.SetDisplayCycle(1);
    host.afterGeneration = [](ScriptedRunHost& h, int g) {
        if (g == 4)
            h.SetState(RunState::Stopped);
    };
    host.whileStopped = [](ScriptedRunHost& h, int wait) {
        if (wait == 1)
            h.SetDisplayCycle(3);
        else
            h.SetState(RunState::Continued);
    };
    EXPECT_EQ(Run(), RunEnd::Completed);
    EXPECT_EQ(curGen, 12);
    EXPECT_EQ(host.landscapeShown, (std::vector<int>{0, 1, 2, 3, 4, 6, 9, 12}));
    EXPECT_EQ(host.started, 1);
    EXPECT_EQ(host.finished, std::vector<RunEnd>{RunEnd::Completed});
    ASSERT_EQ(host.hidden.size(), 1u);
    EXPECT_TRUE(host.hidden[0].Landscape);
    EXPECT_FALSE(host.hidden[0].OutcomeStats);
}

TEST_F(FixedSingleRunTest, AWindowThatDeclinesPicturesIsShownTheLandscapeWhenTheRunStops)
{
    host.SetDisplayCycle(1);
    host.declinePictures = true;
    host.afterGeneration = [](ScriptedRunHost& h, int g) {
        if (g == 5 || g == 7)
            h.SetState(RunState::Stopped);
    };
    EXPECT_EQ(Run(), RunEnd::Completed);
    EXPECT_EQ(host.landscapeShown, (std::vector<int>{0, 5, 7, 12}));
}

TEST_F(FixedSingleRunTest, ResetWhileStoppedClosesTheFilesAtTheLastGeneration)
{
    app->Options.WriteCoverage = true;
    app->Options.WriteGRate = true;
    host.afterGeneration = [](ScriptedRunHost& h, int g) {
        if (g == 5)
            h.SetState(RunState::Stopped);
    };
    host.whileStopped = [](ScriptedRunHost& h, int) { h.SetState(RunState::Reset); };
    EXPECT_EQ(Run(), RunEnd::Reset);
    EXPECT_EQ(curGen, 5);
    EXPECT_EQ(host.finished, std::vector<RunEnd>{RunEnd::Reset});
    EXPECT_EQ(LastGeneration(app->Options.CoverFilename), 5);
    // The growth-rate files are derived from GRateFilename: GRate1.dat and GRate2.dat.
    EXPECT_EQ(LastGeneration(folder.File("GRate1.dat")), 5);
    EXPECT_EQ(LastGeneration(folder.File("GRate2.dat")), 5);
    EXPECT_TRUE(host.dialogs.messages.empty());
}

TEST_F(FixedSingleRunTest, ClosingOrTerminatingEndsAfterTheCurrentGeneration)
{
    host.afterGeneration = [](ScriptedRunHost& h, int g) {
        if (g == 3)
            h.SetState(RunState::Closing);
    };
    EXPECT_EQ(Run(), RunEnd::Closed);
    EXPECT_EQ(curGen, 3);
    EXPECT_EQ(host.finished, std::vector<RunEnd>{RunEnd::Closed});

    // Stopped when the application begins to terminate: the pause ends at once.
    host.afterGeneration = [](ScriptedRunHost& h, int g) {
        if (g == 2) {
            h.SetState(RunState::Stopped);
            h.terminating = true;
        }
    };
    host.whileStopped = [](ScriptedRunHost&, int) { ADD_FAILURE() << "paused while terminating"; };
    EXPECT_EQ(Run(), RunEnd::Terminated);
    EXPECT_EQ(curGen, 2);
}

TEST_F(FixedSingleRunTest, PlotsAreUpdatedAtMost400Times)
{
    struct Case {
        int maxgen;
        size_t updates;
        std::vector<int> first;
    };
    for (const Case& c : {Case{1000, 400, {3, 5, 8, 10}}, Case{399, 399, {1, 2, 3, 4}}}) {
        app->Params.GParamRec.Maxgen = c.maxgen;
        app->Options.ShowGRate1 = false;
        app->Options.ShowGRate2 = false;
        host.plotRefreshes.clear();
        ASSERT_EQ(Run(), RunEnd::Completed);
        std::vector<int> coverage;
        for (const auto& [plot, g] : host.plotRefreshes)
            if (plot == 1)
                coverage.push_back(g);
        // The last refresh is the finished plot at the end of the run.
        ASSERT_EQ(coverage.size(), c.updates + 1) << c.maxgen;
        EXPECT_EQ(std::vector<int>(coverage.begin(), coverage.begin() + 4), c.first);
        EXPECT_EQ(coverage[c.updates - 1], c.maxgen);
    }
}

TEST_F(FixedSingleRunTest, ConsecutiveRunsContinueTheSequenceAndReloadingTheSeedRepeatsIt)
{
    app->Options.WriteCoverage = true;
    auto runOnce = [&] {
        EXPECT_EQ(Run(), RunEnd::Completed);
        return ReadAll(app->Options.CoverFilename);
    };
    const std::string first = runOnce();
    const std::string second = runOnce();
    app->ReloadSeed();
    const std::string again = runOnce();
    EXPECT_NE(first, second);
    EXPECT_EQ(first, again);
}

class CancellingProgress : public InitProgress {
public:
    bool CancelRequested() override { return true; }
};

TEST_F(FixedSingleRunTest, CancelledOrUnreadableInitialLandscapeReturnsToIdleBeforeGenerationOne)
{
    app->Options.WriteCoverage = true;
    CancellingProgress cancel;
    host.progress = &cancel;
    EXPECT_EQ(Run(), RunEnd::NotStarted);
    EXPECT_EQ(curGen, 0);
    EXPECT_FALSE(std::filesystem::exists(app->Options.CoverFilename));
    EXPECT_TRUE(host.landscapeShown.empty());
    EXPECT_TRUE(host.dialogs.messages.empty());

    host.progress = nullptr;
    app->Params.GParamRec.Cover = 2;
    app->Params.GParamRec.CoverFile = folder.File("missing.txt");
    EXPECT_EQ(Run(), RunEnd::NotStarted);
    EXPECT_EQ(curGen, 0);
    EXPECT_EQ(host.dialogs.messages.size(), 1u);
    EXPECT_EQ(host.finished, (std::vector<RunEnd>{RunEnd::NotStarted, RunEnd::NotStarted}));
}

TEST_F(FixedSingleRunTest, AnAssertionFailureEndsTheRunWithItsMessageAndClosesTheFiles)
{
    app->Options.WriteCoverage = true;
    // A patch type the disturbance does not know.
    app->Params.GParamRec.DisturbProb = 0.5f;
    app->Params.GParamRec.PatchType = 2;
    // The run's widening of the variable growth-rate range is dropped at the end.
    app->Params.GrowthRates[1] = GrowthRate{-1, 20, 40};
    app->Params.UpdateGRateFractions();
    const auto fractions = app->Params.GRateFractions;
    EXPECT_EQ(Run(), RunEnd::Failed);
    EXPECT_EQ(curGen, 1);
    ASSERT_EQ(host.dialogs.messages.size(), 1u);
    EXPECT_EQ(host.dialogs.messages[0].kind, MessageKind::Error);
    EXPECT_TRUE(host.dialogs.LastText().starts_with("ApplyDisturbance: invalid PatchType parameter. (Landscape, line "))
        << host.dialogs.LastText();
    EXPECT_EQ(LastGeneration(app->Options.CoverFilename), 0);
    EXPECT_EQ(app->Params.GRateFractions, fractions);
    EXPECT_EQ(host.finished, std::vector<RunEnd>{RunEnd::Failed});
}

TEST_F(FixedSingleRunTest, AnUnwritableDataFileEndsTheRunWithItsMessage)
{
    app->Options.WriteCoverage = true;
    app->Options.CoverFilename = folder.File("no-such-folder/Cover.dat");
    EXPECT_EQ(Run(), RunEnd::Failed);
    EXPECT_EQ(curGen, 0);
    ASSERT_EQ(host.dialogs.messages.size(), 1u);
    EXPECT_EQ(host.dialogs.LastText(), "No such file or directory:\r  " + app->Options.CoverFilename);
}

} // namespace
} // namespace quorrel::test
