// TidyFolder over a real small sweep folder made by running quorrel-batch once per mode,
// read back with pandas; and its refusals of folders that are not sweeps or hold foreign files.

#include "TempFolder.h"

#include "tidy/TidyFolder.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include <sys/wait.h>

namespace quorrel::test {
namespace {

namespace fs = std::filesystem;

int Shell(const std::string& command)
{
    const int raw = std::system(command.c_str());
    return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
}

// A run.json as the sweep writes it, reduced to what tidy reads.
void WriteRecord(const fs::path& folder, int run, const std::string& mode, const std::string& overGRate,
                 const std::string& status)
{
    WriteAll((folder / "run.json").string(),
             "{\"format\": \"quorrel-run 1\", \"program\": \"quorrel-batch\", \"run\": " + std::to_string(run) +
                 ", \"replicate\": 1, \"seed\": 4321, \"mode\": \"" + mode + "\", \"varied\": {\"OverGRate\": \"" +
                 overGRate + "\"}, \"parameters\": {}, \"options\": {}, \"status\": \"" + status +
                 "\", \"exit_status\": " + (status == "done" ? "0" : "1") + ", \"seconds\": 0.5}\n");
}

// Five runs: single fixed, single variable, a Monte Carlo series, a variable array, and a
// failed run whose coverage file was cut short.
class SweepFolder : public ::testing::Test {
protected:
    void SetUp() override
    {
        const fs::path golden = QUORREL_GOLDEN_DIR;
        for (const char* input : {"fixed.prm", "variable.prm", "all-outputs.dat"})
            fs::copy_file(golden / input, root.Path() / input);
        struct Case {
            std::string mode, params, extra;
        };
        const std::vector<Case> cases = {
            {"single-fixed", "fixed.prm", ""},
            {"single-variable", "variable.prm", ""},
            {"montecarlo-fixed", "fixed.prm",
             "--runs 3 --result sweep/run-00003/mc.dat --outcome-random uniform --grate-random"},
            {"array-variable", "variable.prm", "--rows 2 --cols 2"},
            {"single-fixed", "fixed.prm", ""},
        };
        for (size_t i = 0; i < cases.size(); ++i) {
            const int run = static_cast<int>(i) + 1;
            char name[16];
            std::snprintf(name, sizeof name, "run-%05d", run);
            const Case& c = cases[i];
            const std::string command = "cd '" + root.Path().string() + "' && '" QUORREL_BATCH "' --quiet --params " +
                                        c.params + " --options all-outputs.dat --mode " + c.mode + " " + c.extra +
                                        " --output-dir sweep/" + name +
                                        " --set MaxX=20 --set MaxY=20 --set Maxgen=10 --set OverGRate=" +
                                        std::to_string(40 + run) + " > /dev/null 2>&1";
            ASSERT_EQ(Shell(command), 0) << command;
            WriteRecord(sweep / name, run, c.mode, std::to_string(40 + run), run == 5 ? "failed" : "done");
        }
        const std::string cover = ReadAll((sweep / "run-00005" / "Cover.dat").string());
        WriteAll((sweep / "run-00005" / "Cover.dat").string(), cover.substr(0, cover.size() - 20));
    }

    TempFolder root;
    const fs::path sweep = root.Path() / "sweep";
};

TEST_F(SweepFolder, TidyFilesReadWithPandasAgreeWithTheDataFiles)
{
    std::ostringstream err;
    ASSERT_EQ(TidyFolder(sweep, err), 0) << err.str();
    EXPECT_EQ(err.str(), "");
    const std::string python = QUORREL_PANDAS_PYTHON;
    if (python.empty() || Shell("'" + python + "' -c 'import pandas' > /dev/null 2>&1") != 0)
        GTEST_SKIP() << "pandas is missing: /usr/bin/python3 with python3-pandas (scripts/install-deps) reads the tidy files";
    EXPECT_EQ(Shell("'" + python + "' '" QUORREL_TIDY_CHECK "' '" + sweep.string() + "'"), 0);
}

TEST_F(SweepFolder, AForeignOrDamagedFileStopsTidyAndChangesNoTidyFile)
{
    std::ostringstream err;
    ASSERT_EQ(TidyFolder(sweep, err), 0) << err.str();
    const std::string runs = ReadAll((sweep / "runs.csv").string());

    // A data file of the listing's form whose heading is no data file of ours.
    const std::string grate = ReadAll((sweep / "run-00002" / "GRate1.dat").string());
    std::string foreign = grate;
    foreign.replace(foreign.find("Average Growth Rate of Species (Normal)"), 7, "Largest");
    WriteAll((sweep / "run-00002" / "Other.dat").string(), foreign);
    std::ostringstream refusal;
    EXPECT_EQ(TidyFolder(sweep, refusal), 2);
    EXPECT_TRUE(refusal.str().starts_with("run-00002/Other.dat line ")) << refusal.str();
    EXPECT_EQ(ReadAll((sweep / "runs.csv").string()), runs);

    // A second file of the same kind in one run.
    WriteAll((sweep / "run-00002" / "Other.dat").string(), grate);
    std::ostringstream twice;
    EXPECT_EQ(TidyFolder(sweep, twice), 2);
    EXPECT_NE(twice.str().find("a second growth-rate file"), std::string::npos) << twice.str();
    fs::remove(sweep / "run-00002" / "Other.dat");

    // A record whose number is not its folder's.
    WriteRecord(sweep / "run-00004", 7, "array-variable", "44", "done");
    std::ostringstream number;
    EXPECT_EQ(TidyFolder(sweep, number), 2);
    EXPECT_EQ(number.str(), "run-00004/run.json: the record is of run 7, the folder's name says 4\n");
    for (const auto& entry : fs::directory_iterator(sweep))
        EXPECT_FALSE(entry.path().filename().string().starts_with(".")) << "left behind: " << entry.path();
}

TEST(TidyFolderRefusal, AFolderWithoutRunRecordsIsNotASweep)
{
    TempFolder root;
    fs::create_directories(root.Path() / "run-00001");
    fs::create_directories(root.Path() / "other");
    std::ostringstream err;
    EXPECT_EQ(TidyFolder(root.Path(), err), 2);
    EXPECT_NE(err.str().find("run-00001: no run.json"), std::string::npos) << err.str();
    EXPECT_NE(err.str().find(": not a sweep folder"), std::string::npos) << err.str();
    std::ostringstream missing;
    EXPECT_EQ(TidyFolder(root.Path() / "none", missing), 2);
    EXPECT_FALSE(fs::exists(root.Path() / "runs.csv"));
}

} // namespace
} // namespace quorrel::test
