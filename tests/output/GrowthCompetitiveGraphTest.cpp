#include "output/GrowthCompetitiveGraph.h"

#include "output/OutputFileError.h"

#include "VariableFixture.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace quorrel {
namespace {

using test::ReadAll;

struct RecordingSink : GrowthCompetitiveSink {
    std::vector<std::string> calls;
    void ShowGraph(const QImage& picture) override
    {
        calls.push_back("show " + std::to_string(picture.width()) + "x" + std::to_string(picture.height()));
    }
    void RefreshGraph(const QImage&) override { calls.push_back("refresh"); }
};

class GrowthCompetitiveGraphTest : public test::VariableFixture {
protected:
    void SetUp() override
    {
        VariableFixture::SetUp();
        options.GCSpecies = 1;
        options.GCSpeciesA = 0;
        options.GCFilename = dir.File("GCData.dat");
    }

    // n individuals of species 1 from cell `first` on (row by row) at growth rate `rate`,
    // each with Win `win` against opponent 2.
    void Crowd(int first, int n, float rate, int8_t win)
    {
        const int maxX = params.GParamRec.MaxX;
        for (int k = first; k < first + n; ++k)
            Place(k % maxX + 1, k / maxX + 1, 1, rate, {{2, {win, 0, static_cast<int8_t>(100 - win)}}});
    }

    // Which pixels of the 2 x 2 block of point (g, c) carry the colour: upper-left,
    // upper-right, lower-left, lower-right.
    std::string Block(const QImage& picture, int g, int c, int top = 0, int left = 0) const
    {
        const int x = left + 2 * g;
        const int y = top + 200 - 2 * c;
        std::string filled;
        for (const auto& [dx, dy] : {std::pair{0, 0}, std::pair{1, 0}, std::pair{0, 1}, std::pair{1, 1}})
            filled += picture.pixel(x + dx, y + dy) == colors[1] ? '#' : '.';
        return filled;
    }
};

TEST_F(GrowthCompetitiveGraphTest, DensityStep)
{
    EXPECT_EQ(GrowthCompetitiveGraph::DensityStep(200, 200, 4), 25);
    EXPECT_EQ(GrowthCompetitiveGraph::DensityStep(20, 20, 10), 0);
    EXPECT_EQ(GrowthCompetitiveGraph::DensityStep(700, 700, 2), 612); // 612.5, half to even
    EXPECT_EQ(GrowthCompetitiveGraph::DensityStep(500, 700, 2), 438); // 437.5
}

TEST_F(GrowthCompetitiveGraphTest, PointsFillUpWithTheirCount)
{
    // T = 25: 60 individuals fill three pixels of their point, 26 two, 1 one.
    Resize(200, 200, 4, 100);
    SetVariable(1, 2);
    Crowd(0, 60, 0.5f, 30);
    Crowd(60, 26, 0.2f, 70);
    Crowd(86, 1, 0.8f, 50);
    RecordingSink sink;
    GrowthCompetitiveGraph graph(params, options, landscape, genotypes, colors, &sink);
    graph.GCGraph(0, GCKind::Single);
    EXPECT_EQ(graph.DensityStep(), 25);
    const QImage& picture = graph.Picture();
    ASSERT_EQ(picture.size(), QSize(202, 412));
    EXPECT_EQ(Block(picture, 50, 30), ".###");
    EXPECT_EQ(Block(picture, 20, 70), ".##.");
    EXPECT_EQ(Block(picture, 80, 50), "..#.");
    EXPECT_EQ(Row(picture, 205, 0, 202), std::vector<QRgb>(202, qRgb(192, 192, 192)));

    // Later generations go to the lower panel, which is cleared first.
    Crowd(0, 60, 0.5f, 40);
    graph.GCGraph(7, GCKind::Single);
    EXPECT_EQ(Block(picture, 50, 30), ".###");
    EXPECT_EQ(Block(picture, 50, 40, 210), ".###");
    Crowd(0, 60, 0.5f, 60);
    graph.GCGraph(8, GCKind::Single);
    EXPECT_EQ(Block(picture, 50, 40, 210), "....");
    EXPECT_EQ(Block(picture, 50, 60, 210), ".###");
    EXPECT_EQ(sink.calls, (std::vector<std::string>{"show 202x412", "refresh", "refresh"}));

    graph.GCGraph(-1, GCKind::Single);
    EXPECT_TRUE(graph.Picture().isNull());
}

TEST_F(GrowthCompetitiveGraphTest, WithoutDensityStepEveryPointIsAFullBlockFromEdgeToEdge)
{
    Resize(20, 20, 10, 100);
    SetVariable(1, 2);
    Crowd(0, 1, 0.0f, 100);
    Crowd(1, 1, 1.0f, 0);
    GrowthCompetitiveGraph graph(params, options, landscape, genotypes, colors);
    graph.GCGraph(0, GCKind::Single);
    EXPECT_EQ(graph.DensityStep(), 0);
    EXPECT_EQ(Block(graph.Picture(), 0, 100), "####"); // columns 0, 1 and rows 0, 1
    EXPECT_EQ(Block(graph.Picture(), 100, 0), "####"); // columns 200, 201 and rows 200, 201
}

TEST_F(GrowthCompetitiveGraphTest, DataFileListsNonZeroCountsInOrder)
{
    SetVariable(1, 2);
    SetVariable(1, 3);
    options.WriteGCGraph = true;
    // Mean wins 30.5 and 45.5 round to 30 and 46.
    Place(1, 1, 1, 0.5f, {{2, {30, 70, 0}}, {3, {31, 69, 0}}});
    Place(2, 1, 1, 0.5f, {{2, {30, 70, 0}}, {3, {31, 69, 0}}});
    Place(3, 1, 1, 0.25f, {{2, {45, 55, 0}}, {3, {46, 54, 0}}});
    Place(4, 1, 1, 0.5f, {{2, {100, 0, 0}}, {3, {100, 0, 0}}});
    Place(5, 1, 2, 0.9f, {{1, {50, 50, 0}}});
    GrowthCompetitiveGraph graph(params, options, landscape, genotypes, colors);
    graph.GCGraph(0, GCKind::Single);
    Place(4, 1, 0, 0.0f);
    graph.GCGraph(3, GCKind::Single);
    graph.GCGraph(-1, GCKind::Single);

    EXPECT_EQ(ReadAll(options.GCFilename), Listing(options.GCFilename) +
                                               " \r\n===>\r\n \r\n"
                                               "    Growth Rate -- Competitive \r\n"
                                               "For species:    1\r\n"
                                               " \r\n"
                                               "G-Rates  Competitive(win)  Number of Cells\r\n"
                                               "-------  ----------------  ---------------\r\n"
                                               "Gen =      0\r\n"
                                               "   25            46                    1\r\n"
                                               "   50            30                    2\r\n"
                                               "   50           100                    1\r\n"
                                               "Gen =      3\r\n"
                                               "   25            46                    1\r\n"
                                               "   50            30                    2\r\n");
}

TEST_F(GrowthCompetitiveGraphTest, GraphAHasAPanelPerVariableOpponentAndAddsUpOverAnArray)
{
    Resize(200, 200, 4, 100); // T = 25
    SetVariable(1, 2);
    SetVariable(1, 4);
    RecordingSink sink;
    RecordingSink sinkA;
    GrowthCompetitiveGraph graph(params, options, landscape, genotypes, colors, &sink, &sinkA);
    auto both = [&](int g, GCKind kind) {
        graph.GCGraph(g, kind);
        graph.GCGraphA(g, kind);
    };
    auto crowd = [&](int n) {
        Clear();
        for (int k = 0; k < n; ++k)
            Place(k % 200 + 1, k / 200 + 1, 1, 0.5f, {{2, {10, 90, 0}}, {4, {90, 10, 0}}});
    };
    crowd(1);
    both(0, GCKind::First);
    both(0, GCKind::Last);
    EXPECT_EQ(graph.OpponentsA(), (std::vector<int>{2, 4}));
    const QImage& picture = graph.PictureA();
    ASSERT_EQ(picture.size(), QSize(409, 412));
    EXPECT_EQ(Row(picture, 0, 202, 5), std::vector<QRgb>(5, qRgb(192, 192, 192)));
    EXPECT_EQ(Row(picture, 411, 202, 5), std::vector<QRgb>(5, qRgb(192, 192, 192)));
    EXPECT_EQ(Row(picture, 201, 0, 10), std::vector<QRgb>(10, colors[2] | 0xff000000u));
    EXPECT_EQ(Row(picture, 192, 207, 10), std::vector<QRgb>(10, colors[4] | 0xff000000u));
    EXPECT_EQ(Block(picture, 50, 10), "..#."); // two individuals, one from each landscape
    EXPECT_EQ(Block(picture, 50, 90, 0, 207), "..#.");

    // 30 individuals in each of two landscapes count 60 at their points.
    crowd(30);
    both(5, GCKind::First);
    EXPECT_EQ(Block(picture, 50, 10, 210), ".##.");
    EXPECT_EQ(Block(graph.Picture(), 50, 50, 210), "...."); // the first graph draws at the last landscape
    both(5, GCKind::Last);
    EXPECT_EQ(Block(graph.Picture(), 50, 50, 210), ".###"); // mean win (10 + 90) / 2
    EXPECT_EQ(Block(picture, 50, 10, 210), ".###");
    EXPECT_EQ(Block(picture, 50, 90, 210, 207), ".###");
    EXPECT_EQ(sinkA.calls, (std::vector<std::string>{"show 409x412", "refresh"}));
    EXPECT_EQ(sink.calls, (std::vector<std::string>{"show 202x412", "refresh"}));
}

TEST_F(GrowthCompetitiveGraphTest, SpeciesWithoutVariableOpponent)
{
    Place(1, 1, 1, 0.5f);
    options.GCSpeciesA = 0;
    GrowthCompetitiveGraph graph(params, options, landscape, genotypes, colors);
    graph.GCGraph(0, GCKind::Single);
    graph.GCGraphA(0, GCKind::Single);
    EXPECT_EQ(Block(graph.Picture(), 50, 0), "####"); // c = 0; T = 0 on 10 x 10 with 3 species
    EXPECT_TRUE(graph.OpponentsA().empty());
    EXPECT_EQ(graph.PictureA().size(), QSize(202, 412));
    EXPECT_EQ(Row(graph.PictureA(), 201, 0, 202), std::vector<QRgb>(202, qRgb(255, 255, 255)));
}

TEST_F(GrowthCompetitiveGraphTest, GraphAAgainstOneSpecies)
{
    SetVariable(1, 3);
    options.GCSpeciesA = 3;
    Place(1, 1, 1, 1.0f, {{3, {-1, 0, 0}}}); // unset counts as 0
    GrowthCompetitiveGraph graph(params, options, landscape, genotypes, colors);
    graph.GCGraph(0, GCKind::Single);
    graph.GCGraphA(0, GCKind::Single);
    EXPECT_EQ(graph.PictureA().size(), QSize(202, 412));
    EXPECT_EQ(Row(graph.PictureA(), 192, 0, 10), std::vector<QRgb>(10, colors[3] | 0xff000000u));
    EXPECT_EQ(Block(graph.PictureA(), 100, 0), "####");
}

TEST_F(GrowthCompetitiveGraphTest, DataFileThatCannotBeCreatedEndsTheRun)
{
    options.WriteGCGraph = true;
    options.GCFilename = dir.File("missing/GCData.dat");
    GrowthCompetitiveGraph graph(params, options, landscape, genotypes, colors);
    EXPECT_THROW(graph.GCGraph(0, GCKind::Single), OutputFileError);
}

} // namespace
} // namespace quorrel
