#include "output/SlidingWindows.h"

#include "params/AssertionFailure.h"

#include "ScriptedDialogs.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <functional>
#include <sstream>

namespace quorrel {
namespace {

using test::ReadAll;

class SlidingWindowsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        options = SetDefaultOptions(dir.Path());
        options.WriteSW = true;
        options.SWFilename = dir.File("sw.txt");
    }

    void Shape(int maxspec, int maxX, int maxY, int maxgen, const std::function<int(int, int)>& species)
    {
        params.GParamRec.Maxspec = maxspec;
        params.GParamRec.MaxX = maxX;
        params.GParamRec.MaxY = maxY;
        params.GParamRec.Maxgen = maxgen;
        for (int y = 1; y <= maxY; ++y)
            for (int x = 1; x <= maxX; ++x)
                landscape(x, y).Species = species(x, y);
    }

    void Run()
    {
        SlidingWindows windows(params, options, landscape, dialogs);
        for (int g = 0; g <= params.GParamRec.Maxgen; ++g)
            windows.SpatialHistogram(g);
        windows.SpatialHistogram(-1);
    }

    test::TempFolder dir;
    test::ScriptedDialogs dialogs;
    ParameterSet params;
    OptionStruct options;
    LandscapeGrid landscape;
};

TEST_F(SlidingWindowsTest, SquareLandscapeSampledFromAStartGeneration)
{
    Shape(2, 20, 20, 40, [](int x, int y) { return x <= 10 && y <= 5 ? 1 : x > 15 ? 2 : 0; });
    options.GenSWEvery = 10;
    options.GenSWFrom = 15;
    options.SWSpeciesMask.set(0);
    Run();

    const std::string header = "             box dimension n\r\n  gen      5     10     15     20\r\n";
    auto lines = [](const std::string& counts) {
        return "   20" + counts + "\r\n   30" + counts + "\r\n   40" + counts + "\r\n";
    };
    EXPECT_EQ(ReadAll(dir.File("sw0.txt")), header + lines("      0     50    175    250"));
    EXPECT_EQ(ReadAll(dir.File("sw1.txt")), header + lines("     25     50     50     50"));
    EXPECT_EQ(ReadAll(dir.File("sw2.txt")), header + lines("      0      0      0    100"));
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(SlidingWindowsTest, WideLandscapeAndAStepBeyondTheLargestBox)
{
    Shape(12, 30, 10, 1, [](int, int) { return 12; });
    options.DeltaSideSW = 3;
    options.SWSpeciesMask.reset().set(0).set(12);
    Run();
    const std::string header = "             box dimension n\r\n  gen      3      6      9     30\r\n";
    EXPECT_EQ(ReadAll(dir.File("sw12.txt")), header + "    1      9     36     81    300\r\n");
    EXPECT_EQ(ReadAll(dir.File("sw00.txt")), header + "    1      0      0      0      0\r\n");
    EXPECT_FALSE(std::filesystem::exists(dir.File("sw01.txt")));

    options.DeltaSideSW = 10;
    Run();
    EXPECT_EQ(ReadAll(dir.File("sw12.txt")), "             box dimension n\r\n  gen     30\r\n    1    300\r\n");
}

TEST_F(SlidingWindowsTest, EveryBoxColumnAddsUpOverAllElements)
{
    Shape(3, 23, 17, 2, [](int x, int y) { return (x * 7 + y * 3) % 4; });
    options.DeltaSideSW = 4;
    options.SWSpeciesMask.set(0);
    Run();
    std::vector<long> sums(5, 0);
    for (int s = 0; s <= 3; ++s) {
        std::istringstream in(ReadAll(dir.File("sw" + std::to_string(s) + ".txt")));
        std::string line;
        for (int i = 0; i < 4; ++i) // two header lines, generations 1 and 2
            std::getline(in, line);
        std::istringstream last(line);
        int g = 0;
        long count = 0;
        last >> g;
        EXPECT_EQ(g, 2);
        for (size_t i = 0; i < sums.size() && last >> count; ++i)
            sums[i] += count;
    }
    EXPECT_EQ(sums, (std::vector<long>{16, 64, 144, 256, 23 * 17}));
}

TEST_F(SlidingWindowsTest, NoOutputSettingsInvalidGenerationsAndUnwritableFiles)
{
    const std::string noOutput = "The Sliding Windows will produce no output with these settings.";
    Shape(3, 10, 10, 5, [](int, int) { return 1; });
    options.SWSpeciesMask.reset().set(5);
    Run();
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].kind, MessageKind::Information);
    EXPECT_EQ(dialogs.messages[0].text, noOutput);

    options.SWSpeciesMask = OptionStruct::DefaultSpeciesMask();
    options.GenSWFrom = 6;
    Run();
    ASSERT_EQ(dialogs.messages.size(), 2u);
    EXPECT_EQ(dialogs.messages[1].text, noOutput);
    EXPECT_EQ(ReadAll(dir.File("sw1.txt")), "             box dimension n\r\n  gen      5     10\r\n");

    SlidingWindows windows(params, options, landscape, dialogs);
    windows.SpatialHistogram(0);
    try {
        windows.SpatialHistogram(6);
        ADD_FAILURE() << "no assertion failure";
    } catch (const AssertionFailure& e) {
        EXPECT_EQ(e.Message(), "SpatialHistogram: invalid argument.");
        EXPECT_NE(std::string(e.what()).find("(SpatialHistogram, line "), std::string::npos);
    }
    windows.SpatialHistogram(-1);

    dialogs.messages.clear();
    options.GenSWFrom = 1;
    options.SWFilename = dir.File("missing/sw.txt");
    Run();
    ASSERT_EQ(dialogs.messages.size(), 1u) << "reported once, the run goes on";
    EXPECT_EQ(dialogs.messages[0].kind, MessageKind::Error);
    EXPECT_EQ(dialogs.messages[0].text, "No such file or directory:\r  " + dir.File("missing/sw1.txt"));

    dialogs.messages.clear();
    options.WriteSW = false;
    options.SWFilename = dir.File("off.txt");
    Run();
    EXPECT_FALSE(std::filesystem::exists(dir.File("off1.txt")));
    EXPECT_TRUE(dialogs.messages.empty());
}

} // namespace
} // namespace quorrel
