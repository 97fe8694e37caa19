#include "engine/RandomNetworks.h"

#include <gtest/gtest.h>

namespace quorrel {
namespace {

// The generator state whose next state is `next`.
uint32_t StateBefore(uint32_t next)
{
    uint32_t inverse = Rng::Multiplier; // Newton iteration for the inverse mod 2^32
    for (int i = 0; i < 5; ++i)
        inverse *= 2u - Rng::Multiplier * inverse;
    return (next - Rng::Increment) * inverse;
}

uint32_t StateAfter(uint32_t seed, int steps)
{
    Rng rng{seed};
    for (int i = 0; i < steps; ++i)
        rng.Advance();
    return rng.RandSeed;
}

using Generator = void (*)(OutcomeTable&, int, int, Rng&);

TEST(RandomNetworks, AllStandoffsDrawOneNumberPerPair)
{
    for (Generator generate : {&UniformNetwork, &NoReversalNetwork, &HierarchicalNetwork}) {
        OutcomeTable table{};
        Rng rng{77};
        generate(table, 5, 100, rng);
        EXPECT_EQ(rng.RandSeed, StateAfter(77, 10)); // 10 pairs among 5 species
        for (int i = 1; i <= 5; ++i)
            for (int j = 1; j <= 5; ++j) {
                if (i != j) {
                    EXPECT_EQ(table[i][j], (OutcomeTriple{0, 0, 100}));
                }
            }
    }
}

TEST(RandomNetworks, UniformDrawOfAHundredStillAdvancesForTheSecondNumber)
{
    // The pair's second draw is a = RandomInt(101) = 100, so b = RandomInt(1) = 0 is
    // still drawn before the two shuffle draws.
    Rng rng{StateBefore(StateBefore(0xFFFFFFF0u))};
    Rng check = rng;
    check.RandomInt(100);
    ASSERT_EQ(check.RandomInt(101), 100u);

    OutcomeTable table{};
    UniformNetwork(table, 2, 0, rng);
    EXPECT_EQ(rng.RandSeed, StateAfter(check.RandSeed, 3));
    const OutcomeTriple t = table[1][2];
    EXPECT_EQ(t.Win + t.Loss + t.Standoff, 100);
    EXPECT_TRUE(t.Win == 100 || t.Loss == 100 || t.Standoff == 100);
}

TEST(RandomNetworks, HierarchicalNeverLetsTheHigherSpeciesWinMore)
{
    for (uint32_t seed = 1; seed <= 50; ++seed) {
        OutcomeTable table{};
        Rng rng{seed};
        HierarchicalNetwork(table, 8, 20, rng);
        for (int i = 1; i <= 8; ++i) {
            for (int j = i + 1; j <= 8; ++j) {
                EXPECT_LE(table[i][j].Loss, table[i][j].Win);
                EXPECT_LE(table[j][i].Win, table[j][i].Loss);
                EXPECT_EQ(table[i][j].Win + table[i][j].Loss + table[i][j].Standoff, 100);
            }
        }
    }
}

TEST(RandomNetworks, UniformAndNoReversalDrawCounts)
{
    OutcomeTable table{};
    Rng rng{5};
    UniformNetwork(table, 3, 0, rng);
    EXPECT_EQ(rng.RandSeed, StateAfter(5, 3 * 5)); // r, a, b, two shuffle draws per pair
    for (auto [i, j] : {std::pair{1, 2}, {1, 3}, {2, 3}})
        EXPECT_EQ(table[i][j].Win + table[i][j].Loss + table[i][j].Standoff, 100);

    Rng rng2{5};
    NoReversalNetwork(table, 3, 0, rng2);
    EXPECT_EQ(rng2.RandSeed, StateAfter(5, 3 * 2));
    for (auto [i, j] : {std::pair{1, 2}, {1, 3}, {2, 3}}) {
        const OutcomeTriple t = table[i][j];
        EXPECT_TRUE(t == (OutcomeTriple{100, 0, 0}) || t == (OutcomeTriple{0, 100, 0}));
        EXPECT_EQ(table[j][i], (OutcomeTriple{t.Loss, t.Win, 0}));
    }
}

TEST(RandomNetworks, RandomiseOutcomesReproducesTheGeneratorFromTheSameState)
{
    ParameterSet p;
    p.GParamRec.Maxspec = 6;
    p.OutcomeRandomMode = UniformRandomising;
    p.StandoffPercent = 30;
    Rng live{1234};
    RandomiseOutcomes(p, live);

    OutcomeTable working{};
    Rng editor{1234};
    UniformNetwork(working, 6, 30, editor);
    EXPECT_EQ(live.RandSeed, editor.RandSeed);
    for (int i = 1; i <= 6; ++i)
        for (int j = 1; j <= 6; ++j) {
            if (i != j) {
                EXPECT_EQ(p.OutcomeMatrix[i][j], working[i][j]);
            }
        }
}

TEST(RandomNetworks, NotRandomisingOnlyMirrors)
{
    ParameterSet p;
    p.GParamRec.Maxspec = 3;
    p.OutcomeMatrix[1][2] = OutcomeTriple{-1, 0, 0};
    Rng rng{9};
    RandomiseOutcomes(p, rng);
    EXPECT_EQ(rng.RandSeed, 9u);
    EXPECT_EQ(p.OutcomeMatrix[2][1], (OutcomeTriple{-1, 0, 0}));
}

TEST(RandomNetworks, RandomGrowthRatesDrawTwoPercentagesPerSpecies)
{
    // A seed whose first species draws two different percentages and whose second
    // draws the same percentage twice.
    auto percent = [](Rng& r) { return static_cast<int>(r.RandomReal() * 100); };
    uint32_t seed = 0;
    int draws[4] = {};
    for (;; ++seed) {
        Rng probe{seed};
        for (int& d : draws)
            d = percent(probe);
        if (draws[0] != draws[1] && draws[2] == draws[3])
            break;
    }
    ParameterSet p;
    p.GParamRec.Maxspec = 2;
    p.RateAgainst[1][2] = 0.25f;
    Rng rng{seed};
    RandomiseGrowthRates(p, rng);
    EXPECT_EQ(rng.RandSeed, StateAfter(seed, 4));
    EXPECT_EQ(p.GrowthRates[1],
              (GrowthRate{-1, int8_t(std::min(draws[0], draws[1])), int8_t(std::max(draws[0], draws[1]))}));
    EXPECT_EQ(p.GrowthRates[2], (GrowthRate{int8_t(draws[2]), 0, 0}));
    EXPECT_EQ(p.RateAgainst[1][2], 0.25f);
}

} // namespace
} // namespace quorrel
