#include "output/ColorMap.h"
#include "output/LandscapeBitmap.h"

#include "engine/WideKernel.h"

#include "TempFolder.h"

#include <random>
#include <vector>

#include <gtest/gtest.h>

#include <QImage>

namespace quorrel {
namespace {

TEST(ColorMapTest, SpeciesColoursAndGreyRamp)
{
    const ColorMap colors;
    const struct {
        int index;
        int r, g, b;
    } points[] = {
        {0, 255, 255, 255}, {1, 0, 255, 255},   {8, 160, 160, 164}, {16, 255, 251, 240}, {19, 0, 0, 0},
        {29, 76, 0, 104},   {40, 0, 0, 158},    {41, 255, 255, 255}, {42, 214, 214, 214}, {43, 212, 212, 212},
        {44, 210, 210, 210}, {45, 207, 207, 207}, {82, 128, 128, 128}, {141, 0, 0, 0},
    };
    for (const auto& p : points)
        EXPECT_EQ(colors[p.index], qRgb(p.r, p.g, p.b)) << "index " << p.index;

    for (int i = 43; i <= 141; ++i) {
        const int fall = qRed(colors[i - 1]) - qRed(colors[i]);
        EXPECT_TRUE(fall == 2 || fall == 3) << "index " << i;
    }
}

TEST(LandscapeBitmapTest, EachCellIsAPixSquareInItsColourInTheSavedFile)
{
    const int species[3][4] = {{0, 1, 8, 16}, {40, 0, 3, 3}, {19, 29, 0, 2}};
    LandscapeGrid grid;
    for (int y = 1; y <= 3; ++y)
        for (int x = 1; x <= 4; ++x)
            grid(x, y).Species = species[y - 1][x - 1];
    grid(5, 1).Species = 7; // outside the interior: not drawn

    const ColorMap colors;
    test::TempFolder dir;
    std::string error;
    QImage read;
    for (const int pix : {1, 3}) {
        GParamStruct p;
        p.MaxX = 4;
        p.MaxY = 3;
        p.PIX = pix;
        ASSERT_TRUE(SaveBitmap(DrawLandscapeBitmap(p, grid, colors), dir.File("land.bmp"), error)) << error;

        read = QImage(QString::fromStdString(dir.File("land.bmp")), "BMP");
        ASSERT_EQ(read.width(), 4 * pix);
        ASSERT_EQ(read.height(), 3 * pix);
        // The header records a fixed resolution, whichever program writes the file.
        EXPECT_EQ(read.dotsPerMeterX(), BitmapDotsPerMeter);
        EXPECT_EQ(read.dotsPerMeterY(), BitmapDotsPerMeter);
        for (int py = 0; py < 3 * pix; ++py)
            for (int px = 0; px < 4 * pix; ++px)
                ASSERT_EQ(read.pixel(px, py) & 0xFFFFFF, colors[species[py / pix][px / pix]] & 0xFFFFFF)
                    << "PIX " << pix << ", pixel " << px << ", " << py;
    }

    EXPECT_FALSE(SaveBitmap(read, dir.File("missing/land.bmp"), error));
    EXPECT_EQ(error, "No such file or directory");
}

// The vector row kernels and the plain one give the same pixels and the same highest species,
// for every row length (the vector part and the remainder), species that the 512-bit kernel
// holds in registers (below 64) and others, and species beyond the table.
TEST(LandscapeBitmapTest, VectorAndPlainRowsAgree)
{
    std::vector<RowKernel> kernels;
    if (WideKernelAvailable())
        kernels.push_back(RowKernel::Wide);
    if (Kernel512Available())
        kernels.push_back(RowKernel::Wide512);
    if (kernels.empty())
        GTEST_SKIP() << "no vector kernel on this processor";
    const ColorMap colors;
    std::mt19937 random(7);
    for (const RowKernel kernel : kernels)
        for (int maxX = 1; maxX <= 700; maxX += (maxX < 40 ? 1 : 37))
            for (const int species : {41, 64, ColorMap::Size})
                for (const int beyond : {0, 1}) {
                    SCOPED_TRACE(testing::Message() << "kernel " << static_cast<int>(kernel) << ", row of " << maxX
                                                    << ", species below " << species);
                    std::vector<Cell> row(maxX + 2);
                    for (Cell& c : row)
                        c = {static_cast<int32_t>(random() % species), 0.5f};
                    if (beyond)
                        row[1 + random() % maxX].Species = 200;
                    std::vector<QRgb> vector(maxX), plain(maxX);
                    const uint32_t v = ColourRow(row.data(), maxX, vector.data(), colors.Table(), kernel);
                    const uint32_t p = ColourRow(row.data(), maxX, plain.data(), colors.Table(), RowKernel::Portable);
                    ASSERT_EQ(v, p);
                    ASSERT_EQ(vector, plain);
                    ASSERT_EQ(v >= ColorMap::Size, beyond == 1);
                }
}

// A picture drawn into again keeps its pixels' storage unless another picture shares it.
TEST(LandscapeBitmapTest, RedrawsIntoAnUnsharedPicture)
{
    LandscapeGrid grid;
    GParamStruct p;
    p.MaxX = 5;
    p.MaxY = 4;
    p.PIX = 1;
    const ColorMap colors;
    QImage picture;
    DrawLandscapeBitmap(p, grid, colors, picture);
    const uchar* storage = picture.constBits();
    grid(2, 3).Species = 4;
    DrawLandscapeBitmap(p, grid, colors, picture);
    EXPECT_EQ(picture.constBits(), storage);
    EXPECT_EQ(picture.pixel(1, 2), colors[4]);

    const QImage shown = picture;
    grid(2, 3).Species = 5;
    DrawLandscapeBitmap(p, grid, colors, picture);
    EXPECT_EQ(shown.pixel(1, 2), colors[4]);
    EXPECT_EQ(picture.pixel(1, 2), colors[5]);
}

} // namespace
} // namespace quorrel
