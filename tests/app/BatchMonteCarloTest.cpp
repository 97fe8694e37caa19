#include "RunBatch.h"
#include "RunsTestSupport.h"
#include "ScriptedRunHost.h"

#include "params/ParameterFile.h"
#include "runs/MonteCarloSeries.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

namespace quorrel::test {
namespace {

namespace fs = std::filesystem;

// Twice through quorrel-batch and once through the driver, as the desktop window runs it
// after the run mode was confirmed: three identical result files.
TEST(BatchMonteCarlo, SeriesGiveByteIdenticalResultFiles)
{
    struct Case {
        const char* mode;
        std::vector<std::string> options;
    };
    const Case cases[] = {
        {"montecarlo-fixed", {"--outcome-random", "no-reversals", "--standoff", "25", "--grate-random"}},
        {"montecarlo-variable", {"--grate-random"}},
    };
    for (const Case& c : cases) {
        const bool fixed = std::string(c.mode) == "montecarlo-fixed";
        TempFolder dir;
        ParameterSet p;
        p.StartDir = dir.Path();
        p.ResetToStartupTables();
        p.SetInbuiltDefaults();
        GParamStruct& g = p.GParamRec;
        g.MaxX = 20;
        g.MaxY = 15;
        g.Maxgen = 40;
        g.Influx = 0.2f;
        g.MutationGR = 0.5f;
        g.MutAmtGR = 5;
        g.MutationOTC = 0.5f;
        g.MutAmtOTC = 10;
        if (!fixed) {
            p.OutcomeMatrix[1][2] = {-1, 0, 0};
            p.VariableOutcomeVector[1] = {20, 70, 5, 25};
        }
        p.MirrorOutcomeMatrix();
        const std::string params = dir.File("series.prm");
        WriteParameterFile(p, params);

        const std::string result = dir.File("series.dat");
        std::vector<std::string> args = {"--mode", c.mode, "--runs", "3", "--result", result, "--quiet", "--params", params};
        args.insert(args.end(), c.options.begin(), c.options.end());
        std::string texts[3];
        for (int i = 0; i < 2; ++i) {
            const BatchResult r = RunBatch(dir.Path(), args);
            ASSERT_EQ(r.status, 0) << c.mode << ": " << r.err;
            EXPECT_EQ(r.err, "");
            texts[i] = ReadAll(result);
            fs::remove(result);
        }

        AppState app;
        ScriptedRunHost host;
        ASSERT_TRUE(app.Startup(host.dialogs, dir.Path()));
        ReadParameterFile(app.Params, params);
        app.Params.GRateRandomising = true;
        if (fixed) {
            app.Params.OutcomeRandomMode = NoReversalRandomising;
            app.Params.StandoffPercent = 25;
        }
        app.BringParametersIntoForce();
        app.ReloadSeed();
        const RunEnd end = MonteCarloSeries(app, fixed ? OutcomeKind::Fixed : OutcomeKind::Variable).Start(host, host, "3", result);
        ASSERT_EQ(end, RunEnd::Completed);
        app.RemoveTempDir(host.dialogs);
        texts[2] = ReadAll(result);

        EXPECT_NE(texts[0].find("===>"), std::string::npos);
        EXPECT_EQ(texts[0].find("Run: 3") != std::string::npos, fixed) << c.mode;
        EXPECT_EQ(texts[1], texts[0]) << c.mode;
        EXPECT_EQ(texts[2], texts[0]) << c.mode;
    }
}

TEST(BatchMonteCarlo, BadOptionsExitWithStatusTwo)
{
    TempFolder dir;
    std::ofstream(dir.File("old.dat")) << "old";
    struct Case {
        std::vector<std::string> args;
        std::string reason;
    };
    const Case cases[] = {
        {{"--mode", "montecarlo-fixed", "--result", "r.dat"}, "needs --runs N"},
        {{"--mode", "montecarlo-fixed", "--runs", "1", "--result", "r.dat"},
         "The number of repetitions must be between 2 and 1000"},
        {{"--mode", "montecarlo-fixed", "--runs", "x"}, "You have to give a positive number of repetitions."},
        {{"--mode", "montecarlo-variable", "--runs", "5"}, "needs --result FILE"},
        {{"--mode", "montecarlo-fixed", "--runs", "5", "--result", "old.dat"}, "exists"},
        {{"--mode", "montecarlo-variable", "--runs", "5", "--result", "r.dat", "--outcome-random", "uniform"},
         "belong to montecarlo-fixed"},
        {{"--mode", "montecarlo-fixed", "--runs", "5", "--outcome-random", "sideways"}, "--outcome-random needs"},
        {{"--mode", "montecarlo-fixed", "--runs", "5", "--standoff", "101"}, "--standoff needs"},
        {{"--grate-random=1"}, "takes no value"},
        {{"--runs", "5"}, "belong to the montecarlo modes"},
    };
    for (const Case& c : cases) {
        const BatchResult r = RunBatch(dir.Path(), c.args);
        EXPECT_EQ(r.status, 2) << c.reason;
        EXPECT_NE(r.err.find(c.reason), std::string::npos) << r.err;
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
    }
    EXPECT_FALSE(fs::exists(dir.File("r.dat")));
    EXPECT_EQ(ReadAll(dir.File("old.dat")), "old");
}

} // namespace
} // namespace quorrel::test
