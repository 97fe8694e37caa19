#include "sweep/RunSeed.h"

#include <gtest/gtest.h>

#include <set>

using namespace quorrel;

TEST(RunSeed, IsTheDocumentedFunctionOfTheBaseSeedAndTheSortedPoint)
{
    // FNV-1a 64 of the empty text is the offset basis; of "a" the published value.
    EXPECT_EQ(Fnv1a64(""), 14695981039346656037ull);
    EXPECT_EQ(Fnv1a64("a"), 0xaf63dc4c8601ec8cull);
    const DesignPoint point = {{"OverGRate", "50"}, {"DisturbProb", "0.02"}};
    EXPECT_EQ(SeedText(1, point), "seed=1\nDisturbProb=0.02\nOverGRate=50\n");
    const uint64_t h = Fnv1a64("seed=1\nDisturbProb=0.02\nOverGRate=50\n");
    EXPECT_EQ(RunSeed(1, point, 3), static_cast<int>(1 + (h % 9999 + 2) % 9999));
    // The order the plan gives the keys in plays no part.
    EXPECT_EQ(RunSeed(1, {{"DisturbProb", "0.02"}, {"OverGRate", "50"}}, 3), RunSeed(1, point, 3));
    EXPECT_NE(RunSeed(2, point, 3), RunSeed(1, point, 3));
}

TEST(RunSeed, StaysWhenTheDesignGrowsAndNeverRepeatsWithinAPoint)
{
    // The seeds of the points of a 2-value design are the same within a 3-value design.
    for (const char* value : {"50", "100"})
        EXPECT_EQ(RunSeed(7, {{"OverGRate", value}}, 1), RunSeed(7, {{"OverGRate", std::string(value)}}, 1));
    std::set<int> seeds;
    for (int r = 1; r <= MaxRunSeed; ++r) {
        const int seed = RunSeed(7, {{"OverGRate", "50"}}, r);
        ASSERT_GE(seed, 1);
        ASSERT_LE(seed, MaxRunSeed);
        seeds.insert(seed);
    }
    EXPECT_EQ(seeds.size(), static_cast<size_t>(MaxRunSeed));
}
