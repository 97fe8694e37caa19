#include "EngineTestSupport.h"
#include "ScriptedDialogs.h"

#include "engine/GridOperations.h"
#include "params/AssertionFailure.h"
#include "params/ParameterFile.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>

namespace quorrel {
namespace {

using test::ScriptedDialogs;
using test::SmallParameters;

// Every cell (x, y) of the interior holds species 1 with the rate x + 100 y, so that
// copies are recognisable.
void FillNumbered(const GParamStruct& g, LandscapeGrid& grid)
{
    for (int y = 1; y <= g.MaxY; ++y)
        for (int x = 1; x <= g.MaxX; ++x)
            grid(x, y) = Cell{1, float(x + 100 * y)};
}

TEST(GridOperations, TorusRingCopiesTheOppositeEdgesAndOpenRingIsEmpty)
{
    ParameterSet p = SmallParameters(10, 10);
    auto l = std::make_unique<Landscapes>();
    FillNumbered(p.GParamRec, l->PreviousLandscape);
    SetLandscapeBorder(p.GParamRec, l->PreviousLandscape);
    const LandscapeGrid& g = l->PreviousLandscape;
    EXPECT_EQ(g(0, 5), g(10, 5));
    EXPECT_EQ(g(11, 5), g(1, 5));
    EXPECT_EQ(g(5, 0), g(5, 10));
    EXPECT_EQ(g(5, 11), g(5, 1));
    EXPECT_EQ(g(0, 0), g(10, 10));
    EXPECT_EQ(g(0, 11), g(10, 1));
    EXPECT_EQ(g(11, 0), g(1, 10));
    EXPECT_EQ(g(11, 11), g(1, 1));

    p.GParamRec.Border = 1;
    SetLandscapeBorder(p.GParamRec, l->PreviousLandscape);
    for (int i = 0; i <= 11; ++i) {
        EXPECT_EQ(g(i, 0), EmptyCell);
        EXPECT_EQ(g(i, 11), EmptyCell);
        EXPECT_EQ(g(0, i), EmptyCell);
        EXPECT_EQ(g(11, i), EmptyCell);
    }
    EXPECT_EQ(g(1, 1).Species, 1);
}

TEST(GridOperations, CellScansFollowTheirOrder)
{
    ParameterSet p = SmallParameters(10, 10);
    ScriptedDialogs dialogs;
    auto l = std::make_unique<Landscapes>();
    LandscapeGrid& g = l->CurrentLandscape;
    const struct {
        int emptyX, emptyY;
    } onlyEmpty[] = {{2, 3}, {9, 1}, {7, 3}, {1, 10}};
    for (const auto& c : onlyEmpty) {
        FillNumbered(p.GParamRec, g);
        g(c.emptyX, c.emptyY) = EmptyCell;
        int x = 5;
        int y = 3;
        FindEmptyCell(p, g, x, y, dialogs);
        EXPECT_EQ(x, c.emptyX);
        EXPECT_EQ(y, c.emptyY);
    }
    // Two empty cells: the rows below come before the rows above.
    FillNumbered(p.GParamRec, g);
    g(9, 1) = EmptyCell;
    g(1, 8) = EmptyCell;
    int x = 5;
    int y = 3;
    FindEmptyCell(p, g, x, y, dialogs);
    EXPECT_EQ(std::pair(x, y), std::pair(1, 8));

    ClearLandscape(p.GParamRec, g);
    x = 4;
    y = 6;
    EXPECT_FALSE(FindOccupiedCell(p.GParamRec, g, x, y));
    EXPECT_EQ(std::pair(x, y), std::pair(4, 6));
    g(3, 6).Species = 2;
    g(10, 2).Species = 2;
    EXPECT_TRUE(FindOccupiedCell(p.GParamRec, g, x, y));
    EXPECT_EQ(std::pair(x, y), std::pair(3, 6));
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST(GridOperations, NoEmptyCellWritesTheParameterFileShowsTheMessageAndEndsTheRun)
{
    test::TempFolder dir;
    ParameterSet p = SmallParameters(10, 10);
    p.StartDir = dir.Path();
    ScriptedDialogs dialogs;
    auto l = std::make_unique<Landscapes>();
    FillNumbered(p.GParamRec, l->CurrentLandscape);
    int x = 3;
    int y = 3;
    EXPECT_THROW(FindEmptyCell(p, l->CurrentLandscape, x, y, dialogs), AssertionFailure);
    const std::string file = dir.File("ERR-INIT.prm");
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text, "There is a serious error in the program. Please print out the file " + file +
                                            ", and send it to the author.");
    EXPECT_EQ(dialogs.messages[0].kind, MessageKind::Error);
    ParameterSet back = SmallParameters(200, 200);
    ReadParameterFile(back, file);
    EXPECT_EQ(back.GParamRec, p.GParamRec) << "the parameter listing is written";
}

TEST(GridOperations, MeanFieldCopyRearrangesIndividualsAndKeepsThem)
{
    ParameterSet p = SmallParameters(12, 7);
    p.GParamRec.MeanField = true;
    auto l = std::make_unique<Landscapes>();
    Rng fill{3};
    std::map<std::pair<int, float>, int> before;
    for (int y = 1; y <= 7; ++y)
        for (int x = 1; x <= 12; ++x) {
            const int s = int(fill.RandomInt(4));
            l->CurrentLandscape(x, y) = s == 0 ? EmptyCell : Cell{s, float(fill.RandomReal())};
            ++before[{l->CurrentLandscape(x, y).Species, l->CurrentLandscape(x, y).GRate}];
        }
    l->MeanFieldPermutation.resize(84);
    for (int k = 0; k < 84; ++k)
        l->MeanFieldPermutation[k] = k;
    Rng rng{99};
    CopyLandscapeToPrevious(p.GParamRec, *l, rng);

    // The shuffle draws RandomInt(i + 1) for i = 83 down to 1, and cell k lands at perm[k].
    Rng expected{99};
    std::vector<int32_t> perm(84);
    for (int k = 0; k < 84; ++k)
        perm[k] = k;
    for (int i = 83; i >= 1; --i)
        std::swap(perm[expected.RandomInt(i + 1)], perm[i]);
    EXPECT_EQ(rng.RandSeed, expected.RandSeed);
    EXPECT_EQ(l->MeanFieldPermutation, perm);
    std::map<std::pair<int, float>, int> after;
    for (int k = 0; k < 84; ++k) {
        const Cell& moved = l->PreviousLandscape(perm[k] % 12 + 1, perm[k] / 12 + 1);
        EXPECT_EQ(moved, l->CurrentLandscape(k % 12 + 1, k / 12 + 1));
        ++after[{moved.Species, moved.GRate}];
    }
    EXPECT_EQ(before, after);
}

TEST(GridOperations, DrawGRateDrawsOnlyForVariableSpecies)
{
    ParameterSet p = SmallParameters(10, 10);
    p.GrowthRates[2] = {-1, 20, 60};
    p.GrowthRates[3] = {35, 0, 0};
    p.UpdateGRateFractions();
    Rng rng{42};
    EXPECT_EQ(DrawGRate(p.GRateFractions, rng, 3), float(0.35));
    EXPECT_EQ(DrawGRate(p.GRateFractions, rng, 1), 1.0f);
    EXPECT_EQ(rng.RandSeed, 42u);
    Rng expected{42};
    const double r = expected.RandomReal();
    EXPECT_EQ(DrawGRate(p.GRateFractions, rng, 2), float(r * (double(0.6f) - double(0.2f)) + double(0.2f)));
    EXPECT_EQ(rng.RandSeed, expected.RandSeed);
}

} // namespace
} // namespace quorrel
