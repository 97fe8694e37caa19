#include "engine/DrawScan.h"

#include "engine/Rng.h"
#include "engine/Thresholds.h"

#include <gtest/gtest.h>

#include <vector>

namespace quorrel {
namespace {

// The search written draw by draw: the first drawer from x whose RandomReal falls below its
// species' probability.
int LiteralNext(const std::vector<Cell>& row, int x, int maxX, bool occupied, const std::vector<double>& prob, Rng& rng)
{
    for (; x <= maxX; ++x) {
        const int s = row[x].Species;
        if ((s != 0) != occupied)
            continue;
        if (rng.RandomReal() < prob[s])
            return x;
    }
    return x;
}

// Both kernels find every event of rows of every length (not only multiples of eight), with
// the generator state of the draw-by-draw search, for rare, frequent and certain events.
TEST(DrawScan, FindsTheEventsAndStatesOfTheDrawByDrawSearch)
{
    for (const bool occupied : {true, false}) {
        for (const double p : {0.0, 0.003, 0.05, 0.4, 1.0}) {
            std::vector<double> prob(MaxSpecies + 1, 0.0);
            std::array<uint64_t, MaxSpecies + 1> threshold{};
            for (int s = 0; s <= 3; ++s) {
                prob[s] = s == 2 ? p / 2 : p;
                threshold[s] = DrawThreshold(prob[s]);
            }
            for (const bool wide : {false, true}) {
                DrawScan scan;
                scan.UseWideKernel(wide);
                scan.Prepare(occupied ? DrawScan::Drawers::Occupied : DrawScan::Drawers::Empty, threshold);
                Rng fill{77u};
                for (int maxX : {1, 7, 8, 9, 23, 64, 700}) {
                    std::vector<Cell> row(maxX + 10, EmptyCell);
                    for (int x = 1; x <= maxX; ++x) {
                        const int s = int(fill.RandomInt(4));
                        row[x] = s == 0 ? EmptyCell : Cell{s, 0.5f};
                    }
                    Rng literal{fill.RandSeed};
                    uint32_t seed = fill.RandSeed;
                    int expected = LiteralNext(row, 1, maxX, occupied, prob, literal);
                    int found = scan.NextInRow(row.data(), 1, maxX, seed);
                    while (true) {
                        ASSERT_EQ(found, expected) << "p " << p << " wide " << wide << " maxX " << maxX;
                        ASSERT_EQ(seed, literal.RandSeed);
                        if (found > maxX)
                            break;
                        expected = LiteralNext(row, found + 1, maxX, occupied, prob, literal);
                        found = scan.NextInRow(row.data(), found + 1, maxX, seed);
                    }
                }
            }
        }
    }
}

TEST(DrawScan, NextBelowCountsDrawsAgainstOneBound)
{
    for (const double p : {0.0, 0.01, 0.3, 1.0})
        for (const bool wide : {false, true})
            for (const int count : {0, 1, 5, 8, 13, 100}) {
                DrawScan scan;
                scan.UseWideKernel(wide);
                Rng literal{4242u};
                int expected = 0;
                while (expected < count && !(literal.RandomReal() < p))
                    ++expected;
                uint32_t seed = 4242u;
                EXPECT_EQ(scan.NextBelow(count, DrawThreshold(p), seed), expected) << p << " " << count;
                EXPECT_EQ(seed, literal.RandSeed) << p << " " << count << " wide " << wide;
            }
}

} // namespace
} // namespace quorrel
