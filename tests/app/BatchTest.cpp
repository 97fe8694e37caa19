#include "RunBatch.h"
#include "RunsTestSupport.h"
#include "ScriptedRunHost.h"

#include "output/OptionsFile.h"
#include "params/ParameterFile.h"
#include "runs/SingleRun.h"

#include <gtest/gtest.h>

#include <QImage>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

namespace quorrel::test {
namespace {

namespace fs = std::filesystem;

// Every file of the folder by name, with its contents.
std::map<std::string, std::string> Files(const fs::path& folder)
{
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::directory_iterator(folder))
        files[entry.path().filename().string()] = ReadAll(entry.path().string());
    return files;
}

// The files of folder, with the folder's path (and the start folder's, when it is another)
// replaced by "DIR": data files begin with their own path and list the parameters.
std::map<std::string, std::string> NormalisedFiles(const fs::path& folder, const fs::path& start = {})
{
    std::map<std::string, std::string> files = Files(folder);
    for (auto& [name, text] : files)
        for (const fs::path& p : {folder, start})
            for (size_t at; !p.empty() && (at = text.find(p.string())) != std::string::npos;)
                text.replace(at, p.string().size(), "DIR");
    return files;
}

// Options that write every file a single run writes.
OptionStruct WritingOptions(const fs::path& folder)
{
    OptionStruct o = SetDefaultOptions(folder);
    o.WriteLandscape = true;
    o.WriteLandTypes = 3;
    o.WriteIntScape = true;
    o.WriteIntTypes = 1;
    o.WriteIntEvery = 7;
    o.WriteCoverage = true;
    o.WriteGRate = true;
    o.WriteSW = true;
    o.WriteSTP = true;
    o.WriteFTP = true;
    o.FTPlotCycle = 2;
    o.WriteOTC = true;
    o.WriteGCGraph = true;
    o.WriteFTPOTC = true;
    o.GenSWEvery = 5;
    o.DeltaSideSW = 4;
    return o;
}

// A parameter set that exercises most of the model: five species with variable growth
// rates, stand-offs, mortality, disturbance, open recruitment with mutation.
ParameterSet RichParameters(const fs::path& folder)
{
    ParameterSet p;
    p.StartDir = folder;
    p.ResetToStartupTables();
    p.SetInbuiltDefaults();
    GParamStruct& g = p.GParamRec;
    g.Maxspec = 5;
    g.MaxX = 40;
    g.MaxY = 30;
    g.PIX = 2;
    g.Maxgen = 60;
    g.RandSeed = 4321;
    g.Init = 1;
    g.Cover = 1;
    g.Border = 1;
    g.TotalCover = 60.0f;
    g.OverGRate = 40;
    // Shown as 0 in the general-parameters dialog's eight decimals; an override of another
    // field must keep it.
    g.DisturbProb = 1.5e-9f;
    g.PatchSize = 9;
    g.PatchType = 1;
    g.Influx = 0.05f;
    g.RecruitType = 0;
    g.MutationGR = 0.1f;
    g.MutAmtGR = 3;
    for (int i = 1; i <= 5; ++i)
        for (int j = i + 1; j <= 5; ++j)
            p.OutcomeMatrix[i][j] = OutcomeTriple{int8_t(50 + 5 * i), int8_t(30 - 2 * j), int8_t(20 - 5 * i + 2 * j)};
    for (int s = 1; s <= 5; ++s) {
        p.GrowthRates[s] = s % 2 == 0 ? GrowthRate{-1, int8_t(10 * s), int8_t(10 * s + 30)} : GrowthRate{int8_t(20 * s), 0, 0};
        p.MortalityVector[s] = 0.01f * s;
        p.RecruitmentVector[s] = 0.2f;
    }
    p.MortalityVector[0] = 0.5f;
    p.MirrorOutcomeMatrix();
    p.UpdateGRateFractions();
    return p;
}

class BatchTest : public ::testing::Test {
protected:
    TempFolder root;

    fs::path Folder(const std::string& name)
    {
        const fs::path f = root.Path() / name;
        fs::create_directories(f);
        return f;
    }
};

TEST_F(BatchTest, InbuiltDefaultsGiveIdenticalFilesInTwoRunsAndLeaveTheStartFilesAlone)
{
    const fs::path dir = Folder("defaults");
    ScriptedDialogs dialogs;
    ASSERT_TRUE(WriteOptionsFile(WritingOptions(dir), dir, dialogs));
    const std::string options = ReadAll(OptionsFilePath(dir));

    const BatchResult first = RunBatch(dir, {"--quiet"});
    ASSERT_EQ(first.status, 0) << first.err;
    EXPECT_EQ(first.err, "");
    const auto filesOfFirst = Files(dir);
    EXPECT_TRUE(filesOfFirst.contains("Cover.dat"));
    EXPECT_TRUE(filesOfFirst.contains("GRate1.dat"));
    EXPECT_TRUE(filesOfFirst.contains("CALand.txt"));
    EXPECT_TRUE(filesOfFirst.contains("CALand.bmp"));
    EXPECT_FALSE(filesOfFirst.contains("PLast.prm"));
    EXPECT_EQ(filesOfFirst.at("Options.dat"), options);

    const BatchResult second = RunBatch(dir, {"--quiet", "--dir", dir.string()});
    ASSERT_EQ(second.status, 0) << second.err;
    EXPECT_EQ(Files(dir), filesOfFirst);

    // The same files once more, moved into a folder of their own.
    const fs::path elsewhere = root.Path() / "elsewhere";
    const BatchResult moved = RunBatch(dir, {"--quiet", "--output-dir", elsewhere.string()});
    ASSERT_EQ(moved.status, 0) << moved.err;
    EXPECT_EQ(Files(dir), filesOfFirst);
    std::map<std::string, std::string> outputs = NormalisedFiles(dir);
    outputs.erase("Options.dat");
    EXPECT_EQ(NormalisedFiles(elsewhere, dir), outputs);
}

TEST_F(BatchTest, ARichParameterFileGivesTheFilesOfTheDesktopRunInTwoRuns)
{
    const fs::path runs[] = {Folder("one"), Folder("two"), Folder("driver")};
    for (const fs::path& dir : runs) {
        ScriptedDialogs dialogs;
        ASSERT_TRUE(WriteOptionsFile(WritingOptions(dir), dir, dialogs));
        WriteParameterFile(RichParameters(dir), (dir / "rich.prm").string());
    }
    for (int i = 0; i < 2; ++i) {
        const BatchResult r =
            RunBatch(runs[i], {"--params", "rich.prm", "--display-cycle", "3", "--set", "RandSeed=4321", "--quiet"});
        ASSERT_EQ(r.status, 0) << r.err;
    }
    // The same run through the driver, as the desktop program's window makes it after the
    // parameter file was read and the run mode confirmed.
    {
        AppState app;
        ScriptedRunHost host;
        ASSERT_TRUE(app.Startup(host.dialogs, runs[2]));
        ReadParameterFile(app.Params, (runs[2] / "rich.prm").string());
        app.BringParametersIntoForce();
        app.ReloadSeed();
        host.SetDisplayCycle(3);
        ASSERT_EQ(SingleRun(app, OutcomeKind::Fixed, host.Sinks()).Start(host, host), RunEnd::Completed);
        app.RemoveTempDir(host.dialogs);
    }
    const auto one = NormalisedFiles(runs[0]);
    EXPECT_GT(one.size(), 8u);
    EXPECT_EQ(one, NormalisedFiles(runs[1]));
    EXPECT_EQ(one, NormalisedFiles(runs[2]));
}

TEST_F(BatchTest, TheVariableOutcomeModeWritesIdenticalFilesInTwoRuns)
{
    const fs::path dirs[] = {Folder("variable1"), Folder("variable2")};
    for (const fs::path& dir : dirs) {
        ScriptedDialogs dialogs;
        ASSERT_TRUE(WriteOptionsFile(WritingOptions(dir), dir, dialogs));
        ParameterSet p = RichParameters(dir);
        p.GParamRec.Maxspec = 3;
        p.GParamRec.MutationOTC = 0.2f;
        p.GParamRec.MutAmtOTC = 4;
        p.OutcomeMatrix[1][3] = OutcomeTriple{-1, 0, 0};
        p.OutcomeMatrix[2][3] = OutcomeTriple{-1, 0, 0};
        p.VariableOutcomeVector[3] = VariableOutcomeRange{10, 70, 10, 20};
        p.MirrorOutcomeMatrix();
        WriteParameterFile(p, (dir / "variable.prm").string());
        const BatchResult r = RunBatch(dir, {"--params", "variable.prm", "--mode", "single-variable", "--quiet"});
        ASSERT_EQ(r.status, 0) << r.err;
    }
    const auto files = Files(dirs[0]);
    EXPECT_TRUE(files.contains("Outcome1.dat"));
    EXPECT_TRUE(files.contains("GCData.dat"));
    EXPECT_TRUE(files.contains("FTPOTC1.bmp"));
    EXPECT_TRUE(files.contains("STPlot.bmp"));
    EXPECT_EQ(NormalisedFiles(dirs[0]), NormalisedFiles(dirs[1]));

    // A fixed-outcome run refuses variable pairs.
    const BatchResult fixed = RunBatch(dirs[0], {"--params", "variable.prm"});
    EXPECT_EQ(fixed.status, 2);
    EXPECT_NE(fixed.err.find("Some interactions in the outcome matrix are set to variable."), std::string::npos);
}

TEST_F(BatchTest, BadInputExitsWithStatusTwoAndAOneLineReason)
{
    const fs::path dir = Folder("bad");
    {
        std::ofstream bad(dir / "bad.prm", std::ios::binary);
        bad << "bad\r\n \r\n  Maxspec    =       41\r\n";
        std::ofstream(dir / "empty.prm", std::ios::binary).flush();
        std::ofstream(dir / "cover.prm", std::ios::binary) << "cover\r\n \r\n  TotalCover =   -5.00\r\n";
        std::ofstream(dir / "bad.dat", std::ios::binary) << "bad\r\n";
    }
    struct Case {
        std::vector<std::string> args;
        std::string reason;
    };
    const Case cases[] = {
        {{"--params", "missing.prm"}, "the parameter file \"missing.prm\" does not exist"},
        {{"--params", "bad.prm"}, "bad.prm"},
        {{"--params", "empty.prm"}, "empty.prm holds none of the parameter keys"},
        {{"--params", "cover.prm"}, "cover.prm, line 3: TotalCover -5 is outside 0..100"},
        {{"--options", "missing.dat"}, "the options file \"missing.dat\" does not exist"},
        {{"--set", "MaxX=701"}, "--set MaxX=701: The landscape size must be between 10x10 and 700x700."},
        {{"--set", "Maxgen=9", "--set", "MaxY=-1", "--set", "MaxX=9"},
         "--set MaxY=-1: You have to give a positive number for Landscape size."},
        {{"--set", "MutAmtGR=abc"},
         "--set MutAmtGR=abc: You have to give a positive number for the amount of mutation on growth rates."},
        {{"--set", "RandSeed=99999999999999999999"},
         "--set RandSeed=99999999999999999999: the seed must lie within 0..2147483647"},
        {{"--options", "bad.dat"}, "the options file \"bad.dat\" is refused: "},
        {{"--mode", "array-fixed", "--rows", "12"},
         "--rows 12: The total number of landscapes must be given and be between 2x2 and 10x10 (rows x cols)."},
        {{"--mode", "array-fixed", "--rows", "3", "--cols", "1"},
         "--cols 1: The total number of landscapes must be given and be between 2x2 and 10x10 (rows x cols)."},
        {{"--mode", "array-variable", "--influx-between", "2", "--outcome-spread", "wavy"},
         "--outcome-spread wavy: The type of outcome among landscapes must be one of Uniform, Gradient, or Clumped"},
        {{"--set", "DisturbProb=5E-4"}, "You have to give a positive float number for Probability of Disturbance."},
        {{"--set", "Colour=3"}, "unknown parameter key \"Colour\""},
        {{"--set", "Maxgen"}, "--set needs KEY=VALUE"},
        {{"--mode", "mosaic"}, "unknown mode \"mosaic\""},
        {{"--dir", "nowhere"}, "does not exist"},
    };
    for (const Case& c : cases) {
        const BatchResult r = RunBatch(dir, c.args);
        EXPECT_EQ(r.status, 2) << c.args.back();
        EXPECT_NE(r.err.find(c.reason), std::string::npos) << r.err;
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
    }
    EXPECT_EQ(Files(dir).size(), 4u);
}

TEST_F(BatchTest, VersionPrintsTheProjectVersionOnOneLineAndRunsNothing)
{
    const fs::path dir = Folder("version");
    const std::string command = "cd '" + dir.string() + "' && '" QUORREL_BATCH "' --version";
    FILE* pipe = popen(command.c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    std::string out;
    char buffer[256];
    while (const size_t n = std::fread(buffer, 1, sizeof buffer, pipe))
        out.append(buffer, n);
    const int raw = pclose(pipe);
    EXPECT_TRUE(WIFEXITED(raw) && WEXITSTATUS(raw) == 0);
    // The version of project() in CMakeLists.txt, with the source commit when git knew it.
    const std::string head = "quorrel-batch " QUORREL_VERSION;
    EXPECT_TRUE(out == head + "\n" || (out.starts_with(head + " (git ") && out.ends_with(")\n"))) << out;
    EXPECT_EQ(std::count(out.begin(), out.end(), '\n'), 1) << out;
    EXPECT_TRUE(fs::is_empty(dir));
}

TEST_F(BatchTest, ARunThatCannotStartOrEndsOnAnErrorExitsWithStatusOne)
{
    const fs::path dir = Folder("failing");
    // A cover file that cannot be read is bad input, refused before the run.
    const BatchResult missingCover =
        RunBatch(dir, {"--quiet", "--set", "Cover=File", "--set", "CoverFile=" + (dir / "none.txt").string()});
    EXPECT_EQ(missingCover.status, 2) << missingCover.err;
    EXPECT_EQ(missingCover.err, "quorrel-batch: the initial cover file is refused: Unable to read the landscape file: " +
                                    (dir / "none.txt").string() + " No such file or directory\n");

    OptionStruct options = SetDefaultOptions(dir);
    options.WriteCoverage = true;
    options.CoverFilename = (dir / "no-such-folder" / "Cover.dat").string();
    ScriptedDialogs dialogs;
    ASSERT_TRUE(WriteOptionsFile(options, dir, dialogs));
    const BatchResult failed = RunBatch(dir, {"--quiet", "--set", "Maxgen=3"});
    EXPECT_EQ(failed.status, 1) << failed.err;
    EXPECT_NE(failed.err.find("error: No such file or directory:\n  " + options.CoverFilename), std::string::npos)
        << failed.err;
}

TEST_F(BatchTest, ArrayRunsGiveIdenticalFilesTwiceAndTheirWholePictureAsABitmap)
{
    for (const std::string mode : {"array-fixed", "array-variable"}) {
        std::map<std::string, std::string> first;
        for (int i = 0; i < 2; ++i) {
            const fs::path dir = Folder(mode + std::to_string(i));
            ParameterSet p = RichParameters(dir);
            if (mode == "array-variable") {
                p.OutcomeMatrix[1][2] = OutcomeTriple{-1, 0, 0};
                p.OutcomeMatrix[2][4] = OutcomeTriple{-1, 0, 0};
                p.MirrorOutcomeMatrix();
                p.GParamRec.MutationOTC = 0.3f;
                p.GParamRec.MutAmtOTC = 4;
            }
            p.GParamRec.Maxgen = 12;
            WriteParameterFile(p, (dir / "rich.prm").string());
            OptionStruct o = WritingOptions(dir);
            o.WriteOTC = o.WriteGCGraph = o.WriteFTPOTC = o.WriteFTP = true;
            o.GCSpecies = 2;
            ScriptedDialogs dialogs;
            ASSERT_TRUE(WriteOptionsFile(o, dir, dialogs));
            const BatchResult r =
                RunBatch(dir, {"--params", "rich.prm", "--mode", mode, "--rows", "2", "--cols", "3", "--grate-spread",
                               "clumped", "--outcome-spread", "gradient", "--influx-between", "0.2",
                               "--influx-timestep", "3", "--influx-inside", "0.05", "--init-grates", "grates.dat",
                               "--init-outcomes", "outcomes.dat", "--quiet"});
            ASSERT_EQ(r.status, 0) << r.err;
            std::map<std::string, std::string> files = Files(dir);
            for (auto& [name, text] : files)
                for (size_t at; (at = text.find(dir.string())) != std::string::npos;)
                    text.replace(at, dir.string().size(), "DIR");
            if (i == 0)
                first = files;
            else
                EXPECT_EQ(files, first) << mode;
        }
        EXPECT_TRUE(first.contains("Cover1.dat"));
        EXPECT_TRUE(first.contains("GRate12.dat"));
        EXPECT_TRUE(first.contains("grates.dat"));
        EXPECT_EQ(first.contains("outcomes.dat"), mode == "array-variable");
        EXPECT_EQ(first.contains("Outcome12.dat"), mode == "array-variable");
        EXPECT_FALSE(first.contains("CALand.txt"));
        ASSERT_TRUE(first.contains("CALand.bmp"));
        const QImage picture = QImage::fromData(reinterpret_cast<const uchar*>(first.at("CALand.bmp").data()),
                                                int(first.at("CALand.bmp").size()), "BMP");
        EXPECT_EQ(picture.size(), QSize(3 * 40 + 10, 2 * 30 + 5));
    }

    const fs::path dir = Folder("array-bad");
    const BatchResult bad = RunBatch(dir, {"--mode", "array-fixed", "--influx-timestep", "0"});
    EXPECT_EQ(bad.status, 2);
    EXPECT_EQ(bad.err, "quorrel-batch: --influx-timestep 0: The influx time steps must be greater than zero.\n");
}

} // namespace
} // namespace quorrel::test
