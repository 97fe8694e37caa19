#include "RunsTestSupport.h"
#include "ScriptedRunHost.h"

#include "engine/Genotypes.h"
#include "params/ParameterFile.h"
#include "params/RepeatTimes.h"
#include "runs/MonteCarloSeries.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace quorrel::test {
namespace {

// The scripted host, with a hook on every progress report (run and generation).
struct SeriesHost : ScriptedRunHost {
    std::function<void(SeriesHost&, const RunProgress&)> onProgress;
    std::vector<RunProgress> reports;
    void ShowProgress(const RunProgress& p) override
    {
        ScriptedRunHost::ShowProgress(p);
        reports.push_back(p);
        if (onProgress)
            onProgress(*this, p);
    }
};

std::string Listing(const ParameterSet& p, const std::string& path)
{
    std::ostringstream out;
    WriteParameterListing(out, p, path);
    return out.str();
}

std::string RunLog(int r, const ParameterSet& p)
{
    std::ostringstream out;
    WriteRunLog(out, r, p);
    return out.str();
}

std::string SummaryOf(const MonteCarloSeries& series, const ParameterSet& p, bool variable)
{
    std::ostringstream out;
    WriteMonteCarloSummary(out, series.Record(), p, variable ? OutcomeKind::Variable : OutcomeKind::Fixed);
    return out.str();
}

class MonteCarloSeriesTest : public ::testing::Test {
protected:
    TempFolder folder;
    std::unique_ptr<AppState> app = SmallApp(folder.Path(), 6);
    SeriesHost host;
    std::string result = folder.File("result.dat");
};

TEST_F(MonteCarloSeriesTest, ValidationMessagesStartNothing)
{
    struct Case {
        const char* runs;
        const char* file;
        const char* message;
    };
    const Case cases[] = {
        {"", "r.dat", "You have to specify the number of repetitions."},
        {"1x", "r.dat", "You have to give a positive number of repetitions."},
        {"-3", "r.dat", "You have to give a positive number of repetitions."},
        {"1", "r.dat", "The number of repetitions must be between 2 and 1000"},
        {"1001", "r.dat", "The number of repetitions must be between 2 and 1000"},
        {"99999999999", "r.dat", "The number of repetitions must be between 2 and 1000"},
        {"2", "", "A result filename must be given"},
    };
    for (const Case& c : cases) {
        host.dialogs.messages.clear();
        const std::string file = *c.file ? folder.File(c.file) : std::string();
        EXPECT_EQ(MonteCarloSeries(*app, OutcomeKind::Fixed).Start(host, host, c.runs, file), RunEnd::NotStarted) << c.runs;
        ASSERT_EQ(host.dialogs.messages.size(), 1u) << c.runs;
        EXPECT_EQ(host.dialogs.messages[0].kind, MessageKind::Error);
        EXPECT_EQ(host.dialogs.messages[0].text, c.message);
        EXPECT_EQ(host.dialogs.messages[0].buttons, MessageButtons::Retry);
    }
    EXPECT_EQ(host.started, 0);
    EXPECT_TRUE(host.finished.empty());
    EXPECT_FALSE(std::filesystem::exists(folder.File("r.dat")));
    EXPECT_EQ(CheckRepeatTimes("1000"), (RepeatTimesCheck{1000, ""}));
}

TEST_F(MonteCarloSeriesTest, OnlyYesOverwritesAnExistingFile)
{
    for (MessageAnswer answer : {MessageAnswer::No, MessageAnswer::Cancel}) {
        std::ofstream(result) << "keep";
        host.dialogs.answers = {answer};
        EXPECT_EQ(MonteCarloSeries(*app, OutcomeKind::Fixed).Start(host, host, "2", result), RunEnd::NotStarted);
        EXPECT_EQ(host.dialogs.LastText(), "File " + result + " exists.\rDo you want to overwrite this file?");
        EXPECT_EQ(host.dialogs.messages.back().kind, MessageKind::Warning);
        EXPECT_EQ(host.dialogs.messages.back().buttons, MessageButtons::YesNoCancel);
        EXPECT_EQ(ReadAll(result), "keep");
    }
    host.dialogs.answers = {MessageAnswer::Yes};
    EXPECT_EQ(MonteCarloSeries(*app, OutcomeKind::Variable).Start(host, host, "2", result), RunEnd::Completed);
    EXPECT_EQ(host.dialogs.LastText(), "File " + result + " exists.\rDo you want overwrite this file?");
    EXPECT_TRUE(ReadAll(result).starts_with(result + "\r\n"));
}

// Without randomisation the listing is followed directly by the summary.
TEST_F(MonteCarloSeriesTest, WithoutRandomisationListingThenSummary)
{
    const std::string listing = Listing(app->Params, result);
    MonteCarloSeries series(*app, OutcomeKind::Fixed);
    ASSERT_EQ(series.Start(host, host, "3", result), RunEnd::Completed);
    EXPECT_EQ(ReadAll(result), listing + SummaryOf(series, app->Params, false));
    EXPECT_EQ(series.Record().Runs(), 3);
    EXPECT_EQ(host.started, 1);
    EXPECT_EQ(host.finished, std::vector<RunEnd>{RunEnd::Completed});
    ASSERT_EQ(host.hidden.size(), 1u);
    EXPECT_EQ(host.hidden[0], HideIdleOutputWindows({.MonteCarlo = true}, app->Options));

    // Each run shows itself with generation 0, then every generation.
    ASSERT_EQ(host.reports.size(), 3u * 7u);
    EXPECT_EQ(host.reports[0], (RunProgress{.TotalGenerations = 6, .Run = 1, .TotalRuns = 3}));
    EXPECT_EQ(host.reports[8], (RunProgress{.Generation = 1, .TotalGenerations = 6, .Run = 2, .TotalRuns = 3}));
    EXPECT_EQ(host.reports.back(), (RunProgress{.Generation = 6, .TotalGenerations = 6, .Run = 3, .TotalRuns = 3}));
}

// Runs 2.. draw new networks and rates; each run is logged; the last ones stay in force.
TEST_F(MonteCarloSeriesTest, RandomisedRunsAreLoggedAndTheLastStaysInTheParameterSet)
{
    ParameterSet& p = app->Params;
    p.OutcomeRandomMode = UniformRandomising;
    p.StandoffPercent = 30;
    p.GRateRandomising = true;
    p.GParamRec.Influx = 0.3f;
    p.GParamRec.RecruitType = 0;
    p.GParamRec.MutationGR = 1.0f;
    p.GParamRec.MutAmtGR = 10;
    const std::string head = Listing(p, result) + "\r\nRandom Outcome networks and Random Growth Rates per Generation\r\n" +
                             RunLog(1, p) + "Run: 2\r\n";

    MonteCarloSeries series(*app, OutcomeKind::Fixed);
    ASSERT_EQ(series.Start(host, host, "3", result), RunEnd::Completed);
    const std::string text = ReadAll(result);
    EXPECT_TRUE(text.starts_with(head)) << text;
    const size_t run3 = text.find("Run: 3\r\n");
    const size_t summary = text.find("\r\n===>\r\n");
    ASSERT_NE(run3, std::string::npos);
    ASSERT_NE(summary, std::string::npos);
    EXPECT_EQ(text.substr(run3, summary - run3), RunLog(3, p));
    EXPECT_EQ(text.substr(summary), SummaryOf(series, p, false));
    EXPECT_NE(text.find("Outcomes are being randomised (uniformly) with 30% stand-offs.\r\n"), std::string::npos);

    // The widening by mutation is dropped again.
    ParameterSet fresh = p;
    fresh.UpdateGRateFractions();
    EXPECT_EQ(p.GRateFractions, fresh.GRateFractions);
}

// Stop, closing and termination end the series without summary; the file keeps the
// listing and the logs of the runs that started.
TEST_F(MonteCarloSeriesTest, EndingEarlyKeepsListingAndLogsWithoutSummary)
{
    struct Case {
        const char* name;
        int stopRun;
        int stopGeneration; // 0: at the check after the end of the run
        std::function<void(SeriesHost&)> act;
        RunEnd end;
    };
    const Case cases[] = {
        {"stop", 5, 3, [](SeriesHost& h) { h.SetState(RunState::Stopped); }, RunEnd::Stopped},
        {"stop after the last generation", 5, 0, [](SeriesHost& h) { h.SetState(RunState::Stopped); }, RunEnd::Stopped},
        {"close", 5, 6, [](SeriesHost& h) { h.SetState(RunState::Closing); }, RunEnd::Closed},
        {"terminate", 5, 1, [](SeriesHost& h) { h.terminating = true; }, RunEnd::Terminated},
    };
    for (const Case& c : cases) {
        auto fresh = SmallApp(folder.Path(), 6);
        fresh->Params.GRateRandomising = true;
        SeriesHost h;
        int run = 0, breaths = 0;
        h.onProgress = [&](SeriesHost&, const RunProgress& p) {
            run = p.Run;
            breaths = 0;
        };
        h.afterGeneration = [&](ScriptedRunHost&, int g) {
            // The breath after the last generation's is the end-of-run check.
            const bool endOfRun = ++breaths == 2;
            if (run == c.stopRun && (c.stopGeneration == 0 ? endOfRun : g == c.stopGeneration && !endOfRun))
                c.act(h);
        };
        std::filesystem::remove(result);
        MonteCarloSeries series(*fresh, OutcomeKind::Fixed);
        EXPECT_EQ(series.Start(h, h, "10", result), c.end) << c.name;
        EXPECT_EQ(series.CurrentRun(), 5) << c.name;
        EXPECT_FALSE(std::filesystem::exists(result)) << c.name;
        const std::string text = ReadAll(result + ".incomplete");
        EXPECT_NE(text.find("\r\nRun: 5\r\n"), std::string::npos) << c.name;
        EXPECT_EQ(text.find("Run: 6"), std::string::npos) << c.name;
        EXPECT_EQ(text.find("===>"), std::string::npos) << c.name;
        EXPECT_TRUE(text.ends_with(RunLog(5, fresh->Params))) << c.name;
        EXPECT_EQ(h.finished, std::vector<RunEnd>{c.end}) << c.name;
    }
}

TEST_F(MonteCarloSeriesTest, CancelledInitialLandscapeEndsWithoutSummary)
{
    struct Cancel : InitProgress {
        bool CancelRequested() override { return true; }
    } cancel;
    host.progress = &cancel;
    EXPECT_EQ(MonteCarloSeries(*app, OutcomeKind::Fixed).Start(host, host, "4", result), RunEnd::NotStarted);
    EXPECT_EQ(ReadAll(result + ".incomplete"), Listing(app->Params, result));
    EXPECT_EQ(host.finished, std::vector<RunEnd>{RunEnd::NotStarted});
}

TEST_F(MonteCarloSeriesTest, AResultFileThatCannotBeWrittenEndsTheSeriesWithAMessage)
{
    const std::string unwritable = folder.File("missing/result.dat");
    EXPECT_EQ(MonteCarloSeries(*app, OutcomeKind::Fixed).Start(host, host, "2", unwritable), RunEnd::Failed);
    ASSERT_EQ(host.dialogs.messages.size(), 1u);
    EXPECT_EQ(host.dialogs.messages[0].kind, MessageKind::Error);
    EXPECT_NE(host.dialogs.LastText().find(unwritable), std::string::npos);
    EXPECT_EQ(host.finished, std::vector<RunEnd>{RunEnd::Failed});
    EXPECT_EQ(host.reports.size(), 0u);
}

class MonteCarloVariableTest : public MonteCarloSeriesTest {
protected:
    void SetUp() override
    {
        ParameterSet& p = app->Params;
        GParamStruct& g = p.GParamRec;
        g.Maxspec = 3;
        g.RecruitType = 0;
        g.Influx = 0.5f;
        g.MutationOTC = 1.0f;
        g.MutAmtOTC = 10;
        for (int s = 1; s <= 3; ++s)
            p.RecruitmentVector[s] = 1.0f;
        p.OutcomeMatrix[1][2] = {-1, 0, 0};
        p.OutcomeMatrix[2][3] = {-1, 0, 0};
        p.MirrorOutcomeMatrix();
        p.VariableOutcomeVector[1] = {40, 45, 10, 12};
        p.VariableOutcomeVector[2] = {30, 35, 20, 22};
        p.VariableOutcomeVector[3] = {50, 55, 5, 8};
    }

    // The genotype storage of one run: both grids, border ring included, and their records.
    std::size_t OneRunBytes() const
    {
        const GParamStruct& g = app->Params.GParamRec;
        return Genotypes::BytesFor(g.MaxX, g.MaxY, g.Maxspec);
    }
};

// Every run seeds from the parameter set's ranges, however far mutation widened them in
// the run before, and from fresh storage that the run releases again.
TEST_F(MonteCarloVariableTest, EveryRunStartsFromTheParameterRangesAndFreshStorage)
{
    MonteCarloSeries series(*app, OutcomeKind::Variable);
    series.GenotypeByteBudget = OneRunBytes();
    const VariableOutcomeTable vector = app->Params.VariableOutcomeVector;
    int widenedRuns = 0, checkedRuns = 0;
    host.onProgress = [&](SeriesHost&, const RunProgress& p) {
        if (p.Generation == 0) {
            EXPECT_EQ(series.GenotypeBytes(), 0u) << "run " << p.Run;
        } else if (p.Generation == 1) {
            ++checkedRuns;
            EXPECT_EQ(series.GenotypeBytes(), OneRunBytes());
            EXPECT_EQ(series.Ranges()->Seed, vector) << "run " << p.Run;
            EXPECT_EQ(series.Ranges()->Observed, vector) << "run " << p.Run;
        } else if (p.Generation == p.TotalGenerations && series.Ranges()->Seed != vector) {
            ++widenedRuns;
        }
    };
    ASSERT_EQ(series.Start(host, host, "4", result), RunEnd::Completed);
    EXPECT_EQ(checkedRuns, 4);
    EXPECT_GE(widenedRuns, 3);
    EXPECT_EQ(series.GenotypeBytes(), 0u);
    EXPECT_EQ(app->Params.VariableOutcomeVector, vector);
}

// No randomisation heading and no run logs, even with growth rates randomised; the summary
// never reports randomised outcomes.
TEST_F(MonteCarloVariableTest, WritesListingAndSummaryOnly)
{
    ParameterSet& p = app->Params;
    p.GRateRandomising = true;
    p.OutcomeRandomMode = UniformRandomising;
    const std::string listing = Listing(p, result);
    const OutcomeTable matrix = p.OutcomeMatrix;
    MonteCarloSeries series(*app, OutcomeKind::Variable);
    ASSERT_EQ(series.Start(host, host, "3", result), RunEnd::Completed);
    EXPECT_EQ(ReadAll(result), listing + SummaryOf(series, p, true));
    EXPECT_NE(ReadAll(result).find("Growth rates are being randomised.\r\nOutcomes are not being randomised.\r\n"),
              std::string::npos);
    EXPECT_EQ(p.OutcomeMatrix, matrix);
    EXPECT_EQ(host.hidden.at(0), HideIdleOutputWindows({.Outcome = OutcomeKind::Variable, .MonteCarlo = true}, app->Options));
}

TEST_F(MonteCarloVariableTest, GenotypeStorageUnavailableEndsWithoutSummary)
{
    MonteCarloSeries series(*app, OutcomeKind::Variable);
    series.GenotypeByteBudget = OneRunBytes() - 1;
    EXPECT_EQ(series.Start(host, host, "3", result), RunEnd::NotStarted);
    EXPECT_EQ(host.dialogs.LastText(), "Insufficient memory. Select a smaller landscape or fewer species.");
    EXPECT_EQ(ReadAll(result + ".incomplete"), Listing(app->Params, result));
}

} // namespace
} // namespace quorrel::test
