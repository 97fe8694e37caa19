#include "engine/LandscapeGrid.h"
#include "params/ParameterSet.h"
#include "runs/MonteCarloRecord.h"
#include "runs/MonteCarloResultFile.h"

#include "TempFolder.h"
#include "output/OutputFileError.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <memory>
#include <sstream>
#include <string>

#include <sys/resource.h>

namespace quorrel::test {
namespace {

ParameterSet Params(int maxspec, int maxX, int maxY)
{
    ParameterSet p;
    p.ResetToStartupTables();
    p.SetInbuiltDefaults();
    p.GParamRec.Maxspec = maxspec;
    p.GParamRec.MaxX = maxX;
    p.GParamRec.MaxY = maxY;
    return p;
}

std::string Lines(std::initializer_list<const char*> lines)
{
    std::string text;
    for (const char* line : lines)
        text += std::string(line) + "\r\n";
    return text;
}

std::string Summary(const MonteCarloRecord& record, const ParameterSet& p, bool variable = false)
{
    std::ostringstream out;
    WriteMonteCarloSummary(out, record, p, variable ? OutcomeKind::Variable : OutcomeKind::Fixed);
    return out.str();
}

// Two runs, both with extinctions, on 50 x 40 cells: the factor 100 / 2000 held in single
// precision is a little above 0.05, so 1997 cells print as 99.9 and 3 cells as 0.2.
TEST(MonteCarloSummary, TwoRunsWithExtinctionsGiveMeanAndSampleDeviation)
{
    const ParameterSet p = Params(3, 50, 40);
    MonteCarloRecord record;
    record.Clear(2);
    record.ExtinctionOrder[1][1] = 3;
    record.ExtinctionTime[1][1] = 5;
    record.ExtinctionOrder[1][2] = 2;
    record.ExtinctionTime[1][2] = 9;
    record.SpeciesLeft[1] = 1;
    record.EndCounts[1][0] = 3;
    record.EndCounts[1][1] = 1997;
    record.ExtinctionOrder[2][1] = 2;
    record.ExtinctionTime[2][1] = 7;
    record.SpeciesLeft[2] = 2;
    record.EndCounts[2][1] = 3;
    record.EndCounts[2][3] = 1997;

    EXPECT_EQ(Summary(record, p), Lines({
                                      "",
                                      "===>",
                                      "",
                                      "Growth rates are not being randomised.",
                                      "Outcomes are not being randomised.",
                                      "",
                                      " Run  Time of first  Number of species  Species left",
                                      "       extinction     left at the end    at the end",
                                      "----  -------------  -----------------  ------------",
                                      "   1           5               1        1",
                                      "   2           7               2        1  3",
                                      "----  -------------  -----------------",
                                      "Mean           6.00            1.50",
                                      "SD             1.41            0.71",
                                      "",
                                      " Run   Species gone to extinction",
                                      "      species @ time of extinction",
                                      "----  ----------------------------",
                                      "   1  3@5     2@9   ",
                                      "   2  2@7   ",
                                      "",
                                      "Percentage coverage of each species at the end of each run.",
                                      "      Species",
                                      " Run    1     2     3",
                                      "   1  99.9   0.0   0.0",
                                      "   2   0.2   0.0  99.9",
                                  }));
}

TEST(MonteCarloSummary, OneRunOfFourWithoutExtinctionGivesThePercentageLine)
{
    const ParameterSet p = Params(2, 10, 10);
    MonteCarloRecord record;
    record.Clear(4);
    for (int r = 1; r <= 4; ++r) {
        record.SpeciesLeft[r] = 2;
        record.EndCounts[r][1] = 100;
    }
    for (int r = 2; r <= 4; ++r) {
        record.ExtinctionOrder[r][1] = 1;
        record.ExtinctionTime[r][1] = 10 * r;
        record.SpeciesLeft[r] = 1;
    }
    const std::string text = Summary(record, p);
    EXPECT_NE(text.find(Lines({
                  "   1          -1               2        1  2",
                  "   2          20               1        2",
                  "   3          30               1        2",
                  "   4          40               1        2",
                  "--------------------------------------",
                  " 25.0% (1 out of 4) runs had no extinctions.",
                  "",
              })),
              std::string::npos)
        << text;
    EXPECT_EQ(text.find("Mean"), std::string::npos);
    EXPECT_NE(text.find(Lines({"   1", "   2  1@20  "})), std::string::npos) << text;
}

TEST(MonteCarloSummary, RandomisationLines)
{
    struct Case {
        uint8_t mode;
        bool grates;
        bool variable;
        const char* expected;
    };
    const Case cases[] = {
        {UniformRandomising, false, false,
         "Growth rates are not being randomised.\r\nOutcomes are being randomised (uniformly) with 35% stand-offs.\r\n"},
        {NoReversalRandomising, true, false,
         "Growth rates are being randomised.\r\nOutcomes are being randomised (with no reversals) with 35% stand-offs.\r\n"},
        {HierarchicalRandomising, false, false,
         "Growth rates are not being randomised.\r\nOutcomes are being randomised (hierachically) with 35% stand-offs.\r\n"},
        {HierarchicalRandomising, true, true,
         "Growth rates are being randomised.\r\nOutcomes are not being randomised.\r\n"},
    };
    for (const Case& c : cases) {
        ParameterSet p = Params(2, 10, 10);
        p.OutcomeRandomMode = c.mode;
        p.GRateRandomising = c.grates;
        p.StandoffPercent = 35;
        MonteCarloRecord record;
        record.Clear(2);
        EXPECT_EQ(Summary(record, p, c.variable).substr(10, std::string(c.expected).size()), c.expected);
    }
}

TEST(MonteCarloResultFile, RunLogBlocksAlignValuesUnderTheirSpecies)
{
    ParameterSet p = Params(4, 10, 10);
    p.OutcomeRandomMode = UniformRandomising;
    p.GRateRandomising = true;
    int v = 0;
    for (int j = 2; j <= 4; ++j)
        for (int i = 1; i < j; ++i, v += 3)
            p.OutcomeMatrix[i][j] = {int8_t(v), int8_t(v + 1), int8_t(100 - 2 * v - 1)};
    p.GrowthRates[1] = {45, 0, 0};
    p.GrowthRates[2] = {-1, 5, 99};
    p.GrowthRates[3] = {100, 0, 0};
    p.GrowthRates[4] = {-1, 0, 7};
    std::ostringstream out;
    WriteRunLog(out, 12, p);
    EXPECT_EQ(out.str(), Lines({
                             "Run: 12",
                             " Outcome Matrix:",
                             "No.     2   3   4",
                             "   1    0   3   9",
                             "   1    1   4  10",
                             "   1   99  93  81",
                             "   2        6  12",
                             "   2        7  13",
                             "   2       87  75",
                             "   3           15",
                             "   3           16",
                             "   3           69",
                             "",
                             " Growth Rates: ",
                             "   1  45",
                             "   2  -1   5  99",
                             "   3 100",
                             "   4  -1   0   7",
                             "",
                         }));
}

// The result is written as NAME.incomplete and renamed to NAME only when its series finished.
TEST(MonteCarloResultFile, TakesItsNameOnlyWhenTheSeriesFinished)
{
    namespace fs = std::filesystem;
    TempFolder folder;
    const ParameterSet p = Params(3, 10, 10);
    for (const bool finished : {true, false}) {
        const std::string name = folder.File(finished ? "finished.dat" : "stopped.dat");
        MonteCarloResultFile file(name, p);
        EXPECT_TRUE(fs::exists(name + ".incomplete"));
        EXPECT_FALSE(fs::exists(name));
        PutLine(file.Stream(), "===>");
        file.Close(finished);
        EXPECT_EQ(fs::exists(name), finished);
        EXPECT_EQ(fs::exists(name + ".incomplete"), !finished);
        const std::string text = ReadAll(finished ? name : name + ".incomplete");
        EXPECT_EQ(text.substr(0, name.size() + 2), name + "\r\n"); // line 1 is the result's own name
        EXPECT_NE(text.find("===>\r\n"), std::string::npos);
    }
}

// A file that cannot take the listing (here: over the size limit, as a full disk) reports
// the system's reason and where its part is, not an unknown failure.
TEST(MonteCarloResultFile, AFailedWriteNamesTheSystemsReasonAndThePart)
{
    TempFolder folder;
    const std::string name = folder.File("full.dat");
    rlimit old{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = old;
    small.rlim_cur = 100;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    std::string message;
    try {
        MonteCarloResultFile file(name, Params(3, 10, 10));
    } catch (const OutputFileError& e) {
        message = e.what();
    }
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_EQ(message, "File too large; what was written is kept in " + name + ".incomplete:\r  " + name);
    EXPECT_FALSE(std::filesystem::exists(name));
}

// A landscape of width x height cells holding the given species, row by row.
std::unique_ptr<LandscapeGrid> Landscape(GParamStruct& g, std::initializer_list<int> species)
{
    auto grid = std::make_unique<LandscapeGrid>();
    auto it = species.begin();
    for (int y = 1; y <= g.MaxY; ++y)
        for (int x = 1; x <= g.MaxX; ++x)
            (*grid)(x, y) = Cell{*it++, 0.5f};
    return grid;
}

// Species 2 is absent from the start; 1 and 3 vanish together later, in increasing order.
TEST(MonteCarloRecord, ExtinctionOrderAndTimes)
{
    ParameterSet p = Params(4, 2, 2);
    GParamStruct& g = p.GParamRec;
    MonteCarloRecord record;
    record.Clear(3);
    const int r = 2;

    auto update = [&](int gen, std::initializer_list<int> cells) {
        const bool added = record.UpdateExtinctionOrder(r, *Landscape(g, cells), g);
        if (added)
            record.StampExtinctionTimes(r, gen);
        return added;
    };
    EXPECT_TRUE(update(1, {1, 3, 4, 0}));
    EXPECT_FALSE(update(2, {1, 3, 4, 4}));
    EXPECT_FALSE(update(3, {1, 3, 4, 4}));
    EXPECT_TRUE(update(4, {4, 0, 4, 4}));
    EXPECT_TRUE(update(5, {0, 0, 0, 0}));
    EXPECT_FALSE(update(6, {2, 0, 0, 0})); // a return does not enter twice

    const std::array<int8_t, 41> order = record.ExtinctionOrder[r];
    const std::array<int32_t, 41> times = record.ExtinctionTime[r];
    EXPECT_EQ((std::array<int, 5>{order[1], order[2], order[3], order[4], order[5]}), (std::array<int, 5>{2, 1, 3, 4, 0}));
    EXPECT_EQ((std::array<int, 5>{times[1], times[2], times[3], times[4], times[5]}), (std::array<int, 5>{1, 4, 4, 5, -1}));
    record.SetSpeciesLeft(r, g.Maxspec);
    EXPECT_EQ(record.SpeciesLeft[r], 0);
    EXPECT_EQ(record.ExtinctionOrder[1][1], 0);
    EXPECT_EQ(record.ExtinctionTime[3][1], -1);

    record.AddEndCounts(r, *Landscape(g, {2, 0, 2, 3}), g);
    EXPECT_EQ((std::array<int, 4>{record.EndCounts[r][0], record.EndCounts[r][1], record.EndCounts[r][2],
                                  record.EndCounts[r][3]}),
              (std::array<int, 4>{1, 0, 2, 1}));
}

} // namespace
} // namespace quorrel::test
