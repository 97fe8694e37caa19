#include "engine/GenotypeGrid.h"
#include "engine/Genotypes.h"
#include "engine/Rng.h"
#include "params/AssertionFailure.h"

#include <gtest/gtest.h>

#include <algorithm>

#include <cstddef>
#include <cstring>
#include <limits>
#include <span>
#include <map>
#include <set>
#include <utility>
#include <vector>

namespace quorrel {
namespace {

OutcomeTriple Label(int a, int b)
{
    return OutcomeTriple{int8_t(a), int8_t(b), int8_t(100 - a - b)};
}

// A genotype copied to another position is a value of its own: changing either copy
// leaves the other as it was.
TEST(GenotypeGrid, ACopiedGenotypeIsAValueOfItsOwn)
{
    GenotypeGrid grid;
    ASSERT_TRUE(grid.Allocate(4, 3, 3));
    grid.At(1, 1)[2] = Label(30, 20);
    grid.Assign(2, 1, grid.Id(1, 1));
    EXPECT_EQ(grid.Triple(2, 1, 2), Label(30, 20));
    grid.At(2, 1)[2] = Label(70, 10);
    grid.At(2, 1)[3] = Label(5, 5);
    EXPECT_EQ(grid.Triple(1, 1, 2), Label(30, 20));
    EXPECT_EQ(grid.Triple(1, 1, 3), UnsetTriple);
    EXPECT_EQ(grid.Triple(2, 1, 2), Label(70, 10));
    EXPECT_EQ(grid.Triple(2, 1, 3), Label(5, 5));
    OutcomeTriple* renewed = grid.Renew(1, 1);
    for (int j = 0; j < 3; ++j)
        EXPECT_EQ(renewed[j], UnsetTriple);
    EXPECT_EQ(grid.Triple(2, 1, 2), Label(70, 10));
}

// A small grid edited far more often than its pool has records: records no position holds
// are taken again, every held genotype keeps its triples, and a pointer to a held record
// stays valid through every collection.
TEST(GenotypeGrid, FreedRecordsAreTakenAgainWhileHeldOnesKeepTheirTriples)
{
    Genotypes grids;
    ASSERT_TRUE(grids.Allocate(3, 2, 2));
    OutcomeTriple* kept = grids.Previous.Edit(2, 2);
    kept[1] = Label(11, 22);
    std::map<std::pair<int, int>, OutcomeTriple> expected;
    Rng rng{5};
    for (int step = 0; step < 2000; ++step) {
        const int x = int(rng.RandomInt(5));
        const int y = int(rng.RandomInt(4));
        switch (rng.RandomInt(3)) {
        case 0: {
            const OutcomeTriple t = Label(step % 50, step % 37);
            grids.Current.At(x, y)[1] = t;
            expected[{x, y}] = t;
            break;
        }
        case 1: { // a copy from another position
            const int fx = int(rng.RandomInt(5));
            const int fy = int(rng.RandomInt(4));
            grids.Current.Assign(x, y, grids.Current.Id(fx, fy));
            if (expected.contains({fx, fy}))
                expected[{x, y}] = expected[{fx, fy}];
            else
                expected.erase({x, y});
            break;
        }
        default:
            grids.Current.Unset(x, y);
            expected.erase({x, y});
        }
        for (int cy = 0; cy < 4; ++cy)
            for (int cx = 0; cx < 5; ++cx) {
                const auto at = expected.find({cx, cy});
                ASSERT_EQ(grids.Current.Triple(cx, cy, 1), at == expected.end() ? UnsetTriple : at->second)
                    << "step " << step << " at " << cx << "," << cy;
            }
    }
    EXPECT_GT(grids.Current.Pool().Collections(), 10u);
    EXPECT_EQ(grids.Previous.Genotype(2, 2), kept);
    EXPECT_EQ(kept[1], Label(11, 22));
}

// Records are found again before Take reaches beyond twice the records held at the last
// collection (or MinimumReach beyond them), though many were never taken: the held records
// keep to the low numbers, and a record freed is taken before one never taken.
TEST(GenotypeGrid, TakeCollectsBeforeReachingFarIntoThePool)
{
    const int side = 200;
    Genotypes grids;
    ASSERT_TRUE(grids.Allocate(side, side, 2));
    GenotypeGrid& grid = grids.Current;
    // Two rounds over every cell take fewer records than the pool has, and more than MinimumReach.
    ASSERT_GT(grid.Pool().Capacity(), std::size_t(2 * side * side));
    ASSERT_GT(std::size_t(2 * side * side), GenotypePool::MinimumReach);
    uint32_t highest = 0;
    const auto renewAll = [&](int round) {
        for (int y = 1; y <= side; ++y)
            for (int x = 1; x <= side; ++x) {
                grid.Renew(x, y)[1] = Label(round, x % 50);
                highest = std::max(highest, grid.Id(x, y));
            }
    };
    renewAll(1);
    EXPECT_EQ(grid.Pool().Collections(), 0u);
    EXPECT_EQ(highest, uint32_t(side * side));
    // The second round reaches MinimumReach: the first round's records are taken again.
    renewAll(2);
    EXPECT_EQ(grid.Pool().Collections(), 1u);
    EXPECT_LT(highest, GenotypePool::MinimumReach);
    // Further rounds use up the storage and collect when no record is left.
    for (int round = 3; round <= 6; ++round)
        renewAll(round);
    EXPECT_GT(grid.Pool().Collections(), 2u);
    EXPECT_LT(highest, grid.Pool().Capacity());
    for (int y = 1; y <= side; ++y)
        for (int x = 1; x <= side; ++x)
            ASSERT_EQ(grid.Triple(x, y, 2), Label(6, x % 50)) << x << "," << y;
}

// Loaded records equal to one held to the left or above share it; what is saved again is
// what was loaded.
TEST(GenotypeGrid, LoadingSharesEqualNeighbouringRecordsAndSavesTheSameBytes)
{
    GenotypeGrid grid;
    ASSERT_TRUE(grid.Allocate(6, 4, 2));
    std::vector<std::byte> bytes(grid.InteriorBytes());
    for (std::size_t cell = 0; cell < 24; ++cell) {
        const int patch = cell % 6 < 3 ? 1 : 2; // two halves of equal genotypes
        const OutcomeTriple record[2] = {Label(patch * 10, 5), cell == 23 ? Label(1, 2) : UnsetTriple};
        std::memcpy(bytes.data() + cell * 6, record, 6);
    }
    grid.LoadInterior(bytes);
    std::set<uint32_t> ids;
    for (int y = 1; y <= 4; ++y)
        for (int x = 1; x <= 6; ++x)
            ids.insert(grid.Id(x, y));
    EXPECT_EQ(ids.size(), 3u);
    std::vector<std::byte> again(bytes.size());
    grid.SaveInterior(again);
    EXPECT_EQ(again, bytes);
}

// Interiors loaded whole into the pool's windows hold the stored genotypes as loading
// record by record does: the same values at every position and the same bytes saved. A
// window is written again only when nobody holds it: positions that still hold its records
// when every window is held (here the ring, copied from the interior) take records of their
// own and keep their triples, and a record taken for editing is never a window record.
TEST(GenotypeGrid, WholeLoadsIntoWindowsHoldTheStoredGenotypesAndKeepHeldOnes)
{
    const int maxX = 5;
    const int maxY = 3;
    const int maxspec = 3;
    Genotypes whole;
    ASSERT_TRUE(whole.Allocate(maxX, maxY, maxspec, std::numeric_limits<std::size_t>::max(), 2));
    Genotypes rowByRow;
    ASSERT_TRUE(rowByRow.Allocate(maxX, maxY, maxspec));
    ASSERT_TRUE(whole.Current.LoadsWhole());
    EXPECT_FALSE(rowByRow.Current.LoadsWhole());
    const auto stored = [&](int seed) {
        std::vector<std::byte> bytes(whole.Current.InteriorBytes());
        for (std::size_t cell = 0; cell < std::size_t(maxX * maxY); ++cell)
            for (int j = 0; j < maxspec; ++j) {
                // Runs of equal genotypes, some unset triples.
                const OutcomeTriple t = (cell + j) % 4 == 0 ? UnsetTriple : Label(int(seed + cell / 3), j);
                std::memcpy(bytes.data() + (cell * maxspec + j) * 3, &t, 3);
            }
        return bytes;
    };
    const auto loadWhole = [](GenotypeGrid& grid, const std::vector<std::byte>& bytes) {
        grid.LoadInteriorWith([&](std::span<std::byte> into) {
            ASSERT_EQ(into.size(), bytes.size());
            std::memcpy(into.data(), bytes.data(), bytes.size());
        });
    };
    const auto expectSame = [&](const GenotypeGrid& a, const GenotypeGrid& b, const char* what) {
        for (int y = 0; y <= maxY + 1; ++y)
            for (int x = 0; x <= maxX + 1; ++x)
                ASSERT_EQ(std::memcmp(a.Genotype(x, y), b.Genotype(x, y), a.RecordBytes()), 0)
                    << what << " at " << x << "," << y;
    };

    // Previous loaded, its ring made from its interior (as the contention step's border
    // does), then the current grid loaded: the second window is taken.
    const std::vector<std::byte> first = stored(10);
    const std::vector<std::byte> second = stored(40);
    loadWhole(whole.Previous, first);
    rowByRow.Previous.LoadInterior(first);
    for (Genotypes* g : {&whole, &rowByRow})
        for (int x = 1; x <= maxX; ++x) {
            g->Previous.Assign(x, 0, g->Previous.Id(x, maxY));
            g->Previous.Assign(x, maxY + 1, g->Previous.Id(x, 1));
        }
    loadWhole(whole.Current, second);
    rowByRow.Current.LoadInterior(second);
    EXPECT_NE(whole.Current.Pool().WindowOf(whole.Current.Id(1, 1)),
              whole.Previous.Pool().WindowOf(whole.Previous.Id(1, 1)));
    expectSame(whole.Previous, rowByRow.Previous, "previous");
    expectSame(whole.Current, rowByRow.Current, "current");

    // Both windows held; the previous interior loaded again takes one of them, and the
    // positions still holding it (previous's ring, or current's cells) keep their triples.
    const std::vector<std::byte> third = stored(70);
    loadWhole(whole.Previous, third);
    rowByRow.Previous.LoadInterior(third);
    expectSame(whole.Previous, rowByRow.Previous, "previous, reloaded");
    expectSame(whole.Current, rowByRow.Current, "current, after the reload");

    EXPECT_EQ(whole.Previous.Pool().WindowOf(whole.Previous.Id(1, 0)), -1) << "the ring took records of its own";
    std::vector<std::byte> saved(third.size());
    whole.Previous.SaveInterior(saved);
    EXPECT_EQ(saved, third);
    whole.Current.SaveInterior(saved);
    EXPECT_EQ(saved, second);

    OutcomeTriple* edited = whole.Current.Edit(2, 2);
    EXPECT_EQ(whole.Current.Pool().WindowOf(whole.Current.Id(2, 2)), -1);
    EXPECT_LT(whole.Current.Pool().WindowBase(1), whole.Current.Pool().Capacity());
    edited[0] = Label(1, 1);
    expectSame(whole.Previous, rowByRow.Previous, "previous, after an edit of current");
    // The cells around the edited one still hold consecutive window records: each record
    // is saved where its cell lies.
    std::vector<std::byte> want = second;
    std::memcpy(want.data() + (maxX + 1) * whole.Current.RecordBytes(), edited, whole.Current.RecordBytes());
    whole.Current.SaveInterior(saved);
    EXPECT_EQ(saved, want);
}

TEST(GenotypeGrid, GenotypesMoveOnlyBetweenGridsOfOnePool)
{
    GenotypeGrid a;
    GenotypeGrid b;
    ASSERT_TRUE(a.Allocate(5, 5, 2));
    ASSERT_TRUE(b.Allocate(5, 5, 2));
    EXPECT_THROW(a.Exchange(b), AssertionFailure);
    Genotypes pair;
    ASSERT_TRUE(pair.Allocate(5, 5, 2));
    pair.Current.At(3, 3)[1] = Label(40, 40);
    pair.Current.Exchange(pair.Previous);
    EXPECT_EQ(pair.Previous.Triple(3, 3, 1), Label(40, 40));
    EXPECT_EQ(pair.Current.Triple(3, 3, 1), UnsetTriple);
}

} // namespace
} // namespace quorrel
