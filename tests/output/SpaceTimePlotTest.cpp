#include "output/SpaceTimePlot.h"

#include "output/OutputFileError.h"
#include "params/AssertionFailure.h"

#include "VariableFixture.h"

#include <gtest/gtest.h>

#include <vector>

namespace quorrel {
namespace {

struct RecordingSink : SpaceTimeSink {
    std::vector<PlotWindowSize> shown;
    int refreshed = 0;
    int newestRow = -1;
    QImage last;
    void RefreshSpaceTimePlot(const QImage& picture, int row) override
    {
        ++refreshed;
        newestRow = row;
        last = picture.copy();
    }
    void ShowSpaceTimeWindow(const PlotWindowSize& size) override { shown.push_back(size); }
};

class SpaceTimePlotTest : public test::VariableFixture {
protected:
    // Row y holds species (x + k) mod 4 in column x; the rows around it hold species 3.
    void Sample(int k, int y)
    {
        for (int x = 1; x <= params.GParamRec.MaxX; ++x) {
            Place(x, y - 1, 3, 0.5f);
            Place(x, y, (x + k) % 4, 0.5f);
            Place(x, y + 1, 3, 0.5f);
        }
    }
};

TEST_F(SpaceTimePlotTest, MiddleRowPerSampledGenerationClippedAtTheImageHeight)
{
    // Maxgen 100, cycle 10: lines 0..9 are the start and generations 10..90; generation 100
    // and the end line fall below the picture. MaxY 11 samples row 5.
    Resize(10, 11, 3, 100);
    options.STPlotCycle = 10;
    options.WriteSTP = true;
    options.STPlotFilename = dir.File("STPlot.bmp");
    for (const bool show : {true, false}) {
        SCOPED_TRACE(show);
        options.ShowSTPlot = show;
        RecordingSink sink;
        SpaceTimePlot plot(params, options, landscape, colors, &sink);
        Sample(0, 5);
        plot.Plot(TimePlotKind::Start);
        ASSERT_EQ(plot.Picture().size(), QSize(10, 10));
        for (int g = 10; g <= 100; g += 10) {
            Sample(g / 10, 5);
            plot.Plot(TimePlotKind::Generation);
        }
        Sample(11, 5);
        const QImage picture = plot.Picture().copy();
        plot.Plot(TimePlotKind::End);
        EXPECT_EQ(plot.LineCounter(), 12);
        EXPECT_TRUE(plot.Picture().isNull());

        for (int k = 0; k < 10; ++k)
            for (int x = 1; x <= 10; ++x)
                ASSERT_EQ(picture.pixel(x - 1, k), colors[(x + k) % 4]) << k << " " << x;
        const QImage saved(QString::fromStdString(options.STPlotFilename));
        ASSERT_EQ(saved.size(), QSize(10, 10));
        EXPECT_EQ(saved.convertToFormat(QImage::Format_RGB32), picture);
        if (show) {
            EXPECT_EQ(sink.shown, (std::vector<PlotWindowSize>{PlotWindowSize{10, 10, 18, 37}}));
            EXPECT_EQ(sink.refreshed, 12);
            // The eleventh and twelfth lines fall below the 10 rows of the picture.
            EXPECT_EQ(sink.newestRow, 9);
            EXPECT_EQ(sink.last, picture);
        } else {
            EXPECT_TRUE(sink.shown.empty());
            EXPECT_EQ(sink.refreshed, 0);
        }
        std::filesystem::remove(options.STPlotFilename);
    }
}

TEST_F(SpaceTimePlotTest, WindowGetsAScrollBarFrom601Rows)
{
    EXPECT_EQ(SpaceTimePlot::WindowSize(200, 600), (PlotWindowSize{200, 600, 208, 627}));
    EXPECT_EQ(SpaceTimePlot::WindowSize(200, 601), (PlotWindowSize{216, 600, 224, 627}));
}

TEST_F(SpaceTimePlotTest, UnwritableFileFailsAfterThePictureIsReleased)
{
    options.WriteSTP = true;
    options.STPlotFilename = dir.File("missing/STPlot.bmp");
    SpaceTimePlot plot(params, options, landscape, colors);
    plot.Plot(TimePlotKind::Start);
    EXPECT_THROW(plot.Plot(TimePlotKind::End), OutputFileError);
    EXPECT_TRUE(plot.Picture().isNull());
    plot.Plot(TimePlotKind::Generation); // a line after the end has no picture to go to
    EXPECT_TRUE(plot.Picture().isNull());
    EXPECT_THROW(plot.Plot(TimePlotKind::LastInGeneration), AssertionFailure);
}

} // namespace
} // namespace quorrel
