#include "RunsTestSupport.h"
#include "ScriptedDialogs.h"

#include "output/OptionsFile.h"
#include "params/ParameterFile.h"
#include "runs/AppState.h"
#include "runs/OutputWindowSet.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace quorrel::test {
namespace {

namespace fs = std::filesystem;

// Start-up and shut-down in a fresh start folder, with the temporary directory made in a
// folder of the test's own.
class AppStateTest : public ::testing::Test {
protected:
    TempFolder start;
    TempFolder temp;
    ScriptedDialogs dialogs;
    AppState app;

    void SetUp() override
    {
        if (const char* old = std::getenv("TMPDIR"))
            oldTmpDir = old;
        setenv("TMPDIR", temp.Path().c_str(), 1);
    }
    void TearDown() override
    {
        if (oldTmpDir.empty())
            unsetenv("TMPDIR");
        else
            setenv("TMPDIR", oldTmpDir.c_str(), 1);
    }
    std::string oldTmpDir;
};

TEST_F(AppStateTest, StartupWithoutParameterFilesGivesTheInbuiltDefaults)
{
    ASSERT_TRUE(app.Startup(dialogs, start.Path()));
    EXPECT_EQ(app.StartDir(), start.Path());
    EXPECT_EQ(app.Params.GParamRec.Maxspec, 3);
    EXPECT_EQ(app.Params.GParamRec.MaxX, 200);
    EXPECT_EQ(app.Params.GParamRec.MaxY, 200);
    EXPECT_EQ(app.DisplayWidth(), 200);
    EXPECT_EQ(app.Random.RandSeed, static_cast<uint32_t>(app.Params.GParamRec.RandSeed));
    EXPECT_EQ(app.Params.GRateFractions[1].Rate, 1.0f);
    EXPECT_EQ(app.Options, SetDefaultOptions(start.Path()));
    EXPECT_EQ(app.TempDir.parent_path(), temp.Path());
    EXPECT_TRUE(app.TempDir.filename().string().starts_with("QRL"));
    EXPECT_TRUE(fs::is_directory(app.TempDir));
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(AppStateTest, StartupReadsLastParametersAndReportsARefusedFile)
{
    ParameterSet saved;
    saved.StartDir = start.Path();
    saved.ResetToStartupTables();
    saved.SetInbuiltDefaults();
    saved.GParamRec.Maxspec = 5;
    saved.GParamRec.RandSeed = 77;
    saved.MirrorOutcomeMatrix();
    saved.UpdateGRateFractions();
    SaveLastParameters(saved);
    {
        std::ofstream bad(start.File("PDefault.prm"), std::ios::binary);
        bad << "refused\r\n \r\n  Maxspec    =       41\r\n";
    }
    ASSERT_TRUE(app.Startup(dialogs, start.Path()));
    EXPECT_EQ(app.Params.GParamRec.Maxspec, 5);
    EXPECT_EQ(app.Random.RandSeed, 77u);
    EXPECT_TRUE(dialogs.messages.empty());

    fs::remove(start.File("PLast.prm"));
    AppState other;
    StartupReport report;
    ASSERT_TRUE(other.Startup(dialogs, start.Path(), report));
    ASSERT_EQ(report.ParameterRefusals.size(), 1u);
    EXPECT_NE(report.ParameterRefusals[0].find("PDefault.prm"), std::string::npos);
    EXPECT_FALSE(report.OptionsFileBad);
    EXPECT_EQ(other.Params.GParamRec.Maxspec, 3);
}

// A refused PLast.prm is renamed aside, never over an older one, so that shut-down's new
// PLast.prm does not destroy it; the message says where it is.
TEST_F(AppStateTest, ARefusedLastFileIsKeptAsideAndShutdownDoesNotOverwriteIt)
{
    ParameterSet zeroGenerations = ParameterSet::InbuiltDefaults(start.Path());
    zeroGenerations.GParamRec.Maxgen = 0;
    SaveLastParameters(zeroGenerations);
    const std::string refused = ReadAll(start.File("PLast.prm"));
    std::ofstream(start.File("PLast.prm.refused"), std::ios::binary) << "older";
    for (const char* expectedName : {"PLast.prm.refused.2", "PLast.prm.refused.3"}) {
        std::ofstream(start.File("PLast.prm"), std::ios::binary) << refused;
        ScriptedDialogs shown;
        AppState first;
        ASSERT_TRUE(first.Startup(shown, start.Path()));
        EXPECT_EQ(first.Params.GParamRec.Maxgen, 100); // the in-built defaults
        ASSERT_EQ(shown.messages.size(), 1u);
        EXPECT_NE(shown.LastText().find("line 7: Maxgen 0 is outside 1..65535"), std::string::npos) << shown.LastText();
        EXPECT_NE(shown.LastText().find("\rThe file is kept as " + start.File(expectedName) + "."), std::string::npos)
            << shown.LastText();
        first.Shutdown(shown);
        EXPECT_EQ(ReadAll(start.File(expectedName)), refused);
        fs::remove(start.File("PLast.prm"));
    }
    EXPECT_EQ(ReadAll(start.File("PLast.prm.refused")), "older");
}

TEST_F(AppStateTest, StartupFailsWhenNoTemporaryDirectoryCanBeMade)
{
    setenv("TMPDIR", (temp.Path() / "missing").c_str(), 1);
    EXPECT_FALSE(app.Startup(dialogs, start.Path()));
    EXPECT_TRUE(app.TempDir.empty());
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].kind, MessageKind::Error);
    EXPECT_EQ(dialogs.LastText(), "Unable to establish the directory for temporary files.\r"
                                  "Try setting TMPDIR to a writable directory such as /tmp\r"
                                  "or check that there are no old Quorrel files there, eg /tmp/QRL*");
}

TEST_F(AppStateTest, ShutdownWritesLastParametersAndOptionsAndRemovesTheTemporaryDirectory)
{
    ASSERT_TRUE(app.Startup(dialogs, start.Path()));
    app.Params.GParamRec.Maxgen = 321;
    app.Options.DisplayCycle = 7;
    const fs::path tempDir = app.TempDir;
    std::ofstream(tempDir / "scratch.bin") << "x";

    app.Shutdown(dialogs);
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_FALSE(fs::exists(tempDir));

    AppState next;
    ASSERT_TRUE(next.Startup(dialogs, start.Path()));
    EXPECT_EQ(next.Params.GParamRec.Maxgen, 321);
    EXPECT_EQ(next.Options.DisplayCycle, 7);
    next.RemoveTempDir(dialogs);
}

TEST_F(AppStateTest, ATemporaryDirectoryHoldingASubDirectoryIsKeptAndNamed)
{
    ASSERT_TRUE(app.Startup(dialogs, start.Path()));
    const fs::path tempDir = app.TempDir;
    fs::create_directory(tempDir / "sub");
    std::ofstream(tempDir / "scratch.bin") << "x";

    app.RemoveTempDir(dialogs);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.LastText(), "Unable to remove the directory for temporary files:\r" + tempDir.string());
    EXPECT_TRUE(fs::exists(tempDir / "scratch.bin"));

    // Removed meanwhile: nothing to do, nothing said.
    fs::remove_all(tempDir);
    app.RemoveTempDir(dialogs);
    EXPECT_EQ(dialogs.messages.size(), 1u);
}

TEST(HideIdleOutputWindows, LeavesAloneWhatTheModeFeedsAndTheOptionsShow)
{
    OptionStruct all = SetDefaultOptions("/x");
    const OutputWindowSet fixedSingle = HideIdleOutputWindows({}, all);
    EXPECT_TRUE(fixedSingle.Landscape && fixedSingle.Statistics && fixedSingle.SpaceTime && fixedSingle.FreqTime);
    EXPECT_FALSE(fixedSingle.LandscapeArray || fixedSingle.OutcomeStats || fixedSingle.GCGraphs ||
                 fixedSingle.FreqTimeOutcome);

    const OutputWindowSet variableArray = HideIdleOutputWindows({.Multiple = true, .Outcome = OutcomeKind::Variable}, all);
    EXPECT_TRUE(variableArray.LandscapeArray && variableArray.OutcomeStats && variableArray.GCGraphs &&
                variableArray.FreqTimeOutcome);
    EXPECT_FALSE(variableArray.Landscape);

    const OutputWindowSet monteCarlo = HideIdleOutputWindows({.Outcome = OutcomeKind::Variable, .MonteCarlo = true}, all);
    EXPECT_EQ(monteCarlo, (OutputWindowSet{.CoveragePlot = true, .GRatePlot1 = true, .GRatePlot2 = true}));

    OptionStruct some = all;
    some.ShowCoverage = false;
    some.ShowGRate1 = false;
    some.ShowGRate2 = false;
    some.ShowOTC = false;
    const OutputWindowSet hidden = HideIdleOutputWindows({.Outcome = OutcomeKind::Variable}, some);
    EXPECT_FALSE(hidden.Statistics || hidden.CoveragePlot || hidden.OutcomeStats);
    EXPECT_TRUE(hidden.GCGraphs);
}

} // namespace
} // namespace quorrel::test
