#include "RunsTestSupport.h"
#include "ScriptedRunHost.h"

#include "runs/LandscapeArrayRun.h"

#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <vector>

namespace quorrel::test {
namespace {

namespace fs = std::filesystem;

// The data lines of a statistics file: those after its last rule line, split into numbers.
std::vector<std::vector<double>> DataLines(const std::string& path)
{
    std::istringstream in(ReadAll(path));
    std::vector<std::vector<double>> lines;
    for (std::string line; std::getline(in, line);) {
        if (line.starts_with("-------")) {
            lines.clear();
            continue;
        }
        std::istringstream numbers(line);
        std::vector<double> values;
        for (double v; numbers >> v;)
            values.push_back(v);
        if (!values.empty())
            lines.push_back(values);
    }
    return lines;
}

int FileCount(const fs::path& dir)
{
    int n = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator(dir))
        ++n;
    return n;
}

class LandscapeArrayRunTest : public ::testing::Test {
protected:
    TempFolder folder;
    std::unique_ptr<AppState> app = SmallApp(folder.Path(), 5);
    ScriptedRunHost host;
    ArraySettingTexts texts{"2", "2", "Uniform", "0.05", "2", "0.1", "Uniform"};

    void SetUp() override
    {
        app->TempDir = folder.Path() / "QRLtemp";
        fs::create_directories(app->TempDir);
        OptionStruct& o = app->Options;
        o.ShowFTPlot = o.ShowOTC = o.ShowGCGraph = o.ShowFTPOTC = false;
        ParameterSet& p = app->Params;
        p.GrowthRates[2] = GrowthRate{-1, 20, 60};
        p.UpdateGRateFractions();
        PrepareArrayWindow(p, app->Array);
    }

    void MakeVariable()
    {
        ParameterSet& p = app->Params;
        p.OutcomeMatrix[1][2] = OutcomeTriple{-1, 0, 0};
        p.OutcomeMatrix[2][3] = OutcomeTriple{-1, 0, 0};
        p.MirrorOutcomeMatrix();
        for (int s = 1; s <= 3; ++s)
            p.VariableOutcomeVector[s] = VariableOutcomeRange{20, 80, 0, 20};
        p.GParamRec.MutationOTC = 0.2f;
        p.GParamRec.MutAmtOTC = 5;
    }
};

TEST_F(LandscapeArrayRunTest, TwoByFiveTotalsAreCompletedOncePerGenerationFromTheLandscapes)
{
    OptionStruct& o = app->Options;
    o.WriteCoverage = o.WriteGRate = true;
    texts.NumOfCol = "5";
    ASSERT_EQ(LandscapeArrayRun(*app, OutcomeKind::Fixed, host.Sinks()).Start(host, host, texts), RunEnd::Completed);

    std::vector<int> coverageRefreshes;
    for (const auto& [plot, g] : host.plotRefreshes)
        if (plot == 1)
            coverageRefreshes.push_back(g);
    EXPECT_EQ(coverageRefreshes, (std::vector<int>{1, 2, 3, 4, 5, 5}));

    const auto totals = DataLines(folder.File("Cover.dat"));
    const auto each = DataLines(folder.File("Cover1.dat"));
    ASSERT_EQ(totals.size(), 6u);
    ASSERT_EQ(each.size(), 60u);
    EXPECT_EQ(DataLines(folder.File("GRate11.dat")).size(), 60u);
    EXPECT_EQ(DataLines(folder.File("GRate12.dat")).size(), 60u);
    for (int g = 0; g <= 5; ++g) {
        EXPECT_EQ(totals[g][0], g);
        for (int s = 1; s <= 3; ++s) {
            double sum = 0.0;
            for (int k = 0; k < 10; ++k) {
                const std::vector<double>& line = each[g * 10 + k];
                EXPECT_EQ(line[0], g);
                EXPECT_EQ(line[1], k / 5 + 1);
                EXPECT_EQ(line[2], k % 5 + 1);
                sum += line[2 + s];
            }
            EXPECT_NEAR(totals[g][s], sum / 10.0, 0.051) << g << " " << s;
        }
    }
}

// A reset after the first landscape of generation 2: the generation's lines are written for
// every landscape, the landscapes not stepped with the state they kept from generation 1.
TEST_F(LandscapeArrayRunTest, AResetWithinAGenerationWritesItsLinesForEveryLandscape)
{
    OptionStruct& o = app->Options;
    o.WriteCoverage = true;
    texts.NumOfCol = "3";
    host.afterGeneration = [&](ScriptedRunHost& h, int g) {
        if (g == 2)
            h.SetState(RunState::Reset);
    };
    ASSERT_EQ(LandscapeArrayRun(*app, OutcomeKind::Fixed, host.Sinks()).Start(host, host, texts), RunEnd::Reset);
    const auto totals = DataLines(folder.File("Cover.dat"));
    const auto each = DataLines(folder.File("Cover1.dat"));
    ASSERT_EQ(totals.size(), 3u);
    ASSERT_EQ(each.size(), 18u);
    EXPECT_NE(each[12], each[6]) << "the landscape stepped in generation 2";
    for (int k = 1; k < 6; ++k) {
        std::vector<double> before = each[6 + k];
        before[0] = 2;
        EXPECT_EQ(each[12 + k], before) << "landscape " << k + 1;
    }
    for (int s = 1; s <= 3; ++s) {
        double sum = 0.0;
        for (int k = 0; k < 6; ++k)
            sum += each[12 + k][2 + s];
        EXPECT_NEAR(totals[2][s], sum / 6.0, 0.051) << s;
    }
}

TEST_F(LandscapeArrayRunTest, AResetDeletesTheScratchFilesAndTheGrowthRatesOfTheParametersStayAsTheyAre)
{
    for (const bool variable : {false, true}) {
        if (variable)
            MakeVariable();
        texts.TypeGRate = "gradient";
        const auto fractions = app->Params.GRateFractions;
        int filesDuringRun = 0;
        bool changedDuringRun = false;
        host.afterGeneration = [&](ScriptedRunHost& h, int g) {
            if (g == 2 && h.State() == RunState::Running) {
                filesDuringRun = FileCount(app->TempDir);
                changedDuringRun = app->Params.GRateFractions != fractions;
                h.SetState(RunState::Reset);
            }
        };
        const RunEnd end = LandscapeArrayRun(*app, variable ? OutcomeKind::Variable : OutcomeKind::Fixed, host.Sinks()).Start(host, host, texts);
        EXPECT_EQ(end, RunEnd::Reset);
        EXPECT_EQ(filesDuringRun, variable ? 16 : 8);
        // The landscapes' tables are loaded into the run's model, not into the parameter set.
        EXPECT_FALSE(changedDuringRun);
        EXPECT_EQ(FileCount(app->TempDir), 0);
        EXPECT_EQ(app->Params.GRateFractions, fractions);
        EXPECT_EQ(app->Params.GParamRec.Influx, 0.1f);
    }
}

TEST_F(LandscapeArrayRunTest, AScratchFileLostInTheRunEndsItWithEverythingReleased)
{
    app->Options.WriteCoverage = true;
    texts.TypeGRate = "clumped";
    const auto fractions = app->Params.GRateFractions;
    host.afterGeneration = [&](ScriptedRunHost&, int g) {
        if (g == 2)
            for (const auto& entry : fs::directory_iterator(app->TempDir))
                fs::remove(entry.path());
    };
    EXPECT_EQ(LandscapeArrayRun(*app, OutcomeKind::Fixed, host.Sinks()).Start(host, host, texts), RunEnd::Failed);
    EXPECT_NE(host.dialogs.LastText().find("No such file or directory"), std::string::npos);
    EXPECT_EQ(host.finished, std::vector<RunEnd>{RunEnd::Failed});
    EXPECT_EQ(app->Params.GRateFractions, fractions);
    EXPECT_EQ(FileCount(app->TempDir), 0);
    EXPECT_EQ(LastGeneration(folder.File("Cover.dat")), 1);
    EXPECT_EQ(LastGeneration(folder.File("Cover1.dat")), 1);
}

TEST_F(LandscapeArrayRunTest, RefusedSettingsStartNothing)
{
    texts.NumOfRow = "11";
    EXPECT_EQ(LandscapeArrayRun(*app, OutcomeKind::Fixed, host.Sinks()).Start(host, host, texts), RunEnd::NotStarted);
    EXPECT_EQ(host.started, 0);
    EXPECT_EQ(host.dialogs.LastText(),
              "The total number of landscapes must be given and be between 2x2 and 10x10 (rows x cols).");
    EXPECT_EQ(FileCount(app->TempDir), 0);
}

TEST_F(LandscapeArrayRunTest, AVariableArrayWritesItsOutcomeOutputsForEveryLandscape)
{
    MakeVariable();
    OptionStruct& o = app->Options;
    o.WriteOTC = o.WriteGCGraph = o.WriteFTPOTC = o.WriteFTP = true;
    o.GCSpecies = 2;
    texts.TypeVOTC = "Clumped";
    texts.InfluxTimeStep = "1";
    texts.InfluxBetween = "0.3";
    const RunEnd end = LandscapeArrayRun(*app, OutcomeKind::Variable, host.Sinks()).Start(host, host, texts);
    ASSERT_EQ(end, RunEnd::Completed) << host.dialogs.LastText();
    const auto each = DataLines(folder.File("Outcome11.dat"));
    ASSERT_EQ(each.size(), 24u);
    EXPECT_EQ(each.back()[0], 5);
    EXPECT_EQ(each.back()[1], 2);
    EXPECT_EQ(each.back()[2], 2);
    EXPECT_EQ(LastGeneration(folder.File("Outcome1.dat")), 5);
    EXPECT_TRUE(fs::exists(folder.File("GCData.dat")));
    EXPECT_TRUE(fs::exists(folder.File("FTPOTC1.bmp")));
    EXPECT_TRUE(fs::exists(folder.File("FTPlot2.bmp")));
    EXPECT_EQ(FileCount(app->TempDir), 0);
}

} // namespace
} // namespace quorrel::test
