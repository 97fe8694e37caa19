#include "ScriptedDialogs.h"
#include "TempFolder.h"

#include "output/LandscapeArrayImage.h"
#include "output/LandscapeStatisticsFiles.h"
#include "output/OutputOptions.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

namespace quorrel::test {
namespace {

ParameterSet Parameters(int maxX, int maxY, int maxgen)
{
    ParameterSet p;
    p.ResetToStartupTables();
    p.SetInbuiltDefaults();
    p.GParamRec.MaxX = maxX;
    p.GParamRec.MaxY = maxY;
    p.GParamRec.Maxgen = maxgen;
    p.MirrorOutcomeMatrix();
    p.UpdateGRateFractions();
    return p;
}

struct Pictures : LandscapeArraySink {
    int shown = 0;
    QImage last;
    void ShowLandscapeArray(const QImage& picture) override
    {
        ++shown;
        last = picture;
    }
};

TEST(LandscapeArrayImage, EachLandscapeInItsBlockWithGapsBetween)
{
    const ParameterSet p = Parameters(10, 12, 3);
    LandscapeGrid grid;
    ColorMap colors;
    Pictures window;
    LandscapeArrayImage image(p, grid, colors, &window);
    EXPECT_EQ(LandscapeArrayImage::PictureSize(10, 12, 3, 2), QSize(40, 29));
    EXPECT_EQ(LandscapeArrayImage::ClientSize(QSize(705, 300)), QSize(700, 300));

    for (int r = 1; r <= 2; ++r)
        for (int c = 1; c <= 3; ++c) {
            for (int y = 1; y <= 12; ++y)
                for (int x = 1; x <= 10; ++x)
                    grid(x, y) = Cell{x == 1 && y == 1 ? (r - 1) * 3 + c : 0, 0.0f};
            image.ShowLandscapeArray(0, r, c, 3, 2);
        }
    EXPECT_EQ(window.shown, 6);
    const QImage& picture = image.Picture();
    ASSERT_EQ(picture.size(), QSize(40, 29));
    EXPECT_EQ(picture.pixel(0, 0), colors[1]);
    EXPECT_EQ(picture.pixel(15, 0), colors[2]);
    EXPECT_EQ(picture.pixel(30, 17), colors[6]);
    EXPECT_EQ(picture.pixel(31, 17), colors[0]);
    EXPECT_EQ(picture.pixel(10, 5), LandscapeArrayImage::GapColor());
    EXPECT_EQ(picture.pixel(29, 16), LandscapeArrayImage::GapColor());

    // After the last generation the whole array is written as one bitmap when the options
    // ask for the final landscape as a bitmap, then the picture is released; the window
    // keeps its copy.
    for (int r = 1; r <= 2; ++r)
        for (int c = 1; c <= 3; ++c)
            image.ShowLandscapeArray(3, r, c, 3, 2);
    TempFolder dir;
    OptionStruct o = SetDefaultOptions(dir.Path());
    o.CAFilename = dir.File("land.txt");
    ScriptedDialogs dialogs;
    for (int types : {1, 2}) {
        o.WriteLandTypes = types;
        for (bool write : {false, true}) {
            o.WriteLandscape = write;
            image.WriteFinalBitmap(o, dialogs);
            EXPECT_EQ(std::filesystem::exists(dir.File("land.bmp")), write && types == 2) << types << write;
        }
    }
    const QImage written(QString::fromStdString(dir.File("land.bmp")));
    ASSERT_EQ(written.size(), QSize(40, 29));
    EXPECT_EQ(written.pixel(30, 17), colors[6]);
    EXPECT_TRUE(dialogs.messages.empty());
    o.CAFilename = dir.File("missing/land.txt");
    image.WriteFinalBitmap(o, dialogs);
    EXPECT_NE(dialogs.LastText().find("Unable to write the landscape file:\r  " + dir.File("missing/land.bmp")),
              std::string::npos)
        << dialogs.LastText();
    image.Release();
    EXPECT_TRUE(image.Picture().isNull());
    EXPECT_EQ(window.last.pixel(30, 17), colors[6]);
}

TEST(LandscapeStatisticsFiles, OneLinePerLandscapeUnderTheirHeadings)
{
    TempFolder dir;
    ParameterSet p = Parameters(10, 10, 5);
    OptionStruct o = SetDefaultOptions(dir.Path());
    o.WriteCoverage = true;
    o.WriteGRate = true;
    LandscapeGrid grid;
    for (int x = 1; x <= 10; ++x)
        for (int y = 1; y <= 10; ++y)
            grid(x, y) = y <= 3 ? Cell{2, x <= 5 ? 0.505f : 0.75f} : EmptyCell;
    ColorMap colors;
    LandscapeStatisticsFiles files(p, o, grid, colors);
    files.WriteLandscapeLines(0, 1, 1);
    files.WriteLandscapeLines(0, 1, 2);
    grid(1, 1) = Cell{1, 0.1f};
    files.WriteLandscapeLines(1, 1, 1);
    files.WriteHeldLines();
    // A generation whose lines are not written leaves nothing.
    files.WriteLandscapeLines(2, 1, 1);
    files.CloseCoverageFile();
    files.CloseGRateFiles();

    EXPECT_EQ(LandscapeStatisticsFiles::CoverageFileName(o), dir.File("Cover1.dat"));
    EXPECT_EQ(LandscapeStatisticsFiles::GRateFileName(o, 2), dir.File("GRate12.dat"));
    const std::string cover = ReadAll(dir.File("Cover1.dat"));
    EXPECT_TRUE(cover.starts_with(dir.File("Cover1.dat") + "\r\n"));
    EXPECT_TRUE(cover.ends_with(" \r\n===>\r\n \r\n          Coverage of Species (%)\r\n"
                                "           (for each landscape)  \r\n"
                                "Gen No.  Row Col     1     2     3   sp left\r\n"
                                "-------  --- --- ----- ----- -----  -------\r\n"
                                "     0     1   1   0.0  30.0   0.0      1\r\n"
                                "     0     1   2   0.0  30.0   0.0      1\r\n"
                                "     1     1   1   1.0  29.0   0.0      2\r\n"));
    const std::string normal = ReadAll(dir.File("GRate11.dat"));
    EXPECT_TRUE(normal.ends_with("          Average Growth Rate of Species (Normal)\r\n"
                                 "           (for each landscape)  \r\n"
                                 "Gen No.  Row Col     1     2     3 \r\n"
                                 "-------  --- --- ----- ----- ----- \r\n"
                                 "     0     1   1   0.0  62.7   0.0 \r\n"
                                 "     0     1   2   0.0  62.7   0.0 \r\n"
                                 "     1     1   1  10.0  63.2   0.0 \r\n"));
    const std::string genotype = ReadAll(dir.File("GRate12.dat"));
    EXPECT_TRUE(genotype.ends_with("     0     1   2   0.0  62.5   0.0 \r\n"
                                   "     1     1   1  10.0  62.5   0.0 \r\n"));
}

} // namespace
} // namespace quorrel::test
