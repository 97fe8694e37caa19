#include "EngineTestSupport.h"
#include "ScriptedDialogs.h"

#include "engine/InitialCover.h"
#include "params/AssertionFailure.h"

#include <gtest/gtest.h>

#include <memory>

namespace quorrel {
namespace {

using test::ScriptedDialogs;
using test::SmallParameters;

class RecordingProgress : public InitProgress {
public:
    int opened = -1;
    std::vector<int> shown;
    int checks = 0;
    int cancelAt = -1;
    bool closed = false;

    void Open(int total) override { opened = total; }
    void Show(int done) override { shown.push_back(done); }
    bool CancelRequested() override { return ++checks == cancelAt; }
    void Close() override { closed = true; }
};

int Count(const GParamStruct& g, const LandscapeGrid& grid, int species)
{
    int n = 0;
    for (int y = 1; y <= g.MaxY; ++y)
        for (int x = 1; x <= g.MaxX; ++x)
            n += grid(x, y).Species == species;
    return n;
}

TEST(InitialCover, RandomCoverPlacesEqualNumbersPerSpeciesAndReportsProgress)
{
    ParameterSet p = SmallParameters(10, 10);
    p.GParamRec.TotalCover = 50.0f;
    ScriptedDialogs dialogs;
    auto l = std::make_unique<Landscapes>();
    l->CurrentLandscape(4, 4) = Cell{2, 0.5f}; // cleared first
    Rng rng{7};
    RecordingProgress progress;
    ASSERT_TRUE(SetInitCover(p, p.GRateFractions, l->CurrentLandscape, rng, dialogs, progress));
    EXPECT_EQ(progress.opened, 50);
    EXPECT_EQ(progress.checks, 48);
    EXPECT_TRUE(progress.shown.empty());
    EXPECT_TRUE(progress.closed);
    for (int s = 1; s <= 3; ++s)
        EXPECT_EQ(Count(p.GParamRec, l->CurrentLandscape, s), 16);
    EXPECT_EQ(Count(p.GParamRec, l->CurrentLandscape, 0), 52);

    // The first individual lands where the first two draws point.
    Rng first{7};
    const int x = int(first.RandomInt(10)) + 1;
    const int y = int(first.RandomInt(10)) + 1;
    EXPECT_EQ(l->CurrentLandscape(x, y), (Cell{1, 1.0f}));
}

TEST(InitialCover, FullRandomCoverEndsByTheScanAndCancelKeepsWhatWasPlaced)
{
    ParameterSet p = SmallParameters(10, 10);
    p.GParamRec.TotalCover = 100.0f;
    ScriptedDialogs dialogs;
    auto l = std::make_unique<Landscapes>();
    Rng rng{11};
    RecordingProgress progress;
    ASSERT_TRUE(SetInitCover(p, p.GRateFractions, l->CurrentLandscape, rng, dialogs, progress));
    for (int s = 1; s <= 3; ++s)
        EXPECT_EQ(Count(p.GParamRec, l->CurrentLandscape, s), 33);
    EXPECT_EQ(progress.shown, std::vector<int>{});
    EXPECT_TRUE(dialogs.messages.empty());

    p = SmallParameters(30, 20);
    p.GParamRec.TotalCover = 100.0f;
    RecordingProgress cancelling;
    cancelling.cancelAt = 250;
    EXPECT_FALSE(SetInitCover(p, p.GRateFractions, l->CurrentLandscape, rng, dialogs, cancelling));
    EXPECT_EQ(cancelling.shown, (std::vector<int>{100, 200}));
    EXPECT_TRUE(cancelling.closed);
    EXPECT_EQ(Count(p.GParamRec, l->CurrentLandscape, 1), 200);
    EXPECT_EQ(Count(p.GParamRec, l->CurrentLandscape, 2), 50);
}

// Two variable species with the same range and a gradient: each block column shows as
// its rate, from low in the leftmost to high in the rightmost.
TEST(InitialCover, BlockColumnsFollowTheRoundedBlockCount)
{
    const double low = 0.2f;
    const double high = 0.6f;
    const float middle = float((low + high) * 0.5);
    const float third = float(low + (high - low) * 1 / 3);
    const float twoThirds = float(low + (high - low) * 2 / 3);
    const struct {
        int maxX;
        std::vector<std::pair<int, float>> columnRates;
    } cases[] = {
        {30, {{1, 0.2f}, {15, 0.2f}, {16, 0.6f}, {30, 0.6f}}},  // round(1.5) = 2 blocks of 15
        {50, {{1, 0.2f}, {25, 0.2f}, {26, 0.6f}, {50, 0.6f}}},  // round(2.5) = 2 blocks of 25
        {10, {{1, middle}, {10, middle}}},                      // max(round(0.5), 1) = 1 block
        {70, {{18, 0.2f}, {19, third}, {52, twoThirds}, {53, 0.6f}}}, // 4 blocks ending 18, 35, 52, 70
    };
    for (const auto& c : cases) {
        ParameterSet p = SmallParameters(c.maxX, 10, 2);
        p.GParamRec.Cover = 1;
        p.GParamRec.Init = 1;
        p.GParamRec.TotalCover = 100.0f;
        p.GrowthRates[1] = p.GrowthRates[2] = {-1, 20, 60};
        p.UpdateGRateFractions();
        ScriptedDialogs dialogs;
        auto l = std::make_unique<Landscapes>();
        Rng rng{5};
        InitProgress none;
        ASSERT_TRUE(SetInitCover(p, p.GRateFractions, l->CurrentLandscape, rng, dialogs, none));
        for (const auto& [x, rate] : c.columnRates)
            for (int y = 1; y <= 10; ++y)
                ASSERT_EQ(l->CurrentLandscape(x, y).GRate, rate) << c.maxX << " at " << x << "," << y;
    }
}

TEST(InitialCover, BlockCoverWritesEveryCellAndFailsOnABadCoverType)
{
    for (float cover : {0.0f, 100.0f, 37.0f}) {
        ParameterSet p = SmallParameters(43, 31);
        p.GParamRec.Cover = 1;
        p.GParamRec.TotalCover = cover;
        ScriptedDialogs dialogs;
        auto l = std::make_unique<Landscapes>();
        for (int y = 1; y <= 31; ++y)
            for (int x = 1; x <= 43; ++x)
                l->CurrentLandscape(x, y) = Cell{3, 0.25f};
        Rng rng{9};
        InitProgress none;
        ASSERT_TRUE(SetInitCover(p, p.GRateFractions, l->CurrentLandscape, rng, dialogs, none));
        const int empty = Count(p.GParamRec, l->CurrentLandscape, 0);
        const double target = 43 * 31 * double(float(0.01 * cover));
        EXPECT_LT(std::abs(43 * 31 - empty - target), 2.0) << cover;
        if (cover == 0.0f) {
            EXPECT_EQ(empty, 43 * 31);
        }
        if (cover == 100.0f) {
            EXPECT_EQ(empty, 0);
        }
    }

    ParameterSet p = SmallParameters(10, 10);
    p.GParamRec.Cover = 3;
    ScriptedDialogs dialogs;
    auto l = std::make_unique<Landscapes>();
    Rng rng{1};
    InitProgress none;
    try {
        SetInitCover(p, p.GRateFractions, l->CurrentLandscape, rng, dialogs, none);
        FAIL() << "no assertion failure";
    } catch (const AssertionFailure& e) {
        EXPECT_EQ(std::string(e.what()).rfind("Invalid GParamRec.Cover (Landscape, line ", 0), 0u) << e.what();
    }

    p.GParamRec.Cover = 2;
    p.GParamRec.CoverFile = "/nonexistent/cover.txt";
    EXPECT_FALSE(SetInitCover(p, p.GRateFractions, l->CurrentLandscape, rng, dialogs, none));
    EXPECT_EQ(dialogs.LastText(),
              "Unable to read the landscape file:\r  /nonexistent/cover.txt\rNo such file or directory");
}

} // namespace
} // namespace quorrel
