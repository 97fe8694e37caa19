#include "output/LandscapeOutput.h"

#include "output/LandscapeBitmap.h"
#include "output/LargePagePicture.h"

#include "engine/LandscapeText.h"

#include "ScriptedDialogs.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <cstring>
#include <set>

namespace quorrel {
namespace {

using test::ReadAll;

struct CountingSink : LandscapeSink {
    int shown = 0;
    QSize size;
    QImage last;
    int accepting = 1; // every how many-th picture offered is wanted
    mutable int offered = 0;
    void ShowLandscape(const QImage& picture) override
    {
        ++shown;
        size = picture.size();
        last = picture.copy();
    }
    bool WantsPicture() const override { return ++offered % accepting == 0; }
};

class LandscapeOutputTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        params.GParamRec.Maxspec = 3;
        params.GParamRec.MaxX = 4;
        params.GParamRec.MaxY = 3;
        params.GParamRec.PIX = 2;
        params.GParamRec.Maxgen = 100;
        options = SetDefaultOptions(dir.Path());
        options.CAFilename = dir.File("land.txt");
        for (int y = 1; y <= 3; ++y)
            for (int x = 1; x <= 4; ++x)
                landscape(x, y) = Cell{(x + y) % 4, 0.5f};
    }

    // The generations 0..Maxgen of a run; returns the generations at which the landscape was shown.
    std::vector<int> Run(int displayCycle)
    {
        LandscapeOutput output(params, options, landscape, colors, dialogs, &sink);
        std::vector<int> shown;
        for (int g = 0; g <= params.GParamRec.Maxgen; ++g) {
            const int before = sink.shown;
            output.OutputLandscape(g, displayCycle);
            if (sink.shown > before)
                shown.push_back(g);
        }
        return shown;
    }

    std::set<std::string> Files() const
    {
        std::set<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(dir.Path()))
            names.insert(entry.path().filename().string());
        return names;
    }

    test::TempFolder dir;
    test::ScriptedDialogs dialogs;
    ParameterSet params;
    OptionStruct options;
    LandscapeGrid landscape;
    ColorMap colors;
    CountingSink sink;
};

TEST_F(LandscapeOutputTest, ShownAtTheStartTheEndAndEveryDisplayCycle)
{
    params.GParamRec.Maxgen = 10;
    options.ShowCALandscape = false;
    EXPECT_EQ(Run(1), (std::vector<int>{0, 10}));
    options.ShowCALandscape = true;
    EXPECT_EQ(Run(3), (std::vector<int>{0, 3, 6, 9, 10}));
    EXPECT_EQ(sink.size, QSize(8, 6));
    EXPECT_TRUE(Files().empty());
}

TEST_F(LandscapeOutputTest, DeclinedPicturesAreShownWhenAskedForAndTheFirstAndLastAlways)
{
    params.GParamRec.Maxgen = 10;
    options.ShowCALandscape = true;
    sink.accepting = 4;
    EXPECT_EQ(Run(1), (std::vector<int>{0, 4, 8, 10}));

    LandscapeOutput output(params, options, landscape, colors, dialogs, &sink);
    output.OutputLandscape(0, 1);
    sink.offered = 0;
    output.OutputLandscape(1, 1);
    landscape(2, 2) = Cell{3, 0.5f};
    const int before = sink.shown;
    output.ShowPending();
    EXPECT_EQ(sink.shown, before + 1);
    // The landscape as it is now, not as it was at the declined generation.
    QImage now;
    DrawLandscapeBitmap(params.GParamRec, landscape, colors, now);
    EXPECT_EQ(sink.last, now);
    output.ShowPending();
    EXPECT_EQ(sink.shown, before + 1);
}

TEST_F(LandscapeOutputTest, IntervalFilesCarryTheZeroPaddedGeneration)
{
    options.WriteIntScape = true;
    options.WriteIntEvery = 25;
    options.WriteIntTypes = 3;
    options.WriteConsolid = false;
    options.CAFilename = dir.File("land.bmp");
    Run(1);
    EXPECT_EQ(Files(), (std::set<std::string>{"land025.txt", "land025.bmp", "land050.txt", "land050.bmp",
                                              "land075.txt", "land075.bmp", "land100.txt", "land100.bmp"}));
    EXPECT_EQ(ReadAll(dir.File("land050.txt")), "species\t3\t4\t3\r\n2\t3\t0\t1\r\n3\t0\t1\t2\r\n0\t1\t2\t3\r\n");
    EXPECT_EQ(QImage(QString::fromStdString(dir.File("land075.bmp"))).size(), QSize(8, 6));

    params.GParamRec.Maxgen = 1000;
    options.WriteIntTypes = 1;
    LandscapeOutput(params, options, landscape, colors, dialogs).OutputLandscape(50, 1);
    EXPECT_TRUE(std::filesystem::exists(dir.File("land0050.txt")));

    // The final landscape alone keeps the plain name.
    std::filesystem::remove_all(dir.Path());
    std::filesystem::create_directories(dir.Path());
    options.WriteIntScape = false;
    options.WriteLandscape = true;
    options.WriteLandTypes = 2;
    params.GParamRec.Maxgen = 4;
    Run(1);
    EXPECT_EQ(Files(), (std::set<std::string>{"land.bmp"}));
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(LandscapeOutputTest, ConsolidatedFileFromGenerationZeroReadsBack)
{
    params.GParamRec.Maxgen = 10;
    options.WriteIntScape = true;
    options.WriteIntFrom = 0;
    options.WriteIntEvery = 5;
    Run(1);
    const std::string rows = "2\t3\t0\t1\r\n3\t0\t1\t2\r\n0\t1\t2\t3\r\n\r\n";
    EXPECT_EQ(ReadAll(dir.File("land.txt")), "species\t3\t4\t3\t0\r\n" + rows + "species\t3\t4\t3\t5\r\n" + rows +
                                                 "species\t3\t4\t3\t10\r\n" + rows);
    EXPECT_EQ(Files(), (std::set<std::string>{"land.txt"}));

    LandscapeGrid read;
    Rng rng;
    ASSERT_TRUE(ReadTXTLandscape(dir.File("land.txt"), params, params.GRateFractions, read, rng, dialogs)) << dialogs.LastText();
    for (int y = 1; y <= 3; ++y)
        for (int x = 1; x <= 4; ++x)
            EXPECT_EQ(read(x, y).Species, landscape(x, y).Species);
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(LandscapeOutputTest, UnwritableFilesAreReportedAndTheRunGoesOn)
{
    params.GParamRec.Maxgen = 10;
    options.WriteIntScape = true;
    options.WriteIntEvery = 5;
    options.WriteIntTypes = 3;
    options.CAFilename = dir.File("missing/land.bmp");
    Run(1);
    std::vector<std::string> texts;
    for (const auto& m : dialogs.messages) {
        EXPECT_EQ(m.kind, MessageKind::Error);
        texts.push_back(m.text);
    }
    ASSERT_EQ(texts.size(), 5u); // the consolidated file, then text and bitmap at 5 and 10
    EXPECT_EQ(texts[0], "Unable to write the landscape file:\r  " + dir.File("missing/land.txt") +
                            "\rNo such file or directory");
    EXPECT_EQ(texts[2], "Unable to write the landscape file:\r  " + dir.File("missing/land05.bmp") +
                            "\rNo such file or directory");
}

// The file does not depend on the resolution the picture carries (a program with a screen
// gives pictures the screen's): the desktop program and the batch runner write the same bytes.
TEST(SaveBitmapTest, WritesTheSameResolutionWhateverThePictureCarries)
{
    test::TempFolder dir;
    QImage picture(3, 2, QImage::Format_RGB32);
    picture.fill(Qt::red);
    std::string error;
    ASSERT_TRUE(SaveBitmap(picture, dir.File("a.bmp"), error)) << error;
    picture.setDotsPerMeterX(2835);
    picture.setDotsPerMeterY(5000);
    ASSERT_TRUE(SaveBitmap(picture, dir.File("b.bmp"), error)) << error;
    const std::string a = test::ReadAll(dir.File("a.bmp"));
    EXPECT_EQ(a, test::ReadAll(dir.File("b.bmp")));
    // 3780 dots per metre (96 dpi) across and down, little-endian at offsets 38 and 42.
    ASSERT_GT(a.size(), 46u);
    EXPECT_EQ(a.substr(38, 8), std::string("\xC4\x0E\0\0\xC4\x0E\0\0", 8));
}

// A picture on large pages is laid out as an ordinary one of its size and format, and
// writes, copies, detaches and saves as one: the bitmap files are the same bytes.
TEST(LargePagePictureTest, BehavesAsAnOrdinaryPictureOfItsSize)
{
    test::TempFolder dir;
    const struct {
        QSize size;
        QImage::Format format;
    } cases[] = {{{700, 700}, QImage::Format_RGB32},
                 {{2019, 2019}, QImage::Format_Indexed8},
                 {{10, 10}, QImage::Format_RGB32}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.size.width() << " x " << c.size.height());
        QImage large = LargePagePicture(c.size, c.format);
        QImage plain(c.size, c.format);
        ASSERT_FALSE(large.isNull());
        EXPECT_EQ(large.size(), plain.size());
        EXPECT_EQ(large.format(), plain.format());
        EXPECT_EQ(large.bytesPerLine(), plain.bytesPerLine());
        EXPECT_TRUE(large.isDetached());
        if (c.format == QImage::Format_Indexed8) {
            const QList<QRgb> table = {qRgb(0, 0, 0), qRgb(255, 0, 0), qRgb(0, 0, 255)};
            large.setColorTable(table);
            plain.setColorTable(table);
        }
        for (QImage* picture : {&large, &plain}) {
            std::memset(picture->bits(), 0, static_cast<std::size_t>(picture->sizeInBytes()));
            for (int y = 0; y < picture->height(); y += 7)
                for (int x = y % 5; x < picture->width(); x += 11)
                    picture->setPixel(x, y, c.format == QImage::Format_Indexed8 ? uint((x + y) % 3) : qRgb(x % 256, y % 256, 9));
        }
        EXPECT_EQ(large, plain);
        // A copy shares the pixels until one of them is drawn on.
        const QImage shared = large;
        large.setPixel(1, 1, c.format == QImage::Format_Indexed8 ? 2u : qRgb(1, 2, 3));
        EXPECT_NE(large, shared);
        EXPECT_EQ(shared, plain);
        std::string error;
        ASSERT_TRUE(SaveBitmap(shared, dir.File("large.bmp"), error)) << error;
        ASSERT_TRUE(SaveBitmap(plain, dir.File("plain.bmp"), error)) << error;
        EXPECT_EQ(test::ReadAll(dir.File("large.bmp")), test::ReadAll(dir.File("plain.bmp")));
    }
}

} // namespace
} // namespace quorrel
