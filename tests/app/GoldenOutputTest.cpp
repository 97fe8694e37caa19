// Guards every refactoring: a table of small runs in every mode, each run's output files
// compared by SHA-256 with the sums committed in tests/app/golden/sums/. Any change of one
// output byte fails the run's case and names the file.
//
// The inputs are committed files in tests/app/golden/ (parameter files, options files, a
// cover file), not built in code, so that no change of the code that makes or reads them
// can shift the inputs unseen. Paths that the files list are written as "DIR" before the
// sums are taken, so the sums do not depend on the temporary folder.
//
// When an issue asks for an output to change, run this test with QUORREL_GOLDEN_UPDATE=1:
// it then writes the sums of the files it got over the committed ones (and fails, so that
// an update is never mistaken for a pass); commit them and say why.

#include "RunBatch.h"

#include <gtest/gtest.h>

#include <QByteArray>
#include <QCryptographicHash>

#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace quorrel::test {
namespace {

namespace fs = std::filesystem;

const fs::path kGolden = QUORREL_GOLDEN_DIR;

struct GoldenCase {
    std::string name;
    std::vector<std::string> args; // after the parameter and options files
    std::string params = "fixed.prm";
    std::string options = "all-outputs.dat";
};

void PrintTo(const GoldenCase& c, std::ostream* os) { *os << c.name; }

// Single runs of both outcome kinds over every border, initial landscape, cover, disturbance
// patch, recruitment and mortality kind; Monte Carlo series with each randomisation; arrays
// with each spread of growth rates and outcome ranges.
const std::vector<GoldenCase>& Cases()
{
    static const std::vector<GoldenCase> cases = {
        {"fixed-open-gradient-blocks", {}},
        {"fixed-torus-random-square-closed",
         {"--set", "Border=Torus", "--set", "Init=Random", "--set", "Cover=Random", "--set", "PatchType=Square",
          "--set", "RecruitType=Closed", "--set", "DisturbProb=0.02"}},
        {"fixed-meanfield-grid", {"--set", "MeanField=1", "--set", "Init=Grid", "--set", "RecruitType=Closed"}},
        {"fixed-cover-file", {"--set", "Cover=File", "--set", "CoverFile=cover.txt", "--set", "Maxgen=25"}},
        {"fixed-single-cell-mortality-bitmaps", {"--set", "RecruitType=Closed"}, "fixed-single.prm", "bitmaps.dat"},
        {"fixed-single-cell-mortality-open", {"--set", "Border=Torus"}, "fixed-single.prm"},
        {"variable-open-mutation", {"--mode", "single-variable"}, "variable.prm"},
        {"variable-torus-closed",
         {"--mode", "single-variable", "--set", "Border=Torus", "--set", "RecruitType=Closed", "--set",
          "Init=Random"},
         "variable.prm"},
        {"variable-mortality-patches", {"--mode", "single-variable", "--set", "Cover=Random"}, "variable-patches.prm"},
        {"variable-meanfield-bitmaps", {"--mode", "single-variable", "--set", "MeanField=1"}, "variable.prm",
         "bitmaps.dat"},
        {"montecarlo-fixed-uniform",
         {"--mode", "montecarlo-fixed", "--runs", "3", "--result", "out/mc.dat", "--outcome-random", "uniform",
          "--grate-random", "--set", "Maxgen=15"}},
        {"montecarlo-fixed-no-reversals",
         {"--mode", "montecarlo-fixed", "--runs", "3", "--result", "out/mc.dat", "--outcome-random",
          "no-reversals", "--standoff", "20", "--set", "Maxgen=15"}},
        {"montecarlo-fixed-hierarchical",
         {"--mode", "montecarlo-fixed", "--runs", "4", "--result", "out/mc.dat", "--outcome-random",
          "hierarchical", "--standoff", "30", "--grate-random", "--set", "Maxgen=12"}},
        {"montecarlo-variable",
         {"--mode", "montecarlo-variable", "--runs", "3", "--result", "out/mc.dat", "--grate-random", "--set",
          "Maxgen=15"},
         "variable.prm"},
        {"array-fixed-uniform",
         {"--mode", "array-fixed", "--rows", "2", "--cols", "3", "--influx-between", "0.2", "--influx-timestep",
          "3", "--influx-inside", "0.05", "--set", "Maxgen=12"}},
        {"array-fixed-clumped-torus",
         {"--mode", "array-fixed", "--rows", "3", "--cols", "2", "--grate-spread", "clumped", "--influx-between",
          "0.1", "--influx-timestep", "4", "--init-grates", "out/grates.dat", "--set", "Border=Torus", "--set",
          "Maxgen=12"},
         "fixed.prm", "bitmaps.dat"},
        {"array-fixed-gradient-meanfield",
         {"--mode", "array-fixed", "--rows", "2", "--cols", "2", "--grate-spread", "gradient", "--influx-between",
          "0.3", "--influx-timestep", "2", "--set", "MeanField=1", "--set", "Maxgen=10"}},
        {"array-variable-uniform",
         {"--mode", "array-variable", "--rows", "2", "--cols", "2", "--influx-between", "0.2", "--influx-timestep",
          "3", "--influx-inside", "0.1", "--set", "Maxgen=10"},
         "variable-patches.prm"},
        {"array-variable-clumped-meanfield",
         {"--mode", "array-variable", "--rows", "2", "--cols", "3", "--grate-spread", "gradient",
          "--outcome-spread", "clumped", "--influx-between", "0.1", "--influx-timestep", "2", "--set",
          "MeanField=1", "--set", "Maxgen=10"},
         "variable.prm", "bitmaps.dat"},
        {"array-variable-gradient-torus",
         {"--mode", "array-variable", "--rows", "3", "--cols", "2", "--grate-spread", "clumped", "--outcome-spread",
          "gradient", "--influx-between", "0.2", "--influx-timestep", "3", "--init-grates", "out/grates.dat",
          "--init-outcomes", "out/outcomes.dat", "--set", "Border=Torus", "--set", "Maxgen=10"},
         "variable.prm"},
    };
    return cases;
}

std::string Sha256(const std::string& bytes)
{
    return QCryptographicHash::hash(QByteArrayView(bytes.data(), qsizetype(bytes.size())),
                                    QCryptographicHash::Sha256)
        .toHex()
        .toStdString();
}

// The sums of every file of folder by name, with the run folder's path written as "DIR".
std::map<std::string, std::string> Sums(const fs::path& folder, const fs::path& runFolder)
{
    std::map<std::string, std::string> sums;
    const std::string path = runFolder.string();
    for (const auto& entry : fs::directory_iterator(folder)) {
        std::string text = ReadAll(entry.path().string());
        for (size_t at; (at = text.find(path)) != std::string::npos;)
            text.replace(at, path.size(), "DIR");
        sums[entry.path().filename().string()] = Sha256(text);
    }
    return sums;
}

// The committed sums of a case, in the format of sha256sum ("SUM  NAME" a line).
fs::path SumsFile(const GoldenCase& c) { return kGolden / "sums" / (c.name + ".sha256"); }

std::map<std::string, std::string> CommittedSums(const GoldenCase& c)
{
    std::map<std::string, std::string> sums;
    std::ifstream in(SumsFile(c));
    for (std::string sum, name; in >> sum >> name;)
        sums[name] = sum;
    return sums;
}

void WriteSums(const GoldenCase& c, const std::map<std::string, std::string>& sums)
{
    fs::create_directories(SumsFile(c).parent_path());
    std::ofstream out(SumsFile(c), std::ios::binary | std::ios::trunc);
    for (const auto& [name, sum] : sums)
        out << sum << "  " << name << "\n";
}

class GoldenOutputTest : public ::testing::TestWithParam<GoldenCase> {};

TEST_P(GoldenOutputTest, EveryOutputFileKeepsItsBytes)
{
    const GoldenCase& c = GetParam();
    TempFolder root;
    const fs::path run = root.Path() / c.name;
    fs::create_directories(run / "out");
    for (const char* input : {"fixed.prm", "fixed-single.prm", "variable.prm", "all-outputs.dat", "bitmaps.dat",
                              "variable-patches.prm", "cover.txt"})
        fs::copy_file(kGolden / input, run / input);

    std::vector<std::string> args = {"--quiet", "--params", c.params, "--options", c.options, "--output-dir", "out"};
    args.insert(args.end(), c.args.begin(), c.args.end());
    const BatchResult r = RunBatch(run, args);
    ASSERT_EQ(r.status, 0) << r.err;

    const std::map<std::string, std::string> got = Sums(run / "out", run);
    if (std::getenv("QUORREL_GOLDEN_UPDATE")) {
        WriteSums(c, got);
        FAIL() << "wrote " << SumsFile(c);
    }
    const std::map<std::string, std::string> want = CommittedSums(c);
    ASSERT_FALSE(want.empty()) << "no committed sums in " << SumsFile(c);
    for (const auto& [name, sum] : want) {
        const auto it = got.find(name);
        if (it == got.end())
            ADD_FAILURE() << c.name << ": " << name << " was not written";
        else
            EXPECT_EQ(it->second, sum) << c.name << ": " << name << " changed";
    }
    for (const auto& [name, sum] : got)
        EXPECT_TRUE(want.contains(name)) << c.name << ": " << name << " is new";
}

INSTANTIATE_TEST_SUITE_P(Runs, GoldenOutputTest, ::testing::ValuesIn(Cases()),
                         [](const ::testing::TestParamInfo<GoldenCase>& info) {
                             std::string name = info.param.name;
                             std::replace(name.begin(), name.end(), '-', '_');
                             return name;
                         });

} // namespace
} // namespace quorrel::test
