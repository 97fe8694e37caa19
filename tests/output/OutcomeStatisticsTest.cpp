#include "output/OutcomeStatistics.h"

#include "engine/Rng.h"
#include "engine/WideKernel.h"
#include "output/CellTally512.h"
#include "output/OutputFileError.h"
#include "params/AssertionFailure.h"

#include "VariableFixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <span>
#include <string>
#include <utility>
#include <vector>

namespace quorrel {
namespace {

using test::ReadAll;

struct RecordingSink : OutcomeStatisticsSink {
    std::vector<int> shown; // maxgen
    int refreshed = 0;
    void ShowOutcomePlots(const std::array<QImage, 6>&, int maxgen) override { shown.push_back(maxgen); }
    void RefreshOutcomePlots(const std::array<QImage, 6>&) override { ++refreshed; }
};

class OutcomeStatisticsTest : public test::VariableFixture {
protected:
    void SetUp() override
    {
        VariableFixture::SetUp();
        options.OTCFilename = dir.File("Outcome.dat");
        SetVariable(1, 2);
        PlaceThree();
    }

    // Species 1 carries Win 30, 30 and 60 against species 2; species 3 has fixed relations only.
    void PlaceThree(int extraWin = -1)
    {
        Clear();
        Place(1, 1, 1, 0.5f, {{2, {30, 50, 20}}});
        Place(2, 1, 1, 0.5f, {{2, {30, 40, 30}}});
        Place(3, 1, 1, 0.5f, {{2, {60, 20, 20}}});
        Place(4, 1, 2, 0.5f, {{1, {40, 40, 20}}});
        Place(5, 1, 3, 0.5f);
        if (extraWin >= 0)
            Place(6, 1, 1, 0.5f, {{2, {static_cast<int8_t>(extraWin), 0, static_cast<int8_t>(100 - extraWin)}}});
    }

    // The sums once per record, with every kernel this processor has, with or without pairs,
    // against the sums cell by cell.
    void ExpectSumsByRecordEqualSumsCellByCell()
    {
        OutcomeStatistics byCell(params, options, landscape, genotypes, colors);
        byCell.UseLiteralSums(true);
        byCell.ComputeOutcomeStats(1, 0);
        for (const PassKernel& kernel : Kernels())
            for (const bool pairs : {true, false}) {
                SCOPED_TRACE(kernel.name);
                SCOPED_TRACE(pairs ? "with pairs" : "without pairs");
                OutcomeStatistics byRecord(params, options, landscape, genotypes, colors);
                Use(byRecord, kernel);
                byRecord.ComputeOutcomeStats(1, 0, pairs);
                ExpectEqualSums(byRecord, byCell, pairs);
            }
    }

    // The kernels of the sums by record: the 512-bit one takes the sums without pairs; the
    // scans that count the cells per record, the scalar one or the 512-bit one; and the
    // records read every generation or summarised (portably or by the 512-bit kernel) and the
    // summaries kept from one generation to the next.
    struct PassKernel {
        const char* name;
        bool wide;
        bool widest;
        bool scan512;
        bool summaries;
    };
    static std::vector<PassKernel> Kernels()
    {
        std::vector<PassKernel> kernels{{"portable kernel", false, false, false, false},
                                        {"portable kernel, kept summaries", false, false, false, true}};
        if (WideKernelAvailable())
            kernels.push_back({"256-bit kernel", true, false, false, false});
        if (Kernel512Available())
            kernels.push_back({"512-bit kernel", true, true, false, false});
        if (TallyCells512Available()) {
            kernels.push_back({"512-bit kernel and scan", true, true, true, false});
            kernels.push_back({"512-bit kernel and scan, kept summaries", true, true, true, true});
        }
        return kernels;
    }
    static void Use(OutcomeStatistics& stats, const PassKernel& kernel)
    {
        stats.UseWideKernel(kernel.wide);
        stats.UseKernel512(kernel.widest);
        stats.UseScan512(kernel.scan512);
        stats.UseRecordSummaries(kernel.summaries);
    }

    void ExpectSumsEqualWithSharedRecords(bool twoSpecies);

    // Every average and count of the six statistics, per species and per pair (left at zero
    // when computed without pairs).
    void ExpectEqualSums(const OutcomeStatistics& byRecord, const OutcomeStatistics& byCell, bool pairs = true) const
    {
        const int n = params.GParamRec.Maxspec;
        for (int t = 1; t <= 6; ++t)
            for (int s = 1; s <= n; ++s) {
                EXPECT_EQ(byRecord.SpeciesAverage(t, s), byCell.SpeciesAverage(t, s)) << t << " " << s;
                EXPECT_EQ(byRecord.SpeciesCount(t, s), byCell.SpeciesCount(t, s)) << t << " " << s;
                for (int j = 1; j <= n; ++j) {
                    EXPECT_EQ(byRecord.PairAverage(t, s, j), pairs ? byCell.PairAverage(t, s, j) : 0.0f)
                        << t << " " << s << " " << j;
                    EXPECT_EQ(byRecord.PairCount(t, s, j), pairs ? byCell.PairCount(t, s, j) : 0)
                        << t << " " << s << " " << j;
                }
            }
    }

    std::string Header(int file) const
    {
        return std::string(" \r\n===>\r\n \r\n") +
               (file == 1 ? "          Average Probabilities of Species (Normal)\r\n"
                          : "          Average Probabilities of Species (Genotype)\r\n") +
               "                  1                 2                 3        \r\n"
               "Gen No.   Win   Loss  S/O   Win   Loss  S/O   Win   Loss  S/O  \r\n"
               "-------  ----- ----- ----- ----- ----- ----- ----- ----- ----- \r\n";
    }
};

// The sums once per record give exactly the averages and counts of the sums cell by cell:
// records shared by many cells, unset ones, values outside 0..100, and with or without a
// record that cells of two species hold.
TEST_F(OutcomeStatisticsTest, SumsByRecordEqualSumsCellByCell)
{
    for (const bool twoSpecies : {false, true}) {
        SCOPED_TRACE(twoSpecies ? "a record of two species" : "every record of one species");
        ExpectSumsEqualWithSharedRecords(twoSpecies);
    }
}

void OutcomeStatisticsTest::ExpectSumsEqualWithSharedRecords(bool twoSpecies)
{
    Resize(9, 7, 3, 100);
    SetVariable(1, 2);
    SetVariable(2, 3);
    SetVariable(1, 3);
    Rng rng{17};
    for (int y = 1; y <= 7; ++y)
        for (int x = 1; x <= 9; ++x) {
            const int s = int(rng.RandomInt(4));
            if (s == 0 || rng.RandomInt(3) == 0) {
                Place(x, y, s, 0.5f);
                continue;
            }
            const auto win = int8_t(rng.RandomInt(130) - 10);
            const auto loss = int8_t(rng.RandomInt(60));
            Place(x, y, s, 0.5f,
                  {{s % 3 + 1, OutcomeTriple{win, loss, int8_t(100 - win - loss)}},
                   {(s + 1) % 3 + 1, OutcomeTriple{30, 30, 40}}});
        }
    // Copies share their records: whole rows of one genotype, and a species-1 record held
    // by a cell of species 2.
    for (int x = 2; x <= 9; ++x) {
        landscape(x, 3) = landscape(1, 3);
        genotypes.Assign(x, 3, genotypes.Id(1, 3));
    }
    landscape(1, 5) = Cell{1, 0.5f};
    genotypes.Renew(1, 5)[1] = OutcomeTriple{55, 25, 20};
    landscape(2, 5) = Cell{twoSpecies ? 2 : 1, 0.5f};
    genotypes.Assign(2, 5, genotypes.Id(1, 5));

    ExpectSumsByRecordEqualSumsCellByCell();
    OutcomeStatistics byCell(params, options, landscape, genotypes, colors);
    byCell.UseLiteralSums(true);
    byCell.ComputeOutcomeStats(1, 0);
    EXPECT_GT(byCell.SpeciesCount(1, 1), 8);
}

// The same with many species, eight or sixteen opponents at a time in the wide kernels: relations
// variable or not at random, a species count that is not a multiple of eight, copies of
// records within a species or across species, and entries of any value or mostly of a few
// values (so that most records bring no value a species has not met yet, and some do).
TEST_F(OutcomeStatisticsTest, SumsByRecordEqualSumsCellByCellForManySpecies)
{
    struct Case {
        int n;
        bool anySpecies;
        bool fewValues;
    };
    // 23 and 30 species: records of 64 bytes and more whose last chunk of sixteen starts
    // at a byte that is not a multiple of four from the 64 bytes at their end.
    for (const Case& c : {Case{13, true, false}, Case{MaxSpecies, true, false}, Case{13, false, false},
                          Case{MaxSpecies, false, false}, Case{13, false, true}, Case{MaxSpecies, false, true},
                          Case{23, true, false}, Case{30, false, true}}) {
        const int n = c.n;
        SCOPED_TRACE(n);
        SCOPED_TRACE(c.anySpecies ? "copies across species" : "copies within a species");
        SCOPED_TRACE(c.fewValues ? "mostly a few values" : "any values");
        Resize(23, 11, n, 100);
        Rng rng{uint32_t(n)};
        for (int i = 1; i <= n; ++i)
            for (int j = i + 1; j <= n; ++j)
                if (rng.RandomInt(4) != 0)
                    SetVariable(i, j);
        for (int y = 1; y <= 11; ++y)
            for (int x = 1; x <= 23; ++x) {
                const int s = int(rng.RandomInt(uint32_t(n) + 1));
                // Half the cells take the record of the cell to their left, with any species
                // or with that cell's.
                if (x > 1 && rng.RandomInt(2) == 0) {
                    landscape(x, y) = Cell{c.anySpecies ? s : landscape(x - 1, y).Species, 0.5f};
                    genotypes.Assign(x, y, genotypes.Id(x - 1, y));
                    continue;
                }
                Place(x, y, s, 0.5f);
                OutcomeTriple* genotype = genotypes.Renew(x, y);
                for (int j = 1; j <= n; ++j) {
                    const auto win = int8_t(rng.RandomInt(130) - 10);
                    const auto loss = int8_t(rng.RandomInt(120) - 10);
                    genotype[j - 1] = OutcomeTriple{win, loss, int8_t(rng.RandomInt(128))};
                    if (c.fewValues && rng.RandomInt(30) != 0)
                        genotype[j - 1] = OutcomeTriple{int8_t(40 + rng.RandomInt(4)), int8_t(30 + rng.RandomInt(3)),
                                                        int8_t(20 + rng.RandomInt(5))};
                }
            }
        ExpectSumsByRecordEqualSumsCellByCell();
    }
}

// The same generation after generation on one pool, with a window or without: a whole
// interior loaded into the window (record numbers beyond those Take hands out) or renewed
// cell by cell, then cells renewed and copied (with any species, or within a species) so
// often that the pool collects between the sums and records freed are taken again, each
// time summed by the same objects (whose kept summaries must follow).
TEST_F(OutcomeStatisticsTest, SumsByRecordEqualSumsCellByCellOverGenerationsAndWindows)
{
    for (const auto& [anySpecies, window] : {std::pair{true, true}, {false, true}, {true, false}, {false, false}}) {
        SCOPED_TRACE(anySpecies ? "copies across species" : "copies within a species");
        SCOPED_TRACE(window ? "with a window" : "without a window");
        const int n = 13;
        const int maxX = 23;
        const int maxY = 11;
        Resize(maxX, maxY, n, 100);
        Rng rng{41};
        for (int i = 1; i <= n; ++i)
            for (int j = i + 1; j <= n; ++j)
                if (rng.RandomInt(3) != 0)
                    SetVariable(i, j);
        auto pool = std::make_shared<GenotypePool>();
        // Few records beyond one per cell, so that the pool collects every few generations.
        ASSERT_TRUE(pool->Allocate(std::size_t(maxX * maxY) + 20, n, std::size_t(1) << 30, window ? 1 : 0,
                                   window ? std::size_t(maxX * maxY) : 0));
        GenotypeGrid grid;
        ASSERT_TRUE(grid.Allocate(maxX, maxY, pool));
        grid.MarkAllUnset();
        const auto randomTriple = [&] {
            return OutcomeTriple{int8_t(rng.RandomInt(130) - 10), int8_t(rng.RandomInt(120) - 10),
                                 int8_t(rng.RandomInt(128))};
        };
        const auto genotypeOfCell = [&] { return rng.RandomInt(5) == 0 ? UnsetTriple : randomTriple(); };
        if (window) {
            grid.LoadInteriorWith([&](std::span<std::byte> into) {
                for (std::size_t b = 0; b < into.size(); b += 3) {
                    const OutcomeTriple t = genotypeOfCell();
                    std::memcpy(into.data() + b, &t, 3);
                }
            });
            ASSERT_GE(pool->WindowOf(grid.Id(1, 1)), 0);
        } else {
            for (int y = 1; y <= maxY; ++y)
                for (int x = 1; x <= maxX; ++x)
                    std::ranges::generate(std::span(grid.Renew(x, y), std::size_t(n)), genotypeOfCell);
        }
        for (int y = 1; y <= maxY; ++y)
            for (int x = 1; x <= maxX; ++x)
                landscape(x, y) = Cell{int(rng.RandomInt(uint32_t(n) + 1)), 0.5f};

        OutcomeStatistics byCell(params, options, landscape, grid, colors);
        byCell.UseLiteralSums(true);
        // Per kernel: pairs every generation, and pairs in some generations only, as a run
        // computes them.
        const std::vector<PassKernel> kernels = Kernels();
        std::vector<std::unique_ptr<OutcomeStatistics>> always, sometimes;
        for (const PassKernel& kernel : kernels)
            for (auto* into : {&always, &sometimes}) {
                into->push_back(std::make_unique<OutcomeStatistics>(params, options, landscape, grid, colors));
                Use(*into->back(), kernel);
            }
        for (int g = 0; g < 12; ++g) {
            SCOPED_TRACE(g);
            byCell.ComputeOutcomeStats(g == 0 ? 1 : 2, 0);
            const bool pairs = g % 4 == 1;
            for (std::size_t k = 0; k < kernels.size(); ++k) {
                SCOPED_TRACE(kernels[k].name);
                always[k]->ComputeOutcomeStats(g == 0 ? 1 : 2, 0);
                sometimes[k]->ComputeOutcomeStats(g == 0 ? 1 : 2, 0, pairs);
                ExpectEqualSums(*always[k], byCell);
                ExpectEqualSums(*sometimes[k], byCell, pairs);
            }
            // Half the cells change: a new genotype, a copy from the neighbour to the left, or
            // an empty cell.
            for (int y = 1; y <= maxY; ++y)
                for (int x = 1; x <= maxX; ++x) {
                    const uint32_t what = rng.RandomInt(6);
                    if (what == 0) {
                        OutcomeTriple* genotype = grid.Renew(x, y);
                        for (int j = 0; j < n; ++j)
                            genotype[j] = randomTriple();
                        landscape(x, y) = Cell{int(rng.RandomInt(uint32_t(n)) + 1), 0.5f};
                    } else if (what == 1 && x > 1) {
                        grid.Assign(x, y, grid.Id(x - 1, y));
                        landscape(x, y) = anySpecies ? Cell{int(rng.RandomInt(uint32_t(n)) + 1), 0.5f}
                                                     : landscape(x - 1, y);
                    } else if (what == 2) {
                        landscape(x, y) = EmptyCell;
                    }
                }
        }
        EXPECT_GE(pool->Collections(), 2u);
    }
}

// The same where cells share records in the places where the cells are counted sixteen at a
// time matter: a record of one species across groups of sixteen and rows, a record met with
// a second species in one group, across a group's end, across rows and among a row's last
// cells (the count falls back to runs of cells), and a record also held by cells of no
// species or of one above Maxspec, which count for nothing.
TEST_F(OutcomeStatisticsTest, SumsByRecordEqualSumsCellByCellWhereCellsShareARecord)
{
    enum class Holder { Same, Other, NoSpecies, Outside };
    // Cells x0..x1 of row y take the record of the cell at fromX, fromY.
    struct Copy {
        int fromX, fromY, y, x0, x1;
        Holder holder;
    };
    struct Case {
        const char* name;
        std::vector<Copy> copies;
    };
    const std::vector<Case> cases = {
        {"one species along a row", {{5, 2, 2, 1, 40, Holder::Same}}},
        {"one species at groups' ends and in other rows",
         {{16, 1, 1, 17, 17, Holder::Same}, {16, 1, 3, 32, 33, Holder::Same}, {16, 1, 2, 40, 40, Holder::Same}}},
        {"two species in one group", {{3, 1, 1, 9, 9, Holder::Other}}},
        {"two species across a group's end", {{16, 1, 1, 17, 17, Holder::Other}}},
        {"two species in different rows", {{40, 1, 3, 1, 1, Holder::Other}}},
        {"two species among a row's last cells", {{34, 2, 2, 40, 40, Holder::Other}}},
        {"two species after many cells of one",
         {{2, 1, 1, 3, 40, Holder::Same}, {2, 1, 2, 1, 30, Holder::Same}, {2, 1, 3, 38, 38, Holder::Other}}},
        {"cells of no species",
         {{7, 1, 1, 8, 8, Holder::NoSpecies}, {7, 1, 2, 7, 7, Holder::Outside}, {7, 1, 3, 20, 23, Holder::Same}}},
    };
    const int n = 5;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Resize(40, 3, n, 100);
        for (int s = 1; s <= n; ++s)
            for (int j = s + 1; j <= n; ++j)
                SetVariable(s, j);
        Rng rng{23};
        for (int y = 1; y <= 3; ++y)
            for (int x = 1; x <= 40; ++x) {
                Place(x, y, int(rng.RandomInt(uint32_t(n) + 2)), 0.5f);
                OutcomeTriple* genotype = genotypes.Renew(x, y);
                for (int j = 0; j < n; ++j)
                    genotype[j] = OutcomeTriple{int8_t(rng.RandomInt(101)), int8_t(rng.RandomInt(101)),
                                                int8_t(rng.RandomInt(101))};
                if (rng.RandomInt(8) == 0)
                    genotypes.Unset(x, y);
            }
        for (const Copy& copy : c.copies) {
            // The record copied is held by a cell of a species.
            Cell& from = landscape(copy.fromX, copy.fromY);
            if (from.Species < 1 || from.Species > n)
                from.Species = 1;
            if (genotypes.Id(copy.fromX, copy.fromY) == GenotypePool::UnsetRecord)
                genotypes.Renew(copy.fromX, copy.fromY)[0] = OutcomeTriple{10, 20, 70};
            for (int x = copy.x0; x <= copy.x1; ++x) {
                if (x == copy.fromX && copy.y == copy.fromY)
                    continue;
                const int species = copy.holder == Holder::Same        ? from.Species
                                    : copy.holder == Holder::Other     ? from.Species % n + 1
                                    : copy.holder == Holder::NoSpecies ? 0
                                                                       : n + 1;
                landscape(x, copy.y) = Cell{species, 0.5f};
                genotypes.Assign(x, copy.y, genotypes.Id(copy.fromX, copy.fromY));
            }
        }
        ExpectSumsByRecordEqualSumsCellByCell();
    }
}

// Records that cells of one species held in one generation and cells of another species
// hold in the next, the pool unchanged; then a new pool for the grid, whose records have the
// same numbers and other triples: the summaries kept are those of the species and the pool
// that hold a record now.
TEST_F(OutcomeStatisticsTest, KeptSummariesFollowTheSpeciesAndThePoolThatHoldARecord)
{
    OutcomeStatistics byCell(params, options, landscape, genotypes, colors);
    byCell.UseLiteralSums(true);
    std::vector<std::unique_ptr<OutcomeStatistics>> byRecord;
    for (const PassKernel& kernel : Kernels())
        if (kernel.summaries) {
            byRecord.push_back(std::make_unique<OutcomeStatistics>(params, options, landscape, genotypes, colors));
            Use(*byRecord.back(), kernel);
        }
    for (int g = 0; g < 3; ++g) {
        SCOPED_TRACE(g);
        byCell.ComputeOutcomeStats(g == 0 ? 1 : 2, 0, false);
        for (const auto& stats : byRecord) {
            stats->ComputeOutcomeStats(g == 0 ? 1 : 2, 0, false);
            ExpectEqualSums(*stats, byCell, false);
        }
        if (g == 0) {
            // The cells of species 1 pass to species 2 with their records.
            for (int x = 1; x <= 3; ++x) {
                ASSERT_EQ(landscape(x, 1).Species, 1);
                landscape(x, 1).Species = 2;
            }
        } else {
            const uint32_t before = genotypes.Id(1, 1);
            ASSERT_TRUE(genotypes.Allocate(10, 10, 3));
            genotypes.MarkAllUnset();
            Clear();
            Place(1, 1, 2, 0.5f, {{1, {70, 10, 20}}});
            Place(2, 1, 2, 0.5f, {{1, {10, 80, 10}}});
            Place(3, 1, 2, 0.5f, {{1, {0, 0, 100}}});
            ASSERT_EQ(genotypes.Id(1, 1), before);
        }
    }
}

// The sums by record take the widest kernel this processor has unless told otherwise, so
// that the tables above run the 512-bit kernel wherever it runs at all.
TEST_F(OutcomeStatisticsTest, SumsByRecordTakeThe512BitKernelWhereThisProcessorHasIt)
{
    if (!Kernel512Available())
        GTEST_SKIP() << "no 512-bit kernel on this processor or in this build";
    OutcomeStatistics stats(params, options, landscape, genotypes, colors);
    EXPECT_TRUE(stats.UsesKernel512());
    stats.UseKernel512(false);
    EXPECT_FALSE(stats.UsesKernel512());
    stats.UseKernel512(true);
    stats.UseWideKernel(false);
    EXPECT_FALSE(stats.UsesKernel512());
}

// Likewise the 512-bit scan of the cells.
TEST_F(OutcomeStatisticsTest, SumsByRecordTakeThe512BitScanWhereThisProcessorHasIt)
{
    if (!TallyCells512Available())
        GTEST_SKIP() << "no 512-bit scan on this processor or in this build";
    OutcomeStatistics stats(params, options, landscape, genotypes, colors);
    EXPECT_TRUE(stats.UsesScan512());
    stats.UseScan512(false);
    EXPECT_FALSE(stats.UsesScan512());
    stats.UseScan512(true);
    EXPECT_TRUE(stats.UsesScan512());
}

TEST_F(OutcomeStatisticsTest, NormalAndGenotypeAveragesWithPairTables)
{
    OutcomeStatistics stats(params, options, landscape, genotypes, colors);
    stats.ComputeOutcomeStats(1, 0);
    EXPECT_FLOAT_EQ(stats.SpeciesAverage(1, 1), 40.0f);
    EXPECT_FLOAT_EQ(stats.SpeciesAverage(4, 1), 45.0f);
    EXPECT_EQ(stats.SpeciesCount(1, 1), 3);
    EXPECT_EQ(stats.SpeciesCount(4, 1), 2);
    EXPECT_FLOAT_EQ(stats.PreviousAverage(4, 1), 45.0f);
    EXPECT_FLOAT_EQ(stats.PairAverage(1, 3, 3), -1.0f);
    EXPECT_FLOAT_EQ(stats.PairAverage(6, 1, 3), 0.0f);

    stats.WriteOutcomeStats(1, 0);
    stats.ComputeOutcomeStats(2, 0);
    stats.WriteOutcomeStats(2, 1);
    stats.WriteOutcomeStats(3, 0);

    const std::string normal = dir.File("Outcome1.dat");
    const std::string genotype = dir.File("Outcome2.dat");
    const std::string species3 = "   0.0   0.0   0.0 \r\n";
    const std::string pairs = "\r\nGeneration       1\r\n"
                              "  specI specJ    win  loss  stand-off\r\n";
    EXPECT_EQ(ReadAll(normal), Listing(normal) + Header(1) +
                                   "     0    40.0  36.7  23.3  40.0  40.0  20.0" + species3 +
                                   "     1    40.0  36.7  23.3  40.0  40.0  20.0" + species3 + pairs +
                                   "      1   1     -1.0  -1.0  -1.0\r\n"
                                   "      1   2     40.0  36.7  23.3\r\n"
                                   "      1   3      0.0   0.0   0.0\r\n"
                                   "      2   1     40.0  40.0  20.0\r\n"
                                   "      2   2     -1.0  -1.0  -1.0\r\n"
                                   "      2   3      0.0   0.0   0.0\r\n"
                                   "      3   1      0.0   0.0   0.0\r\n"
                                   "      3   2      0.0   0.0   0.0\r\n"
                                   "      3   3     -1.0  -1.0  -1.0\r\n"
                                   "\r\n");
    EXPECT_EQ(ReadAll(genotype), Listing(genotype) + Header(2) +
                                     "     0    45.0  36.7  25.0  40.0  40.0  20.0" + species3 +
                                     "     1    45.0  36.7  25.0  40.0  40.0  20.0" + species3 + pairs +
                                     "      1   1     -1.0  -1.0  -1.0\r\n"
                                     "      1   2     45.0  36.7  25.0\r\n"
                                     "      1   3      0.0   0.0   0.0\r\n"
                                     "      2   1     40.0  40.0  20.0\r\n"
                                     "      2   2     -1.0  -1.0  -1.0\r\n"
                                     "      2   3      0.0   0.0   0.0\r\n"
                                     "      3   1      0.0   0.0   0.0\r\n"
                                     "      3   2      0.0   0.0   0.0\r\n"
                                     "      3   3     -1.0  -1.0  -1.0\r\n"
                                     "\r\n");
}

// The same files whether every generation computes the averages per pair or only those
// that write a pair table; a pair table without them is refused.
TEST_F(OutcomeStatisticsTest, RunResetAfterGeneration150HasPairTablesOf1And101)
{
    std::vector<std::string> files[2];
    for (const bool always : {true, false}) {
        OutcomeStatistics stats(params, options, landscape, genotypes, colors);
        stats.ComputeOutcomeStats(1, 0);
        stats.WriteOutcomeStats(1, 0);
        for (int g = 1; g <= 150; ++g) {
            stats.ComputeOutcomeStats(2, 0, always || OutcomeStatistics::PairTableDue(g));
            stats.WriteOutcomeStats(2, g);
        }
        stats.WriteOutcomeStats(3, 0);
        for (const char* name : {"Outcome1.dat", "Outcome2.dat"})
            files[always ? 0 : 1].push_back(ReadAll(dir.File(name)));
    }
    EXPECT_EQ(files[0], files[1]);

    for (const std::string& text : files[1]) {
        std::vector<std::string> tables;
        for (size_t at = text.find("Generation "); at != std::string::npos; at = text.find("Generation ", at + 1))
            tables.push_back(text.substr(at, 20));
        EXPECT_EQ(tables, (std::vector<std::string>{"Generation       1\r\n", "Generation     101\r\n"}));
        const size_t last = text.rfind("\r\n", text.size() - 3);
        EXPECT_EQ(text.substr(last + 2, 8), "   150  ");
        EXPECT_EQ(text.substr(text.size() - 3), " \r\n");
    }

    OutcomeStatistics stats(params, options, landscape, genotypes, colors);
    stats.ComputeOutcomeStats(1, 0);
    stats.WriteOutcomeStats(1, 0);
    stats.ComputeOutcomeStats(2, 0, false);
    EXPECT_THROW(stats.WriteOutcomeStats(2, 101), AssertionFailure);
    stats.WriteOutcomeStats(3, 0);
}

TEST_F(OutcomeStatisticsTest, ArrayAccumulatesWhilePerLandscapeFilesHoldEachLandscape)
{
    OutcomeStatistics stats(params, options, landscape, genotypes, colors);
    // Landscape (1, 1) as above; landscape (1, 2) with one more individual carrying Win 90.
    PlaceThree();
    stats.WriteLandscapeOutcomeStats(1, 0, 1, 1);
    stats.ComputeOutcomeStats(1, 1);
    PlaceThree(90);
    stats.WriteLandscapeOutcomeStats(1, 0, 1, 2);
    stats.ComputeOutcomeStats(1, 3);
    // Normal: (30 + 30 + 60 + 30 + 30 + 60 + 90) / 7; genotype: {30, 60, 90}.
    EXPECT_FLOAT_EQ(stats.SpeciesAverage(1, 1), 330.0f / 7.0f);
    EXPECT_FLOAT_EQ(stats.SpeciesAverage(4, 1), 60.0f);
    EXPECT_FLOAT_EQ(stats.PreviousAverage(4, 1), 60.0f);

    PlaceThree();
    stats.WriteLandscapeOutcomeStats(2, 1, 1, 1);
    stats.WriteLandscapeOutcomeStats(3, 0, 0, 0);

    const std::string heading = " \r\n===>\r\n \r\n";
    const std::string columns = "                          1                 2                 3        \r\n"
                                "Gen No.  Row Col  Win   Loss  S/O   Win   Loss  S/O   Win   Loss  S/O  \r\n"
                                "-------  --- --- ----- ----- ----- ----- ----- ----- ----- ----- ----- \r\n";
    const std::string normal = dir.File("Outcome11.dat");
    const std::string genotype = dir.File("Outcome12.dat");
    EXPECT_EQ(ReadAll(normal), Listing(normal) + heading +
                                   "          Average Probabilities of Species (Normal)           (for each landscape)  \r\n" +
                                   columns +
                                   "     0     1   1  40.0  36.7  23.3  40.0  40.0  20.0   0.0   0.0   0.0 \r\n"
                                   "     0     1   2  52.5  27.5  20.0  40.0  40.0  20.0   0.0   0.0   0.0 \r\n"
                                   "     1     1   1  40.0  36.7  23.3  40.0  40.0  20.0   0.0   0.0   0.0 \r\n");
    EXPECT_EQ(ReadAll(genotype), Listing(genotype) + heading +
                                     "          Average Probabilities of Species (Genotype)           (for each landscape)  \r\n" +
                                     columns +
                                     "     0     1   1  45.0  36.7  25.0  40.0  40.0  20.0   0.0   0.0   0.0 \r\n"
                                     "     0     1   2  60.0  27.5  20.0  40.0  40.0  20.0   0.0   0.0   0.0 \r\n"
                                     "     1     1   1  45.0  36.7  25.0  40.0  40.0  20.0   0.0   0.0   0.0 \r\n");
}

TEST_F(OutcomeStatisticsTest, PlotsStepByWidthOverMaxgenOrByOnePixel)
{
    struct Case {
        int maxgen;
        int column; // after two extensions
    };
    for (const Case c : {Case{100, 4}, Case{150, 2}, Case{200, 2}, Case{1000, 2}}) {
        SCOPED_TRACE(c.maxgen);
        params.GParamRec.Maxgen = c.maxgen;
        RecordingSink sink;
        OutcomeStatistics stats(params, options, landscape, genotypes, colors, &sink);
        stats.ComputeOutcomeStats(1, 0);
        stats.PlotOutcomeStats(1);
        EXPECT_EQ(sink.shown, std::vector<int>{c.maxgen});
        for (int i = 0; i < 2; ++i) {
            stats.ComputeOutcomeStats(2, 0);
            stats.PlotOutcomeStats(2);
        }
        EXPECT_EQ(sink.refreshed, 2);
        // Genotype Win: species 1 at 45 %, species 2 at 40 %, species 3 at 0 % (bottom row).
        const QImage& plot = stats.Plots()[3];
        ASSERT_EQ(plot.size(), QSize(201, 101));
        EXPECT_EQ(plot.pixel(c.column, 55), colors[1]);
        EXPECT_EQ(plot.pixel(c.column, 60), colors[2]);
        EXPECT_EQ(plot.pixel(c.column, 100), colors[3]);
        EXPECT_NE(plot.pixel(c.column + 1, 55), colors[1]);
        stats.PlotOutcomeStats(3);
        EXPECT_TRUE(stats.Plots()[3].isNull());
    }
}

TEST_F(OutcomeStatisticsTest, InvalidStageOrPartIsAnAssertionFailure)
{
    OutcomeStatistics stats(params, options, landscape, genotypes, colors);
    for (const auto& [stage, part] : {std::pair{0, 0}, std::pair{3, 0}, std::pair{1, 4}, std::pair{2, -1}}) {
        try {
            stats.ComputeOutcomeStats(stage, part);
            ADD_FAILURE() << stage << " " << part;
        } catch (const AssertionFailure& failure) {
            EXPECT_EQ(failure.Message(), "Invalid argument");
            EXPECT_NE(std::string(failure.what()).find("Invalid argument (StatOutcome, line "), std::string::npos);
        }
    }
}

TEST_F(OutcomeStatisticsTest, FileThatCannotBeCreatedEndsTheRun)
{
    options.OTCFilename = dir.File("missing/Outcome.dat");
    OutcomeStatistics stats(params, options, landscape, genotypes, colors);
    stats.ComputeOutcomeStats(1, 0);
    EXPECT_THROW(stats.WriteOutcomeStats(1, 0), OutputFileError);
    EXPECT_THROW(stats.WriteLandscapeOutcomeStats(1, 0, 1, 1), OutputFileError);
}

} // namespace
} // namespace quorrel
