#include "EngineTestSupport.h"

#include "engine/GenotypeOperations.h"
#include "engine/InfluxBetweenLandscapes.h"

#include <gtest/gtest.h>

namespace quorrel::test {
namespace {

// A 2 x 2 array of 10 x 10 landscapes: landscape k (1..4, row by row) is full of species k
// with growth rate k / 10, except where a test empties it.
class InfluxTest : public ::testing::Test {
protected:
    TempFolder dir;
    ParameterSet params = SmallParameters(10, 10, 4);
    Landscapes lands;
    Rng rng;
    ArraySettings array;
    Genotypes grids;

    void SetUp() override
    {
        array.NumOfRow = 2;
        array.NumOfCol = 2;
        array.InfluxBetween = 1.0f;
        for (int s = 1; s <= 4; ++s)
            params.RecruitmentVector[s] = 1.0f;
        params.GParamRec.MutationGR = 0.0f;
        params.GParamRec.MutationOTC = 0.0f;
        grids.Allocate(10, 10, 4);
        rng.RandSeed = 2024;
    }

    void Store(LandscapeArrayStores& stores, bool emptyFourth = false)
    {
        for (int k = 1; k <= 4; ++k) {
            const bool empty = emptyFourth && k == 4;
            for (int y = 1; y <= 10; ++y)
                for (int x = 1; x <= 10; ++x) {
                    lands.CurrentLandscape(x, y) = empty ? EmptyCell : Cell{k, k / 10.0f};
                    OutcomeTriple* g = grids.Current.Renew(x, y);
                    if (!empty)
                        for (int j = 1; j <= 4; ++j)
                            if (j != k && IsVariablePair(params, k, j))
                                g[j - 1] = OutcomeTriple{int8_t(10 * k), int8_t(x), int8_t(90 - 10 * k - x + 10)};
                }
            stores.SaveLandscape((k - 1) / 2 + 1, (k - 1) % 2 + 1);
            if (stores.WithGenotypes())
                stores.SaveGenotypes((k - 1) / 2 + 1, (k - 1) % 2 + 1);
        }
        stores.AdvanceLandscapeStores();
        if (stores.WithGenotypes())
            stores.AdvanceGenotypeStores();
        ClearLandscapeAndGenotypes();
    }

    void ClearLandscapeAndGenotypes()
    {
        for (int y = 1; y <= 10; ++y)
            for (int x = 1; x <= 10; ++x) {
                lands.CurrentLandscape(x, y) = EmptyCell;
                grids.Current.Unset(x, y);
            }
    }
};

TEST_F(InfluxTest, InATwoByTwoArrayLeftAndRightAndAboveAndBelowAreTheSameLandscape)
{
    LandscapeArrayStores stores(params, lands, rng, dir.Path(), 2, 2, false);
    Store(stores);
    lands.CurrentLandscape(4, 4) = Cell{1, 0.5f};
    Rng replay = rng;
    InfluxBetweenLandscapes(params, array, stores, lands.CurrentLandscape, nullptr, rng, 1, 1);
    // The draws of each empty cell: arrival, source, row, column, settling, growth-rate mutation.
    for (int y = 1; y <= 10; ++y)
        for (int x = 1; x <= 10; ++x) {
            if (x == 4 && y == 4) {
                EXPECT_EQ(lands.CurrentLandscape(x, y), (Cell{1, 0.5f}));
                continue;
            }
            replay.RandomReal();
            const int d = static_cast<int>(replay.RandomInt(4));
            replay.RandomInt(10);
            replay.RandomInt(10);
            replay.RandomReal();
            replay.RandomReal();
            const int species = d % 2 == 0 ? 2 : 3;
            ASSERT_EQ(lands.CurrentLandscape(x, y), (Cell{species, species / 10.0f})) << x << ", " << y;
        }
    EXPECT_EQ(rng.RandSeed, replay.RandSeed);
}

TEST_F(InfluxTest, AnEmptyNeighbourAbandonsTheArrivalAfterTheBoundedDraws)
{
    LandscapeArrayStores stores(params, lands, rng, dir.Path(), 2, 2, false);
    Store(stores, true);
    Rng replay = rng;
    // Landscape (2, 1) has the empty landscape (2, 2) on both sides, (1, 1) above and below.
    InfluxBetweenLandscapes(params, array, stores, lands.CurrentLandscape, nullptr, rng, 2, 1);
    int fromAbove = 0;
    for (int y = 1; y <= 10; ++y)
        for (int x = 1; x <= 10; ++x) {
            replay.RandomReal();
            const int d = static_cast<int>(replay.RandomInt(4));
            if (d % 2 == 0) {
                for (int probe = 0; probe < 101; ++probe) {
                    replay.RandomInt(10);
                    replay.RandomInt(10);
                }
                ASSERT_EQ(lands.CurrentLandscape(x, y), EmptyCell);
                continue;
            }
            ++fromAbove;
            replay.RandomInt(10);
            replay.RandomInt(10);
            replay.RandomReal();
            replay.RandomReal();
            ASSERT_EQ(lands.CurrentLandscape(x, y).Species, 1);
        }
    EXPECT_GT(fromAbove, 20);
    EXPECT_EQ(rng.RandSeed, replay.RandSeed);

    Rng skipped;
    skipped.RandSeed = 77;
    Rng stepped = skipped;
    SkipDraws(skipped, 12345);
    for (int i = 0; i < 12345; ++i)
        stepped.Advance();
    EXPECT_EQ(skipped.RandSeed, stepped.RandSeed);
}

TEST_F(InfluxTest, ASparseSourceIsScannedAfterTheProbes)
{
    LandscapeArrayStores stores(params, lands, rng, dir.Path(), 2, 2, false);
    Store(stores, true);
    // Landscape (2, 2) holds one individual; (1, 2) receives from it on both sides.
    lands.CurrentLandscape(7, 9) = Cell{4, 0.25f};
    stores.SaveLandscape(2, 2);
    stores.AdvanceLandscapeStores();
    ClearLandscapeAndGenotypes();
    array.InfluxBetween = 0.05f;
    InfluxBetweenLandscapes(params, array, stores, lands.CurrentLandscape, nullptr, rng, 1, 2);
    int settlers = 0;
    for (int y = 1; y <= 10; ++y)
        for (int x = 1; x <= 10; ++x) {
            const Cell cell = lands.CurrentLandscape(x, y);
            EXPECT_TRUE(cell == EmptyCell || cell == (Cell{4, 0.25f}) || cell == (Cell{1, 0.1f}));
            settlers += cell.Species == 4 ? 1 : 0;
        }
    EXPECT_GT(settlers, 0);
}

TEST_F(InfluxTest, AnImmigrantKeepsTheDonorsGenotypeExceptMutatedVariablePairs)
{
    // Species 1 and 2 variable against each other (and 3 against 1); species 4 all fixed.
    params.OutcomeMatrix[1][2] = OutcomeTriple{-1, 0, 0};
    params.OutcomeMatrix[1][3] = OutcomeTriple{-1, 0, 0};
    params.MirrorOutcomeMatrix();
    params.GrowthRates[2] = GrowthRate{-1, 10, 90};
    params.UpdateGRateFractions();
    for (const bool mutate : {false, true}) {
        params.GParamRec.MutationOTC = mutate ? 1.0f : 0.0f;
        params.GParamRec.MutAmtOTC = 7;
        params.GParamRec.MutationGR = mutate ? 1.0f : 0.0f;
        params.GParamRec.MutAmtGR = 5;
        LandscapeArrayStores stores(params, lands, rng, dir.Path(), 2, 2, true);
        stores.AttachGenotypes(grids);
        Store(stores);
        // (2, 1) receives species 4 from its sides and species 1 from above and below.
        InfluxBetweenLandscapes(params, array, stores, lands.CurrentLandscape, &grids.Current, rng, 2, 1);
        int changed = 0;
        for (int y = 1; y <= 10; ++y)
            for (int x = 1; x <= 10; ++x) {
                const Cell cell = lands.CurrentLandscape(x, y);
                const OutcomeTriple* g = grids.Current.Genotype(x, y);
                ASSERT_TRUE(cell.Species == 1 || cell.Species == 4);
                EXPECT_EQ(cell.GRate, cell.Species / 10.0f) << "species 1 and 4 have fixed rates";
                if (cell.Species == 4) {
                    for (int j = 0; j < 4; ++j)
                        EXPECT_EQ(g[j], UnsetTriple);
                    continue;
                }
                EXPECT_EQ(g[0], UnsetTriple);
                EXPECT_EQ(g[3], UnsetTriple);
                for (int j : {1, 2}) {
                    EXPECT_EQ(g[j].Win + g[j].Loss + g[j].Standoff, 100);
                    changed += g[j].Win != 10 ? 1 : 0;
                }
            }
        if (mutate)
            EXPECT_GT(changed, 20);
        else
            EXPECT_EQ(changed, 0);
    }
}

} // namespace
} // namespace quorrel::test
