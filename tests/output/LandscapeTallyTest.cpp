#include "output/LandscapeTally.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

namespace quorrel {
namespace {

// Every float from a to b (bit patterns, b excluded).
template <typename Check>
void ForEveryFloat(float a, float b, Check check)
{
    for (uint32_t bits = std::bit_cast<uint32_t>(a); bits < std::bit_cast<uint32_t>(b); ++bits)
        check(std::bit_cast<float>(bits));
}

TEST(LandscapeTallyTest, ClassesAndSumsOfEveryRateInRangeAreThoseOfTheLiteralForms)
{
    // The class of the frequency-time plot, literally and from the whole percentage, for
    // every rate in [0, 2).
    int64_t classMismatches = 0;
    ForEveryFloat(0.0f, 2.0f, [&](float rate) {
        const int literal = std::clamp(static_cast<int>(rate * 10.0f) + 1, 1, 10);
        const int percent = std::clamp(static_cast<int>(rate * 100.0f), 0, 100);
        classMismatches += literal != std::min(percent / 10 + 1, 10) ? 1 : 0;
    });
    EXPECT_EQ(classMismatches, 0);
    // Every rate of an exact tally as a whole number of units, and back.
    int64_t inexactUnits = 0;
    auto units = [&](float rate) {
        const int64_t whole = static_cast<int64_t>(rate * 0x1p33f);
        inexactUnits += static_cast<double>(whole) * LandscapeTally::RateUnit != static_cast<double>(rate) ? 1 : 0;
    };
    units(0.0f);
    ForEveryFloat(0x1p-10f, 2.0f, units);
    EXPECT_EQ(inexactUnits, 0);
}

TEST(LandscapeTallyTest, CountsByPercentageInRangeAndExactOnlyForRatesItCanSumExactly)
{
    struct Case {
        const char* name;
        float odd; // the rate of the one cell that differs
        bool inRange;
        bool exact;
    };
    const Case cases[] = {
        {"zero", 0.0f, true, true},
        {"negative zero", -0.0f, false, false},
        {"smallest exact", 0x1p-10f, true, true},
        {"one", 1.0f, true, true},
        {"largest exact", std::nextafter(2.0f, 0.0f), true, true},
        {"below 2^-10", std::nextafter(0x1p-10f, 0.0f), true, false},
        {"smallest positive", std::numeric_limits<float>::denorm_min(), true, false},
        {"two", 2.0f, false, false},
        {"negative", -0.25f, false, false},
        {"not a number", std::numeric_limits<float>::quiet_NaN(), false, false},
        {"infinite", std::numeric_limits<float>::infinity(), false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        LandscapeGrid landscape;
        for (int y = 1; y <= 5; ++y)
            for (int x = 1; x <= 7; ++x) // an odd width: the last cell of a row on its own
                landscape(x, y) = Cell{x % 3, x == 7 ? 0.45f : 0.25f};
        landscape(8, 1) = Cell{2, -1.0f};           // outside the landscape
        landscape(1, 3) = Cell{MaxSpecies + 1, 0.5f}; // a species outside the table: left out
        landscape(2, 4) = Cell{-1, 0.5f};
        landscape(3, 5) = Cell{3, c.odd};
        LandscapeTally tally;
        tally.Take(landscape, 7, 5);
        EXPECT_EQ(tally.InRange(), c.inRange);
        EXPECT_EQ(tally.Exact(), c.exact);
        EXPECT_EQ(tally.Cells(0), 9);
        EXPECT_EQ(tally.AtPercent(0, 25), 9);
        // 0.45f times 100 rounds to 45 in single precision.
        EXPECT_EQ(tally.Cells(1), 14);
        EXPECT_EQ(tally.AtPercent(1, 25), 9);
        EXPECT_EQ(tally.AtPercent(1, 45), 5);
        EXPECT_EQ(tally.AtPercent(1, 44), 0);
        EXPECT_EQ(tally.Cells(2), 9);
        EXPECT_EQ(tally.Cells(3), 1);
        EXPECT_EQ(tally.Cells(MaxSpecies), 0);
        if (c.exact) {
            EXPECT_EQ(tally.RateUnits(2), 9 * (int64_t(1) << 31));
            EXPECT_EQ(static_cast<double>(tally.RateUnits(3)) * LandscapeTally::RateUnit, static_cast<double>(c.odd));
        }
    }
}

// The tallies of the frequent-cell kernel against those taken cell by cell: landscapes of few
// values, of more frequent values than the table holds, with a frequent value the sample
// misses, with rare values among frequent ones, mixed with cells of rates of their own (as a
// species of varying rates leaves them), of widths that are not whole groups, or of nothing
// but rates of their own, among them rates out of range and species outside the tables.
TEST(LandscapeTallyTest, FrequentCellsGiveTheTalliesOfCellByCell)
{
    struct Case {
        const char* name;
        int maxX;
        int maxY;
        int values;     // distinct values the cells take in turn at random
        int ownRate;    // one cell in ownRate has a rate of its own (0: none)
        int oddX, oddY; // where a further distinct cell stands (0: none)
        int oddRow;     // a row of one further value (0: none)
        bool outOfRange = false; // the rates of their own include some out of range, of odd species
    };
    const Case cases[] = {
        {"one cell", 1, 1, 1, 0, 0, 0, 0},
        {"three species and empty", 700, 700, 4, 0, 0, 0, 0},
        {"a full table", 37, 11, FrequentCells::Capacity, 0, 0, 0, 0},
        {"more frequent values than the table holds", 37, 11, FrequentCells::Capacity + 4, 0, 0, 0, 0},
        {"a rare value at a row's start", 37, 11, 3, 0, 1, 6, 0},
        {"a rare value inside a group", 37, 11, 3, 0, 14, 9, 0},
        {"a rare value in a row's last cells", 37, 11, 3, 0, 36, 11, 0},
        {"a frequent row between the sampled rows", 37, 11, 3, 0, 0, 0, 4},
        {"a third of the cells with rates of their own", 203, 57, 3, 3, 0, 0, 0},
        {"narrower than a group", 3, 9, 5, 0, 2, 4, 0},
        {"rates of their own", 101, 13, 0, 1, 0, 0, 0},
        {"rates of their own, some out of range", 203, 17, 0, 1, 0, 0, 0, true},
        {"a third out of range among frequent cells", 203, 17, 3, 3, 0, 0, 0, true},
    };
    const float odd[] = {-0.0f, -0.25f, 2.0f, 7.5e9f, std::numeric_limits<float>::infinity(),
                         std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::denorm_min(), 0.999f};
    const int oddSpecies[] = {0, 1, MaxSpecies, MaxSpecies + 1, -3, 1000};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        LandscapeGrid landscape;
        uint32_t state = 12345u;
        for (int y = 1; y <= c.maxY; ++y)
            for (int x = 1; x <= c.maxX; ++x) {
                state = state * 1664525u + 1013904223u;
                const int v = static_cast<int>(state >> 24) % std::max(c.values, 1);
                const bool own = c.ownRate > 0 && static_cast<int>(state >> 20) % c.ownRate == 0;
                landscape(x, y) = own ? Cell{static_cast<int>(state >> 28), static_cast<float>(state >> 9) * 0x1p-23f}
                                      : Cell{v % 3, 0.125f * static_cast<float>(v)};
                if (own && c.outOfRange && (state >> 12) % 4 == 0)
                    landscape(x, y) = Cell{oddSpecies[(state >> 4) % 6], odd[(state >> 8) % 8]};
            }
        if (c.oddX > 0)
            landscape(c.oddX, c.oddY) = Cell{MaxSpecies, 1.5f};
        for (int x = 1; c.oddRow > 0 && x <= c.maxX; ++x)
            landscape(x, c.oddRow) = Cell{7, 0.75f};
        LandscapeTally wide;
        LandscapeTally plain;
        plain.UseWideKernel(false);
        wide.Take(landscape, c.maxX, c.maxY);
        plain.Take(landscape, c.maxX, c.maxY);
        EXPECT_EQ(wide.InRange(), plain.InRange());
        EXPECT_EQ(wide.Exact(), plain.Exact());
        int64_t cells = 0;
        for (int s = 0; s <= MaxSpecies; ++s) {
            EXPECT_EQ(wide.Cells(s), plain.Cells(s)) << "species " << s;
            EXPECT_EQ(wide.RateUnits(s), plain.RateUnits(s)) << "species " << s;
            for (int p = 0; p < LandscapeTally::Percents; ++p)
                EXPECT_EQ(wide.AtPercent(s, p), plain.AtPercent(s, p)) << "species " << s << ", " << p << " %";
            cells += plain.Cells(s);
        }
        int64_t inTables = 0;
        for (int y = 1; y <= c.maxY; ++y)
            for (int x = 1; x <= c.maxX; ++x)
                inTables += landscape(x, y).Species >= 0 && landscape(x, y).Species <= MaxSpecies ? 1 : 0;
        EXPECT_EQ(cells, inTables);
    }
}

// A tally that takes one landscape after another holds nothing of the landscapes before:
// the rows of species that only an earlier landscape had, the cells of species outside the
// tables, and fewer species after more.
TEST(LandscapeTallyTest, EachLandscapeIsTalliedAfreshAfterAnother)
{
    const std::vector<std::vector<int>> sequences = {
        {MaxSpecies, 2, 0}, {3, -4, 1}, {99, MaxSpecies, 5}, {1, 1, 7}};
    for (const bool wideKernel : {true, false}) {
        for (const std::vector<int>& species : sequences) {
            LandscapeTally reused;
            reused.UseWideKernel(wideKernel);
            for (const int highest : species) {
                SCOPED_TRACE(testing::Message() << "highest species " << highest << (wideKernel ? ", wide" : ""));
                LandscapeGrid landscape;
                for (int y = 1; y <= 9; ++y)
                    for (int x = 1; x <= 13; ++x) {
                        const int s = (x * 7 + y * 3) % 4 == 0 ? highest : (x + y) % 3;
                        landscape(x, y) = Cell{s, 0.25f * static_cast<float>((x + s) % 4)};
                    }
                LandscapeTally fresh;
                fresh.UseWideKernel(wideKernel);
                reused.Take(landscape, 13, 9);
                fresh.Take(landscape, 13, 9);
                EXPECT_EQ(reused.InRange(), fresh.InRange());
                EXPECT_EQ(reused.Exact(), fresh.Exact());
                for (int s = 0; s <= MaxSpecies; ++s) {
                    ASSERT_EQ(reused.Cells(s), fresh.Cells(s)) << "species " << s;
                    ASSERT_EQ(reused.RateUnits(s), fresh.RateUnits(s)) << "species " << s;
                    for (int p = 0; p < LandscapeTally::Percents; ++p)
                        ASSERT_EQ(reused.AtPercent(s, p), fresh.AtPercent(s, p)) << "species " << s << ", " << p;
                }
            }
        }
    }
}

} // namespace
} // namespace quorrel
