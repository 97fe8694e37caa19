#include "RunBatch.h"

#include "output/OptionsFile.h"
#include "params/ParameterFile.h"
#include "ScriptedDialogs.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace quorrel::test {
namespace {

namespace fs = std::filesystem;

// The user's files in the start folder, with contents the test can recognise.
void WriteUserFiles(const fs::path& dir, const OptionStruct& options)
{
    ParameterSet p = ParameterSet::InbuiltDefaults(dir);
    p.GParamRec.MaxX = 20;
    p.GParamRec.MaxY = 20;
    p.GParamRec.PatchSize = 10;
    p.GParamRec.Maxgen = 3;
    SaveLastParameters(p);
    WriteDefaultParameters(p);
    ScriptedDialogs dialogs;
    ASSERT_TRUE(WriteOptionsFile(options, dir, dialogs));
    std::ofstream(dir / "ERR-INIT.prm", std::ios::binary) << "kept";
    std::ofstream(dir / "study1.prm", std::ios::binary) << ReadAll((dir / "PLast.prm").string());
}

std::vector<std::string> Contents(const fs::path& dir)
{
    std::vector<std::string> all;
    for (const char* name : {"PLast.prm", "PDefault.prm", "Options.dat", "ERR-INIT.prm", "study1.prm"})
        all.push_back(ReadAll((dir / name).string()));
    return all;
}

TEST(BatchFileSafety, OutputsOverTheUsersFilesOrEachOtherAreRefusedBeforeTheRun)
{
    struct Case {
        const char* what;
        void (*set)(OptionStruct&, const fs::path&);
        std::vector<std::string> args;
        std::string reason;
    };
    const Case cases[] = {
        {"coverage over PLast.prm",
         [](OptionStruct& o, const fs::path& d) { o.WriteCoverage = true, o.CoverFilename = (d / "PLast.prm").string(); },
         {},
         "the coverage file (CoverFilename) \"DIR/PLast.prm\" is PLast.prm of the start folder"},
        {"graph over Options.dat",
         [](OptionStruct& o, const fs::path& d) { o.WriteGCGraph = true, o.GCFilename = (d / "Options.dat").string(); },
         {},
         "is Options.dat of the start folder"},
        {"space-time plot over ERR-INIT.prm",
         [](OptionStruct& o, const fs::path& d) { o.WriteSTP = true, o.STPlotFilename = (d / "ERR-INIT.prm").string(); },
         {},
         "is ERR-INIT.prm of the start folder"},
        {"growth rates (study1.prm, study2.prm) over the parameter file in use",
         [](OptionStruct& o, const fs::path& d) { o.WriteGRate = true, o.GRateFilename = (d / "study.prm").string(); },
         {"--params", "study1.prm"},
         "a growth-rate file (GRateFilename) \"DIR/study1.prm\" is the parameter file of the run"},
        {"two outputs in one file",
         [](OptionStruct& o, const fs::path& d) {
             o.WriteCoverage = o.WriteGCGraph = true;
             o.CoverFilename = (d / "same.dat").string();
             o.GCFilename = (d / "sub" / ".." / "same.dat").string();
         },
         {},
         "is also the coverage file (CoverFilename)"},
        {"--init-grates over PLast.prm", [](OptionStruct&, const fs::path&) {},
         {"--mode", "array-fixed", "--rows", "2", "--cols", "2", "--init-grates", "PLast.prm"},
         "the --init-grates file \"PLast.prm\" is PLast.prm of the start folder"},
        {"--init-outcomes over PDefault.prm", [](OptionStruct&, const fs::path&) {},
         {"--mode", "array-variable", "--rows", "2", "--cols", "2", "--init-outcomes", "PDefault.prm"},
         "is PDefault.prm of the start folder"},
    };
    for (const Case& c : cases) {
        TempFolder folder;
        const fs::path dir = folder.Path();
        fs::create_directories(dir / "sub");
        OptionStruct options = SetDefaultOptions(dir);
        c.set(options, dir);
        WriteUserFiles(dir, options);
        const std::vector<std::string> before = Contents(dir);
        const BatchResult r = RunBatch(dir, c.args);
        EXPECT_EQ(r.status, 2) << c.what << ": " << r.err;
        std::string err = r.err;
        for (size_t at; (at = err.find(dir.string())) != std::string::npos;)
            err.replace(at, dir.string().size(), "DIR");
        EXPECT_NE(err.find(c.reason), std::string::npos) << c.what << ": " << err;
        EXPECT_EQ(Contents(dir), before) << c.what;
        EXPECT_FALSE(fs::exists(dir / "same.dat")) << c.what;
    }
}

TEST(BatchFileSafety, ASecondRunIntoAnOutputFolderInUseIsRefused)
{
    TempFolder folder;
    const fs::path out = folder.Path() / "out";
    fs::create_directories(out);
    // The test holds the folder as a running batch run holds it.
    const int fd = open(out.c_str(), O_RDONLY | O_DIRECTORY);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(flock(fd, LOCK_EX | LOCK_NB), 0);
    const std::vector<std::string> args = {"--set", "Maxgen=2", "--set", "MaxX=20", "--set", "MaxY=20",
                                           "--set", "PatchSize=10", "--output-dir", "out"};
    const BatchResult refused = RunBatch(folder.Path(), args);
    EXPECT_EQ(refused.status, 2) << refused.err;
    EXPECT_NE(refused.err.find("the output directory \"out\" is in use by another run (process " +
                               std::to_string(getpid()) + ")"),
              std::string::npos)
        << refused.err;
    close(fd);
    const BatchResult free = RunBatch(folder.Path(), args);
    EXPECT_EQ(free.status, 0) << free.err;
}

// A series that does not finish leaves its result as NAME.incomplete, never as NAME, and
// says so; a rerun is not blocked by it.
TEST(BatchFileSafety, AnInterruptedSeriesLeavesItsResultIncomplete)
{
    TempFolder folder;
    const std::vector<std::string> args = {"--mode", "montecarlo-fixed", "--runs", "1000", "--result", "r.dat",
                                           "--set", "Maxgen=65535"};
    const BatchResult interrupted = RunBatch(folder.Path(), args, "timeout --preserve-status -s TERM 1");
    EXPECT_NE(interrupted.status, 0) << interrupted.err;
    EXPECT_FALSE(fs::exists(folder.File("r.dat")));
    EXPECT_NE(ReadAll(folder.File("r.dat.incomplete")).find("  Maxgen     =    65535"), std::string::npos);
    EXPECT_NE(interrupted.err.find("what it wrote is kept in r.dat.incomplete"), std::string::npos)
        << interrupted.err;

    const BatchResult rerun = RunBatch(folder.Path(), {"--mode", "montecarlo-fixed", "--runs", "2", "--result",
                                                       "r.dat", "--set", "Maxgen=2", "--quiet"});
    EXPECT_EQ(rerun.status, 0) << rerun.err;
    EXPECT_NE(ReadAll(folder.File("r.dat")).find("===>"), std::string::npos);
}

// Every output kind sent where nothing can be written (a folder that is a plain file, which
// stops root too) ends the run with exit status 1 and a message naming the file; the user's
// files stay as they were.
TEST(BatchFileSafety, AnOutputThatCannotBeWrittenEndsTheRunNamingTheFile)
{
    struct Case {
        const char* what;
        void (*set)(OptionStruct&, const fs::path&);
        std::vector<std::string> args;
        const char* named; // the file the message names, in the blocked folder
    };
    const Case cases[] = {
        {"final landscape as text",
         [](OptionStruct& o, const fs::path& b) {
             o.WriteLandscape = true, o.WriteLandTypes = 1, o.CAFilename = (b / "land.txt").string();
         },
         {},
         "land.txt"},
        {"final landscape as bitmap",
         [](OptionStruct& o, const fs::path& b) {
             o.WriteLandscape = true, o.WriteLandTypes = 2, o.CAFilename = (b / "land.txt").string();
         },
         {},
         "land.bmp"},
        {"landscapes every generation",
         [](OptionStruct& o, const fs::path& b) {
             o.WriteIntScape = true, o.WriteIntTypes = 1, o.WriteIntEvery = 1;
             o.CAFilename = (b / "land.txt").string();
         },
         {},
         "land.txt"},
        {"coverage",
         [](OptionStruct& o, const fs::path& b) { o.WriteCoverage = true, o.CoverFilename = (b / "Cover.dat").string(); },
         {},
         "Cover.dat"},
        {"growth rates",
         [](OptionStruct& o, const fs::path& b) { o.WriteGRate = true, o.GRateFilename = (b / "GRate.dat").string(); },
         {},
         "GRate1.dat"},
        {"space-time plot",
         [](OptionStruct& o, const fs::path& b) { o.WriteSTP = true, o.STPlotFilename = (b / "ST.bmp").string(); },
         {},
         "ST.bmp"},
        {"frequency-time plot",
         [](OptionStruct& o, const fs::path& b) {
             o.WriteFTP = true, o.FTPlotCycle = 1, o.FTPlotFilename = (b / "FT.bmp").string();
         },
         {},
         "FT1.bmp"},
        {"sliding windows",
         [](OptionStruct& o, const fs::path& b) { o.WriteSW = true, o.GenSWEvery = 1, o.SWFilename = (b / "SW.txt").string(); },
         {},
         "SW"},
        {"outcome statistics",
         [](OptionStruct& o, const fs::path& b) { o.WriteOTC = true, o.OTCFilename = (b / "Outcome.dat").string(); },
         {"--mode", "single-variable", "--params", "variable.prm"},
         "Outcome1.dat"},
        {"growth rate-competitive graph",
         [](OptionStruct& o, const fs::path& b) { o.WriteGCGraph = true, o.GCFilename = (b / "GC.dat").string(); },
         {"--mode", "single-variable", "--params", "variable.prm"},
         "GC.dat"},
        {"frequency-time plot of outcomes",
         [](OptionStruct& o, const fs::path& b) {
             o.WriteFTPOTC = true, o.FTPOTCCycle = 1, o.FTPOTCFilename = (b / "FTO.bmp").string();
         },
         {"--mode", "single-variable", "--params", "variable.prm"},
         "FTO1.bmp"},
        {"array picture",
         [](OptionStruct& o, const fs::path& b) {
             o.WriteLandscape = true, o.WriteLandTypes = 2, o.CAFilename = (b / "land.txt").string();
         },
         {"--mode", "array-fixed", "--rows", "2", "--cols", "2"},
         "land.bmp"},
        {"Monte Carlo result",
         [](OptionStruct&, const fs::path&) {},
         {"--mode", "montecarlo-fixed", "--runs", "2", "--result", "blocked/mc.dat"},
         "mc.dat"},
    };
    for (const Case& c : cases) {
        TempFolder folder;
        const fs::path dir = folder.Path();
        std::ofstream(dir / "blocked") << "a plain file where a folder is expected";
        OptionStruct o = SetDefaultOptions(dir);
        c.set(o, dir / "blocked");
        WriteUserFiles(dir, o);
        ParameterSet variable = ParameterSet::InbuiltDefaults(dir);
        variable.GParamRec.MaxX = variable.GParamRec.MaxY = 20;
        variable.GParamRec.PatchSize = 10;
        variable.GParamRec.Maxgen = 3;
        variable.OutcomeMatrix[1][2] = OutcomeTriple{-1, 0, 0};
        variable.MirrorOutcomeMatrix();
        WriteParameterFile(variable, (dir / "variable.prm").string());
        const std::vector<std::string> before = Contents(dir);
        std::vector<std::string> args = {"--quiet"};
        args.insert(args.end(), c.args.begin(), c.args.end());
        const BatchResult r = RunBatch(dir, args);
        EXPECT_EQ(r.status, 1) << c.what << ": " << r.err;
        EXPECT_NE(r.err.find((fs::path("blocked") / c.named).string()), std::string::npos) << c.what << ": " << r.err;
        EXPECT_EQ(Contents(dir), before) << c.what;
    }
}

} // namespace
} // namespace quorrel::test
