#include "output/FreqTimeOutcomePlot.h"
#include "output/FreqTimePlot.h"

#include "VariableFixture.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <utility>
#include <vector>

namespace quorrel {
namespace {

struct RecordingSink : FreqTimeSink {
    std::vector<PlotWindowSize> shown;
    int refreshed = 0;
    int newestRow = -1;
    void RefreshFreqTimePlot(const QImage&, const QImage&, int row) override
    {
        ++refreshed;
        newestRow = row;
    }
    void ShowFreqTimeWindow(const PlotWindowSize& size) override { shown.push_back(size); }
};

class FreqTimePlotTest : public test::VariableFixture {
protected:
    void SetUp() override
    {
        VariableFixture::SetUp();
        options.FTPSpecies = 1;
        options.FTPlotCycle = 1;
        options.FTPlotFilename = dir.File("FTPlot.bmp");
    }

    // Individuals of species 1 with the given rates (each as often as asked), row by row;
    // species 2 everywhere else.
    void Fill(const std::vector<std::pair<float, int>>& rates)
    {
        int k = 0;
        for (int y = 1; y <= params.GParamRec.MaxY; ++y)
            for (int x = 1; x <= params.GParamRec.MaxX; ++x)
                Place(x, y, 2, 0.1f);
        for (const auto& [rate, count] : rates)
            for (int i = 0; i < count; ++i, ++k)
                Place(k % params.GParamRec.MaxX + 1, k / params.GParamRec.MaxX + 1, 1, rate);
    }

    // The colour-map indices of the ten classes in row y.
    std::vector<int> Classes(const QImage& picture, int y) const
    {
        std::vector<int> indices;
        for (int k = 0; k < 10; ++k) {
            int index = -1;
            for (int i = ColorMap::FirstGrey; i < ColorMap::Size && index < 0; ++i)
                if (colors[i] == picture.pixel(10 * k, y))
                    index = i;
            for (int x = 10 * k; x < 10 * k + 10; ++x)
                EXPECT_EQ(picture.pixel(x, y), picture.pixel(10 * k, y));
            indices.push_back(index);
        }
        return indices;
    }

    static std::vector<int> Grey(std::vector<std::pair<int, int>> shares)
    {
        std::vector<int> indices(10, ColorMap::FirstGrey);
        for (const auto& [k, p] : shares)
            indices[k - 1] = ColorMap::FirstGrey + p;
        return indices;
    }
};

TEST_F(FreqTimePlotTest, LinesWeighIndividualsAndDistinctValues)
{
    struct Case {
        const char* name;
        std::vector<std::pair<float, int>> rates;
        std::vector<int> individuals;
        std::vector<int> values;
    };
    const Case cases[] = {
        {"no individuals", {}, Grey({}), Grey({})},
        {"all at 1.0", {{1.0f, 5}}, Grey({{10, 100}}), Grey({{10, 100}})},
        {"0.25 and 0.26 by count, once each", {{0.25f, 6}, {0.26f, 2}, {0.75f, 2}}, Grey({{3, 80}, {8, 20}}),
         Grey({{3, 67}, {8, 33}})},
        {"halves to even", {{0.25f, 7}, {0.95f, 1}}, Grey({{3, 88}, {10, 12}}), Grey({{3, 50}, {10, 50}})},
        {"45 % stored below 0.45", {{0.45f, 1}, {0.7f, 3}}, Grey({{5, 25}, {8, 75}}), Grey({{5, 50}, {8, 50}})},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Fill(c.rates);
        FreqTimePlot plot(params, options, landscape, colors);
        plot.Plot(TimePlotKind::Start);
        EXPECT_EQ(Classes(plot.Individuals(), 0), c.individuals);
        EXPECT_EQ(Classes(plot.Values(), 0), c.values);
    }
    // The whole percentage of 0.45 (stored as 0.449999988) is 45.
    Fill({{0.45f, 1}});
    FreqTimePlot plot(params, options, landscape, colors);
    plot.Plot(TimePlotKind::Start);
    EXPECT_TRUE(plot.ValuePresent()[45]);
    EXPECT_EQ(plot.ValuePresent().count(), 1u);
}

TEST_F(FreqTimePlotTest, LegendOnlyInPicturesOfAtLeast20Rows)
{
    Fill({{0.5f, 3}});
    for (const auto& [cycle, legend] : {std::pair{5, true}, std::pair{6, false}}) {
        options.FTPlotCycle = cycle; // Maxgen 100: 20 or 16 rows
        FreqTimePlot plot(params, options, landscape, colors);
        plot.Plot(TimePlotKind::Start);
        const int h = 100 / cycle;
        ASSERT_EQ(plot.Individuals().size(), QSize(100, h));
        const QRgb corner = plot.Individuals().pixel(9, h - 1);
        EXPECT_EQ(corner == colors[1], legend);
        EXPECT_EQ(plot.Individuals().pixel(9, h - 10) == colors[1], legend);
        EXPECT_NE(plot.Individuals().pixel(10, h - 1), colors[1]);
        EXPECT_NE(plot.Values().pixel(0, h - 1), colors[1]);
    }
}

TEST_F(FreqTimePlotTest, ArraySumsItsLandscapesIntoOneLineAndSavesBothPictures)
{
    options.ShowFTPlot = true;
    options.WriteFTP = true;
    RecordingSink sink;
    FreqTimePlot plot(params, options, landscape, colors, &sink);
    Fill({{0.25f, 3}});
    plot.Plot(TimePlotKind::FirstAtStart);
    Fill({{0.75f, 1}});
    plot.Plot(TimePlotKind::OtherAtStart);
    EXPECT_EQ(plot.LineCounter(), 0);
    Fill({{0.75f, 1}, {0.25f, 0}});
    plot.Plot(TimePlotKind::LastAtStart);
    EXPECT_EQ(plot.LineCounter(), 1);
    EXPECT_EQ(Classes(plot.Individuals(), 0), Grey({{3, 60}, {8, 40}}));
    EXPECT_EQ(Classes(plot.Values(), 0), Grey({{3, 50}, {8, 50}}));
    EXPECT_EQ(sink.shown, (std::vector<PlotWindowSize>{PlotWindowSize{204, 100, 212, 127}}));

    Fill({{1.0f, 2}});
    plot.Plot(TimePlotKind::FirstInGeneration);
    plot.Plot(TimePlotKind::LastInGeneration);
    EXPECT_EQ(plot.IndividualTotal(), 4);
    EXPECT_EQ(Classes(plot.Individuals(), 1), Grey({{10, 100}}));
    EXPECT_EQ(sink.refreshed, 2);
    EXPECT_EQ(sink.newestRow, 1);
    EXPECT_EQ(sink.shown.size(), 1u);

    const QImage individuals = plot.Individuals().copy();
    const QImage values = plot.Values().copy();
    plot.Plot(TimePlotKind::ArrayEnd);
    EXPECT_TRUE(plot.Individuals().isNull());
    EXPECT_TRUE(plot.Values().isNull());
    EXPECT_EQ(QImage(QString::fromStdString(dir.File("FTPlot1.bmp"))).convertToFormat(QImage::Format_RGB32),
              individuals);
    EXPECT_EQ(QImage(QString::fromStdString(dir.File("FTPlot2.bmp"))).convertToFormat(QImage::Format_RGB32), values);
}

TEST_F(FreqTimePlotTest, WindowSizeAndReleaseWithoutWriting)
{
    EXPECT_EQ(FreqTimePlot::WindowSize(600), (PlotWindowSize{204, 600, 212, 627}));
    EXPECT_EQ(FreqTimePlot::WindowSize(601), (PlotWindowSize{220, 600, 228, 627}));
    options.WriteFTP = false;
    FreqTimePlot plot(params, options, landscape, colors);
    plot.Plot(TimePlotKind::Start);
    plot.Plot(TimePlotKind::End);
    EXPECT_TRUE(plot.Individuals().isNull());
    plot.Plot(TimePlotKind::LastInGeneration); // a line after the end has no picture to go to
    EXPECT_TRUE(plot.Individuals().isNull());
    EXPECT_FALSE(std::filesystem::exists(dir.File("FTPlot1.bmp")));
}

TEST_F(FreqTimePlotTest, OutcomeValueIsTheMeanWinOverVariablePairs)
{
    SetVariable(1, 2);
    SetVariable(1, 3);
    options.FTPOTCSpecies = 1;
    options.FTPOTCFilename = dir.File("FTPOTC.bmp");
    Fill({});
    Place(1, 1, 1, 0.5f, {{2, {30, 70, 0}}, {3, {31, 0, 69}}}); // 30.5: class 4
    Place(2, 1, 1, 0.5f, {{2, {100, 0, 0}}, {3, {99, 1, 0}}});  // 99.5: class 10
    Place(3, 1, 2, 0.5f, {{1, {80, 20, 0}}});                    // another species
    FreqTimeOutcomePlot plot(params, options, landscape, genotypes, colors);
    EXPECT_FLOAT_EQ(plot.MeanWin(1, 1), 30.5f);
    plot.Plot(TimePlotKind::Start);
    EXPECT_EQ(Classes(plot.Individuals(), 0), Grey({{4, 50}, {10, 50}}));
    EXPECT_TRUE(plot.ValuePresent()[30] && plot.ValuePresent()[99]);

    // Species 2 has a variable pair with 1; species 3 with nobody: value 0, class 1.
    options.FTPOTCSpecies = 3;
    Place(4, 1, 3, 0.5f);
    plot.Plot(TimePlotKind::Start);
    EXPECT_EQ(Classes(plot.Individuals(), 0), Grey({{1, 100}}));
    EXPECT_EQ(Classes(plot.Values(), 0), Grey({{1, 100}}));
}

// A plot that reads its counts from a tally of the landscape draws what its own pass over the
// cells draws: for the plot's species or the empty cells, with rates the tally holds exactly
// or not, and the outcome plot, whose values the tally does not hold, ignores it.
TEST_F(FreqTimePlotTest, PlotFromATallyIsThePlotOfItsCells)
{
    Resize(33, 20, 3, 8);
    SetVariable(1, 2);
    options.FTPOTCSpecies = 1;
    std::mt19937 random(11);
    auto uniform = [&] { return std::uniform_real_distribution<double>(0.0, 1.0)(random); };
    // Rates from whole percentages, drawn from a range, and (tiny) a few below 2^-10.
    auto fill = [&](int generation, bool tiny) {
        for (int y = 1; y <= 20; ++y)
            for (int x = 1; x <= 33; ++x) {
                const int s = static_cast<int>(uniform() * 3);
                float rate = generation % 2 == 0 ? static_cast<float>(static_cast<int>(uniform() * 101) / 100.0)
                                                 : static_cast<float>(uniform() * 0.6 + 0.3);
                if (tiny && uniform() < 0.05)
                    rate = static_cast<float>(uniform() * 1e-5);
                const int win = static_cast<int>(uniform() * 101);
                Place(x, y, s, s == 0 ? 0.0f : rate, {{3 - s, {static_cast<int8_t>(win), static_cast<int8_t>(100 - win), 0}}});
            }
    };
    for (const int species : {1, 0})
        for (const bool tiny : {false, true}) {
            SCOPED_TRACE(std::to_string(species) + (tiny ? " tiny" : ""));
            options.FTPSpecies = static_cast<int8_t>(species);
            FreqTimePlot byCell(params, options, landscape, colors);
            FreqTimePlot byTally(params, options, landscape, colors);
            FreqTimeOutcomePlot outcome(params, options, landscape, genotypes, colors);
            FreqTimeOutcomePlot outcomeTallied(params, options, landscape, genotypes, colors);
            LandscapeTally tally;
            for (int g = 0; g <= 8; ++g) {
                fill(g, tiny);
                tally.Take(landscape, 33, 20);
                const TimePlotKind kind = g == 0 ? TimePlotKind::Start : TimePlotKind::Generation;
                byCell.Plot(kind);
                byTally.Plot(kind, &tally);
                outcome.Plot(kind);
                outcomeTallied.Plot(kind, &tally);
                EXPECT_EQ(byTally.IndividualCount(), byCell.IndividualCount()) << g;
                EXPECT_EQ(byTally.IndividualTotal(), byCell.IndividualTotal()) << g;
                EXPECT_EQ(byTally.ValuePresent(), byCell.ValuePresent()) << g;
                EXPECT_EQ(outcomeTallied.ValuePresent(), outcome.ValuePresent()) << g;
                EXPECT_EQ(outcomeTallied.IndividualCount(), outcome.IndividualCount()) << g;
            }
            EXPECT_GT(byCell.IndividualTotal(), 100);
            EXPECT_EQ(byTally.Individuals(), byCell.Individuals());
            EXPECT_EQ(byTally.Values(), byCell.Values());
            EXPECT_EQ(outcomeTallied.Individuals(), outcome.Individuals());
        }
}

} // namespace
} // namespace quorrel
