#include "EngineTestSupport.h"
#include "ScriptedDialogs.h"

#include "engine/LandscapeText.h"

#include <gtest/gtest.h>

namespace quorrel {
namespace {

using test::ReadAll;
using test::ScriptedDialogs;
using test::SmallParameters;
using test::TempFolder;
using test::WriteAll;

std::string Zeros(int columns, int rows)
{
    std::string row = "0";
    for (int i = 1; i < columns; ++i)
        row += "\t0";
    std::string text;
    for (int j = 0; j < rows; ++j)
        text += row + "\r\n";
    return text;
}

TEST(LandscapeText, WritesTheExactFormatAndAppendsConsolidatedBlocks)
{
    TempFolder dir;
    ScriptedDialogs dialogs;
    ParameterSet p = SmallParameters(3, 2);
    auto l = std::make_unique<Landscapes>();
    LandscapeGrid& g = l->CurrentLandscape;
    g(1, 1).Species = 1;
    g(3, 1).Species = 2;
    g(1, 2).Species = 3;
    g(2, 2).Species = 33;
    const std::string f = dir.File("land.txt");

    ASSERT_TRUE(WriteTXTLandscape(f, 0, p.GParamRec, g, dialogs));
    EXPECT_EQ(ReadAll(f), "species\t3\t3\t2\r\n1\t0\t2\r\n3\t33\t0\r\n");

    ASSERT_TRUE(WriteTXTLandscape(f, 10, p.GParamRec, g, dialogs));
    ASSERT_TRUE(WriteTXTLandscape(f, 0, p.GParamRec, g, dialogs));
    ASSERT_TRUE(WriteTXTLandscape(f, 7, p.GParamRec, g, dialogs));
    EXPECT_EQ(ReadAll(f), "species\t3\t3\t2\r\n1\t0\t2\r\n3\t33\t0\r\n"
                          "species\t3\t3\t2\t7\r\n1\t0\t2\r\n3\t33\t0\r\n\r\n");
    EXPECT_TRUE(dialogs.messages.empty());

    const std::string bad = dir.File("missing/land.txt");
    EXPECT_FALSE(WriteTXTLandscape(bad, 0, p.GParamRec, g, dialogs));
    EXPECT_EQ(dialogs.LastText(), "Unable to write the landscape file:\r  " + bad + "\rNo such file or directory");
    EXPECT_EQ(dialogs.messages.back().kind, MessageKind::Error);
}

TEST(LandscapeText, RoundTripGivesTheSameSpeciesAndDrawsRatesOfVariableSpecies)
{
    TempFolder dir;
    ScriptedDialogs dialogs;
    ParameterSet p = SmallParameters(13, 11);
    p.GrowthRates[2] = GrowthRate{-1, 20, 60};
    p.GrowthRates[3] = GrowthRate{35, 0, 0};
    p.UpdateGRateFractions();
    auto written = std::make_unique<Landscapes>();
    for (int y = 1; y <= 11; ++y)
        for (int x = 1; x <= 13; ++x)
            written->CurrentLandscape(x, y).Species = (x * 7 + y * 3) % 4;
    const std::string f = dir.File("land.txt");
    ASSERT_TRUE(WriteTXTLandscape(f, 0, p.GParamRec, written->CurrentLandscape, dialogs));

    auto read = std::make_unique<Landscapes>();
    Rng rng{1234};
    Rng expectedRng{1234};
    ASSERT_TRUE(ReadTXTLandscape(f, p, p.GRateFractions, read->CurrentLandscape, rng, dialogs));
    for (int y = 1; y <= 11; ++y)
        for (int x = 1; x <= 13; ++x) {
            const Cell c = read->CurrentLandscape(x, y);
            ASSERT_EQ(c.Species, written->CurrentLandscape(x, y).Species) << x << "," << y;
            const float expected = c.Species == 0   ? 0.0f
                                   : c.Species == 1 ? 1.0f
                                   : c.Species == 3 ? float(35 / 100.0)
                                                    : float(expectedRng.RandomReal() * (double(0.6f) - double(0.2f)) +
                                                            double(0.2f));
            ASSERT_EQ(c.GRate, expected) << x << "," << y;
        }
    EXPECT_EQ(rng.RandSeed, expectedRng.RandSeed);
}

TEST(LandscapeText, AcceptsAnUpperCaseHeaderWithAGenerationAndReadsTheFirstBlock)
{
    TempFolder dir;
    ScriptedDialogs dialogs;
    ParameterSet p = SmallParameters(200, 200);
    auto l = std::make_unique<Landscapes>();
    Rng rng{1};
    const std::string f = dir.File("upper.txt");
    WriteAll(f, "Species\t3\t200\t200\t17\r\n" + Zeros(200, 200));
    l->CurrentLandscape(5, 5).Species = 2;
    EXPECT_TRUE(ReadTXTLandscape(f, p, p.GRateFractions, l->CurrentLandscape, rng, dialogs));
    EXPECT_EQ(l->CurrentLandscape(5, 5), EmptyCell);

    ParameterSet small = SmallParameters(4, 3);
    auto blocks = std::make_unique<Landscapes>();
    const std::string c = dir.File("consolidated.txt");
    for (int gen : {10, 20, 30}) {
        blocks->CurrentLandscape(1, 1).Species = gen / 10;
        ASSERT_TRUE(WriteTXTLandscape(c, gen, small.GParamRec, blocks->CurrentLandscape, dialogs));
    }
    blocks->CurrentLandscape(1, 1).Species = 0;
    EXPECT_TRUE(ReadTXTLandscape(c, small, small.GRateFractions, blocks->CurrentLandscape, rng, dialogs));
    EXPECT_EQ(blocks->CurrentLandscape(1, 1).Species, 1);
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST(LandscapeText, RefusesIllFormedFilesWithTheirMessages)
{
    TempFolder dir;
    const std::string f = dir.File("bad.txt");
    const std::string wrongFormat =
        "The landscape file is either in the wrong format or\rhas the wrong landscape size or number of species.\r  ";
    const std::string row3 = "1\t2\t3\t0\t0\t1\t2\t3\t0\t0\r\n";
    const struct {
        ParameterSet params;
        std::string text;
        std::string message;
    } cases[] = {
        {SmallParameters(200, 200), "species\t3\t200\t100\r\n" + Zeros(200, 100), wrongFormat + f},
        {SmallParameters(10, 3), "species\t4\t10\t3\r\n" + Zeros(10, 3), wrongFormat + f},
        {SmallParameters(10, 3), "", wrongFormat + f},
        {SmallParameters(10, 3), "species\t3\t10\t3\r\n" + row3 + "0\t0\t0\t0\t0\t0\t0\t0\t0\t0\t1\r\n" + row3,
         "The landscape file is corrupt around row 2\r  " + f},
        {SmallParameters(10, 3), "species\t3\t10\t3\r\n" + row3 + "0\t0\t0\t0\t0\t0\t0\t0\t0\r\n" + row3,
         "The landscape file is corrupt around row 2\r  " + f},
        {SmallParameters(10, 3), "species\t3\t10\t3\r\n" + row3 + row3,
         "The landscape file is corrupt around row 3\r  " + f},
        {SmallParameters(10, 3), "species\t3\t10\t3\r\n" + row3 + "0\t0\t0\t0\t0\t0\t99\t0\t0\t0\r\n" + row3 + "garbage\r\n",
         "The landscape file is corrupt (possibly garbage at the end).\r  " + f},
        {SmallParameters(10, 3), "species\t3\t10\t3\r\n" + row3 + "0\t0\t0\t0\t0\t0\t5\t0\t0\t9\r\n" + row3,
         "The landscape file is corrupt.The bad value is 5 at cell (7, 2) in file\r  " + f},
        {SmallParameters(10, 3), "species\t3\t10\t3\r\n" + row3 + "0\t0\tx\t0\t0\t0\t0\t0\t0\t0\r\n" + row3,
         "Unable to read the landscape file:\r  " + f + "\rInvalid numeric input at cell (3, 2)"},
        // Trailing junk where a consolidated block has its generation, and garbage after the
        // empty line that ends the block, where only the next block may follow.
        {SmallParameters(10, 3), "species\t3\t10\t3\tjunk\r\n" + row3 + row3 + row3, wrongFormat + f},
        {SmallParameters(10, 3), "species\t3\t10\t3\t5\r\n" + row3 + row3 + row3 + "\r\n\r\ngarbage\r\n",
         "The landscape file is corrupt (possibly garbage at the end).\r  " + f},
    };
    for (const auto& c : cases) {
        WriteAll(f, c.text);
        ScriptedDialogs dialogs;
        auto l = std::make_unique<Landscapes>();
        Rng rng{1};
        EXPECT_FALSE(ReadTXTLandscape(f, c.params, c.params.GRateFractions, l->CurrentLandscape, rng, dialogs)) << c.message;
        ASSERT_EQ(dialogs.messages.size(), 1u) << c.message;
        EXPECT_EQ(dialogs.messages[0].text, c.message);
        EXPECT_EQ(dialogs.messages[0].kind, MessageKind::Error);
        for (int y = 1; y <= 3; ++y)
            for (int x = 1; x <= 10; ++x)
                ASSERT_LE(l->CurrentLandscape(x, y).Species, 3) << "a species the tables cannot index is kept";
    }

    ScriptedDialogs dialogs;
    auto l = std::make_unique<Landscapes>();
    Rng rng{1};
    const std::string missing = dir.File("none.txt");
    const ParameterSet small3 = SmallParameters(10, 3);
    EXPECT_FALSE(ReadTXTLandscape(missing, small3, small3.GRateFractions, l->CurrentLandscape, rng, dialogs));
    EXPECT_EQ(dialogs.LastText(), "Unable to read the landscape file:\r  " + missing + "\rNo such file or directory");
}

} // namespace
} // namespace quorrel
