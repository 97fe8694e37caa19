#include "output/Statistics.h"

#include "output/OutputFileError.h"
#include "params/ParameterFile.h"

#include "TempFolder.h"

#include <gtest/gtest.h>

#include <bit>
#include <functional>
#include <map>
#include <random>
#include <sstream>
#include <vector>

namespace quorrel {
namespace {

using test::ReadAll;

struct RecordingSink : StatisticsSink {
    std::vector<std::pair<int, int>> shown; // plot, maxgen
    std::vector<int> refreshed;
    std::map<int, QImage> last;
    int changedOutside = 0; // pixels changed outside the area a refresh named
    void ShowStatisticPlot(int plot, const QImage& picture, int maxgen) override
    {
        shown.emplace_back(plot, maxgen);
        last[plot] = picture.copy();
    }
    void RefreshStatisticPlot(int plot, const QImage& picture) override
    {
        refreshed.push_back(plot);
        last[plot] = picture.copy();
    }
    void RefreshStatisticArea(int plot, const QImage& picture, const QRect& area) override
    {
        const QImage& before = last[plot];
        for (int y = 0; y < picture.height(); ++y)
            for (int x = 0; x < picture.width(); ++x)
                if (!area.contains(x, y) && (before.isNull() || before.pixel(x, y) != picture.pixel(x, y)))
                    ++changedOutside;
        RefreshStatisticPlot(plot, picture);
    }
};

class StatisticsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        params.StartDir = dir.Path();
        params.SetInbuiltDefaults();
        params.MirrorOutcomeMatrix();
        params.UpdateGRateFractions();
        Resize(10, 10, 2);
        options = SetDefaultOptions(dir.Path());
        options.CoverFilename = dir.File("Cover.dat");
        std::filesystem::create_directory(dir.Path() / "out.run");
        options.GRateFilename = dir.File("out.run/rates");
    }

    void Resize(int maxX, int maxY, int maxgen)
    {
        params.GParamRec.MaxX = maxX;
        params.GParamRec.MaxY = maxY;
        params.GParamRec.Maxgen = maxgen;
        Clear();
    }

    void Clear()
    {
        for (int y = 1; y <= params.GParamRec.MaxY; ++y)
            for (int x = 1; x <= params.GParamRec.MaxX; ++x)
                landscape(x, y) = EmptyCell;
    }

    // Species 1 in the first n cells (row by row) with rate 1.0, and species 2 with the given rates after them.
    void Fill(int n, const std::vector<float>& rates2)
    {
        Clear();
        const int maxX = params.GParamRec.MaxX;
        int k = 0;
        for (; k < n; ++k)
            landscape(k % maxX + 1, k / maxX + 1) = Cell{1, 1.0f};
        for (float r : rates2) {
            landscape(k % maxX + 1, k / maxX + 1) = Cell{2, r};
            ++k;
        }
    }

    std::string Listing(const std::string& name)
    {
        std::ostringstream out;
        WriteParameterListing(out, params, name);
        return out.str();
    }

    test::TempFolder dir;
    ParameterSet params;
    OptionStruct options;
    LandscapeGrid landscape;
    ColorMap colors;
};

TEST_F(StatisticsTest, CoverageAndGrowthRateFilesForThreeSpecies)
{
    Fill(25, {0.505f, 0.509f, 0.75f});
    Statistics stats(params, options, landscape, colors);
    stats.StartStatistic(1);
    stats.OpenStatisticFile(1);
    stats.StartStatistic(2);
    stats.StartStatistic(3);
    stats.OpenStatisticFile(2);

    Fill(0, {0.505f, 0.509f, 0.75f}); // species 1 dies out
    for (int k = 1; k <= 3; ++k)
        stats.ComputeStatistic(k);
    stats.WriteStatisticLine(1, 1);
    stats.WriteStatisticLine(2, 1);
    stats.CloseStatisticFile(1);
    stats.CloseStatisticFile(2);
    EXPECT_EQ(stats.SpeciesLeft(), 1);

    const std::string heading = " \r\n===>\r\n \r\n";
    EXPECT_EQ(ReadAll(options.CoverFilename), Listing(options.CoverFilename) + heading +
                                                  "          Coverage of Species (%)\r\n"
                                                  "Gen No.     1     2     3   sp left\r\n"
                                                  "-------  ----- ----- -----  -------\r\n"
                                                  "     0    25.0   3.0   0.0      2\r\n"
                                                  "     1     0.0   3.0   0.0      1\r\n");
    const std::string normal = dir.File("out.run/rates1");
    const std::string genotype = dir.File("out.run/rates2");
    const std::string columns = "Gen No.     1     2     3 \r\n"
                                "-------  ----- ----- ----- \r\n";
    EXPECT_EQ(ReadAll(normal), Listing(normal) + heading + "          Average Growth Rate of Species (Normal)\r\n" +
                                   columns +
                                   "     0   100.0  58.8   0.0 \r\n"
                                   "     1     0.0  58.8   0.0 \r\n");
    EXPECT_EQ(ReadAll(genotype), Listing(genotype) + heading +
                                     "          Average Growth Rate of Species (Genotype)\r\n" + columns +
                                     "     0   100.0  62.5   0.0 \r\n"
                                     "     1     0.0  62.5   0.0 \r\n");
}

TEST_F(StatisticsTest, GenotypesCountTheWholePercentOfTheSinglePrecisionProduct)
{
    // 0.45 is stored as 0.449999988; its product with 100 rounds to 45 in single precision.
    Fill(0, {0.45f, 0.29f, 0.57f});
    Statistics stats(params, options, landscape, colors);
    stats.ComputeStatistic(3);
    EXPECT_FLOAT_EQ(stats.Means(3)[2], float((0.45 + 0.29 + 0.57) / 3));
}

TEST_F(StatisticsTest, PlotsStepAcrossAndScaleToTheirHeight)
{
    Resize(200, 200, 100);
    Fill(10000, {0.505f, 0.509f, 0.75f});
    RecordingSink sink;
    Statistics stats(params, options, landscape, colors, &sink);
    stats.StartStatistic(1);
    stats.ShowStatisticPlot(1);
    stats.StartStatistic(3);
    stats.ShowStatisticPlot(3);
    EXPECT_EQ(sink.shown, (std::vector<std::pair<int, int>>{{1, 100}, {3, 100}}));

    const QImage& coverage = stats.Plot(1);
    ASSERT_EQ(coverage.size(), QSize(400, 200));
    int black49 = 0;
    for (int x = 0; x < 400; ++x) {
        black49 += coverage.pixel(x, 49) == qRgb(0, 0, 0) ? 1 : 0;
        EXPECT_EQ(coverage.pixel(x, 99) == qRgb(0, 0, 0), coverage.pixel(x, 149) == qRgb(0, 0, 0));
        EXPECT_EQ(coverage.pixel(x, 50), qRgb(255, 255, 255));
    }
    EXPECT_GT(black49, 100) << "dashed";
    EXPECT_LT(black49, 350) << "dashed";

    stats.ComputeStatistic(1);
    stats.ComputeStatistic(3);
    stats.PlotStatistic(1);
    stats.PlotStatistic(3);
    // 10 000 of 40 000 cells: y = 199 - 1 990 000 div 40 000 = 150; 4 pixels per generation.
    for (int x = 0; x <= 4; ++x)
        EXPECT_EQ(coverage.pixel(x, 150), colors[1]) << x;
    EXPECT_EQ(coverage.pixel(5, 150), qRgb(255, 255, 255));
    // Genotype mean 0.625 of species 2: y = 199 - trunc(124.375) = 75.
    EXPECT_EQ(stats.Plot(3).pixel(2, 75), colors[2]);

    Fill(0, {});
    stats.ComputeStatistic(1);
    stats.PlotStatistic(1);
    // A steep segment from (4, 150) down to (8, 199), under species 3's line at 199.
    for (int y = 151; y < 199; ++y) {
        bool hit = false;
        for (int x = 4; x <= 8; ++x)
            hit = hit || coverage.pixel(x, y) == colors[1];
        EXPECT_TRUE(hit) << y;
    }
    EXPECT_EQ(coverage.pixel(8, 199), colors[3]);
    EXPECT_EQ(coverage.pixel(9, 199), qRgb(255, 255, 255));
    EXPECT_EQ(sink.refreshed, (std::vector<int>{1, 3, 1}));
    EXPECT_EQ(sink.changedOutside, 0);

    stats.FinishStatisticPlot(1);
    EXPECT_EQ(sink.refreshed.back(), 1);
    EXPECT_TRUE(stats.Plot(1).isNull());
}

TEST_F(StatisticsTest, ArrayKindsAccumulateOverTheLandscapes)
{
    Statistics stats(params, options, landscape, colors);
    stats.SetArrayLandscapes(3);
    // Three landscapes: first, middle (empty) and last, for statistic 1, 2 or 3.
    auto pass = [&](auto operation, int statistic) {
        Fill(25, {0.505f});
        operation(3 + statistic);
        Clear();
        operation(6 + statistic);
        Fill(0, {0.75f, 0.509f});
        operation(9 + statistic);
    };
    auto start = [&](int k) { stats.StartStatistic(k); };
    auto compute = [&](int k) { stats.ComputeStatistic(k); };
    pass(start, 1);
    stats.OpenStatisticFile(4);
    for (int statistic = 1; statistic <= 3; ++statistic)
        pass(compute, statistic);
    EXPECT_EQ(stats.Counts()[1], 25);
    EXPECT_EQ(stats.Counts()[2], 3);
    EXPECT_FLOAT_EQ(stats.Means(2)[2], float((0.505f + double(0.75f) + 0.509f) / 3));
    EXPECT_FLOAT_EQ(stats.Means(3)[2], 0.625f); // genotype 50 counts once over the array

    stats.WriteStatisticLine(4, 1);
    stats.CloseStatisticFile(4);
    const std::string text = ReadAll(options.CoverFilename);
    EXPECT_EQ(text.substr(text.size() - 70), "     0     8.3   1.0   0.0      2\r\n"
                                             "     1     8.3   1.0   0.0      2\r\n");
}

// The statistics read from a tally are those of the cells added one by one, to the bit, on
// rates the tally sums exactly and on rates it does not (which it leaves to a pass of its own),
// for a single landscape and over the landscapes of an array, also where the sums over the
// array outgrow 2^53 of the finest unit (2^-33), which the coarser spacing of larger rates
// keeps exact.
TEST_F(StatisticsTest, StatisticsFromATallyAreThoseOfTheCellsOneByOne)
{
    params.GParamRec.Maxspec = 3;
    std::mt19937 random(7);
    auto uniform = [&] { return std::uniform_real_distribution<double>(0.0, 1.0)(random); };
    using Rate = std::function<float()>;
    const Rate percents = [&] { return static_cast<float>(static_cast<int>(uniform() * 101) / 100.0); };
    const Rate drawn = [&] { return static_cast<float>(uniform() * (0.8f - 0.3f) + 0.3f); };
    const Rate fromZero = [&] { return static_cast<float>(uniform()); };
    const Rate someTiny = [&] { return uniform() < 0.02 ? static_cast<float>(uniform() * 1e-6) : drawn(); };
    const Rate large = [&] { return static_cast<float>(1.0 + uniform() * 0.99); };
    const Rate fine = [&] { return static_cast<float>(0x1p-10 + uniform() * 0x1p-11); };
    struct Case {
        const char* name;
        std::vector<Rate> landscapes; // one: a single landscape; more: an array
        int maxX = 61;
        int maxY = 40;
    };
    const Case cases[] = {
        {"whole percentages", {percents}},
        {"drawn from a range", {drawn}},
        {"from zero", {fromZero}},
        {"some below 2^-10", {someTiny}},
        {"array", {drawn, percents, drawn}},
        {"array, some below 2^-10 in the middle", {drawn, someTiny, drawn}},
        {"array, some below 2^-10 first", {someTiny, drawn, percents}},
        {"array whose sums pass 2^20", {large, large, drawn, large, large, large, large}, 700, 700},
        {"array of sums past 2^20 after rates near 2^-10", {fine, large, large, large, large, large, large}, 700, 700},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Resize(c.maxX, c.maxY, 2);
        // Whether the landscape holds a rate below 2^-10 other than zero.
        auto fill = [&](const Rate& rate) {
            bool tiny = false;
            for (int y = 1; y <= c.maxY; ++y)
                for (int x = 1; x <= c.maxX; ++x) {
                    const int s = static_cast<int>(uniform() * 4);
                    landscape(x, y) = s == 0 ? EmptyCell : Cell{s, rate()};
                    tiny = tiny || (landscape(x, y).GRate > 0.0f && landscape(x, y).GRate < 0x1p-10f);
                }
            return tiny;
        };
        Statistics byCell(params, options, landscape, colors);
        Statistics byTally(params, options, landscape, colors);
        const int n = static_cast<int>(c.landscapes.size());
        byCell.SetArrayLandscapes(n);
        byTally.SetArrayLandscapes(n);
        LandscapeTally tally;
        for (int i = 0; i < n; ++i) {
            const bool tiny = fill(c.landscapes[i]);
            const int kind = n == 1 ? 1 : i == 0 ? 4 : i == n - 1 ? 10 : 7;
            byCell.ComputeStatistics(true, true, true, kind);
            tally.Take(landscape, c.maxX, c.maxY);
            EXPECT_EQ(tally.Exact(), !tiny);
            byTally.ComputeStatistics(true, true, true, kind, &tally);
        }
        for (int s = 1; s <= MaxSpecies; ++s) {
            EXPECT_EQ(byTally.Counts()[s], byCell.Counts()[s]) << s;
            EXPECT_EQ(std::bit_cast<uint64_t>(byTally.RateSums()[s]), std::bit_cast<uint64_t>(byCell.RateSums()[s]))
                << s;
            EXPECT_EQ(std::bit_cast<uint32_t>(byTally.Means(2)[s]), std::bit_cast<uint32_t>(byCell.Means(2)[s])) << s;
            EXPECT_EQ(std::bit_cast<uint32_t>(byTally.Means(3)[s]), std::bit_cast<uint32_t>(byCell.Means(3)[s])) << s;
        }
        EXPECT_GT(byCell.Counts()[3], 0);
    }
}

TEST_F(StatisticsTest, FilesThatCannotBeWrittenThrowWithTheirName)
{
    Statistics stats(params, options, landscape, colors);
    stats.StartStatistic(1);
    options.CoverFilename = dir.File("missing/Cover.dat");
    try {
        stats.OpenStatisticFile(1);
        ADD_FAILURE() << "no error";
    } catch (const OutputFileError& e) {
        EXPECT_EQ(std::string(e.what()), "No such file or directory:\r  " + options.CoverFilename);
    }
    stats.CloseStatisticFile(1);

    options.GRateFilename = dir.File("missing/GRate.dat");
    EXPECT_THROW(stats.OpenStatisticFile(2), OutputFileError);
    EXPECT_THROW(stats.WriteStatisticLine(2, 1), OutputFileError);
    stats.CloseStatisticFile(2);
}

} // namespace
} // namespace quorrel
