#include "EngineTestSupport.h"
#include "StartedRun.h"

#include "engine/EmptyCells.h"
#include "engine/ContentionStep.h"
#include "engine/Disturbance.h"
#include "engine/GridOperations.h"
#include "engine/Mortality.h"
#include "engine/OccupancyBits.h"
#include "engine/Recruitment.h"
#include "engine/SpeciesMap.h"
#include "engine/WideKernel.h"
#include "params/AssertionFailure.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>

namespace quorrel {
namespace {

using test::ExpectSameLandscape;
using test::SmallParameters;

// Species 1..species (species 2 with a range of rates) in the given share of the interior
// cells, the rest empty; 1.0 fills every cell, 0.0 none.
void Fill(const GParamStruct& g, LandscapeGrid& grid, double cover, uint32_t seed, int species = 3)
{
    Rng fill{seed};
    for (int y = 1; y <= g.MaxY; ++y)
        for (int x = 1; x <= g.MaxX; ++x) {
            const bool occupied = cover >= 1.0 || fill.RandomReal() < cover;
            const int s = 1 + int(fill.RandomInt(uint32_t(species)));
            grid(x, y) = occupied ? Cell{s, s == 2 ? float(fill.RandomReal()) : 0.5f} : EmptyCell;
        }
}

struct Size {
    int maxX;
    int maxY;
};

const Size Sizes[] = {{1, 1}, {1, 9}, {9, 1}, {2, 2}, {23, 17}, {700, 3}, {3, 700}, {700, 700}};

std::string Where(const Size& s, double cover, uint32_t seed)
{
    return std::to_string(s.maxX) + " x " + std::to_string(s.maxY) + ", cover " + std::to_string(cover) +
           ", seed " + std::to_string(seed);
}

// Occupancy bits kept by a pass still tell each interior cell of its landscape and (where
// they keep them) the species of each occupied one, and no column beyond the last counts as empty.
void ExpectBitsMatch(const GParamStruct& g, const LandscapeGrid& grid, const OccupancyBits& bits,
                     const std::string& how)
{
    int empty = 0;
    for (int y = 1; y <= g.MaxY; ++y)
        for (int x = 1; x <= g.MaxX; ++x) {
            empty += grid(x, y).Species == 0;
            ASSERT_EQ(bits.Occupied(x, y), grid(x, y).Species != 0) << how << ", cell " << x << ", " << y;
            if (grid(x, y).Species != 0 && bits.KeepsSpecies()) {
                ASSERT_EQ(bits.Species(x, y), grid(x, y).Species) << how << ", cell " << x << ", " << y;
            }
        }
    // Listed off the bits, the empty cells are those listed off the landscape.
    for (const bool wide : {false, true}) {
        EmptyCells fromGrid;
        EmptyCells fromBits;
        fromGrid.UseWideKernel(wide);
        fromBits.UseWideKernel(wide);
        fromGrid.List(grid, g.MaxX, g.MaxY);
        fromBits.List(bits, g.MaxX, g.MaxY);
        ASSERT_EQ(fromGrid.Count(), empty) << how;
        ASSERT_EQ(fromBits.Count(), empty) << how;
        for (int i = 0; i < empty; ++i)
            ASSERT_EQ(fromBits[i], fromGrid[i]) << how << ", empty cell " << i;
    }
}

// The probes of a closed recruit's parent read off the species map, and those read off the
// occupancy bits, end where those on the landscape end, with the same generator state, on
// landscapes from empty (the scan after the last probe, which finds nobody) to full.
TEST(PassEquivalence, ParentProbesOnTheSpeciesMapMatchThoseOnTheLandscape)
{
    for (const Size& size : Sizes) {
        ParameterSet p = SmallParameters(size.maxX, size.maxY);
        const GParamStruct& g = p.GParamRec;
        for (double cover : {0.0, 0.001, 0.3, 1.0}) {
            auto grid = std::make_unique<LandscapeGrid>();
            Fill(g, *grid, cover, 11u + uint32_t(size.maxX));
            SpeciesMap map;
            map.Build(*grid, g.MaxX, g.MaxY);
            OccupancyBits bits;
            bits.Build(*grid, g.MaxX, g.MaxY);
            ASSERT_NO_FATAL_FAILURE(ExpectBitsMatch(g, *grid, bits, Where(size, cover, 5u)));
            Rng literal{5u};
            Rng probed{5u};
            Rng probedBits{5u};
            for (int i = 0; i < 20; ++i) {
                int lx = 0, ly = 0, mx = 0, my = 0, bx = 0, by = 0;
                const bool found = FindRecruitParent(g, *grid, literal, lx, ly);
                ASSERT_EQ(FindRecruitParent(g, map, *grid, probed, mx, my), found) << Where(size, cover, 5u);
                ASSERT_EQ(FindRecruitParent(g, bits, *grid, probedBits, bx, by), found) << Where(size, cover, 5u);
                ASSERT_EQ(probed.RandSeed, literal.RandSeed) << Where(size, cover, 5u);
                ASSERT_EQ(probedBits.RandSeed, literal.RandSeed) << Where(size, cover, 5u);
                if (!found)
                    break;
                ASSERT_EQ(mx, lx);
                ASSERT_EQ(my, ly);
                ASSERT_EQ(bx, lx);
                ASSERT_EQ(by, ly);
            }
        }
    }
}

// Landscapes of two occupied cells, small enough that every probe often misses: the search
// then scans from the last probe's cell, for every count of probes left over by the groups of four.
TEST(PassEquivalence, ParentProbesThatAllMissScanOnFromTheLastProbe)
{
    const Size sizes[] = {{1, 3}, {2, 3}, {3, 3}, {2, 4}, {3, 5}};
    for (const Size& size : sizes) {
        ParameterSet p = SmallParameters(size.maxX, size.maxY);
        const GParamStruct& g = p.GParamRec;
        auto grid = std::make_unique<LandscapeGrid>();
        Fill(g, *grid, 0.0, 1u);
        (*grid)(1, 1) = Cell{1, 0.5f};
        (*grid)(size.maxX, size.maxY / 2 + 1) = Cell{2, 0.5f};
        SpeciesMap map;
        map.Build(*grid, g.MaxX, g.MaxY);
        OccupancyBits bits;
        bits.Build(*grid, g.MaxX, g.MaxY);
        int allMissed = 0;
        for (uint32_t seed = 1; seed <= 300; ++seed) {
            Rng literal{seed};
            Rng probed{seed};
            Rng probedBits{seed};
            int lx = 0, ly = 0, mx = 0, my = 0, bx = 0, by = 0;
            ASSERT_TRUE(FindRecruitParent(g, *grid, literal, lx, ly));
            ASSERT_TRUE(FindRecruitParent(g, map, *grid, probed, mx, my));
            ASSERT_TRUE(FindRecruitParent(g, bits, *grid, probedBits, bx, by));
            const std::string where = Where(size, 0.0, seed);
            ASSERT_EQ(probed.RandSeed, literal.RandSeed) << where;
            ASSERT_EQ(probedBits.RandSeed, literal.RandSeed) << where;
            ASSERT_EQ(std::pair(mx, my), std::pair(lx, ly)) << where;
            ASSERT_EQ(std::pair(bx, by), std::pair(lx, ly)) << where;
            // Every probe made: two draws for each of MaxX x MaxY + 1 tries.
            Rng every{seed};
            for (int d = 0; d < 2 * (g.MaxX * g.MaxY + 1); ++d)
                every.RandSeed = every.RandSeed * Rng::Multiplier + Rng::Increment;
            allMissed += every.RandSeed == literal.RandSeed ? 1 : 0;
        }
        EXPECT_GT(allMissed, 0) << size.maxX << " x " << size.maxY;
    }
}

struct RecruitmentCase {
    std::string name;
    int recruitType;
    float influx;
    float arrival[3]; // the species' recruitment probabilities
    float mutation;
};

const RecruitmentCase RecruitmentCases[] = {
    {"open", 0, 0.1f, {0.5f, 0.5f, 0.5f}, 0.3f},
    {"closed", 1, 0.1f, {0.5f, 0.5f, 0.5f}, 0.3f},
    {"closed, arrival differing by species", 1, 0.2f, {0.9f, 0.1f, 0.5f}, 0.3f},
    {"open, certain influx and arrival", 0, 1.0f, {1.0f, 1.0f, 1.0f}, 1.0f},
    {"closed, certain influx and arrival", 1, 1.0f, {1.0f, 1.0f, 1.0f}, 1.0f},
    {"open, nobody arrives", 0, 0.4f, {0.0f, 0.0f, 0.0f}, 0.0f},
    {"closed, nobody arrives", 1, 0.4f, {0.0f, 0.0f, 0.0f}, 0.0f},
    {"closed, no influx", 1, 0.0f, {1.0f, 1.0f, 1.0f}, 0.0f},
    {"recruitment type without recruits", 2, 0.5f, {1.0f, 1.0f, 1.0f}, 0.0f},
};

// The recruitment pass, scanning the landscape, with the list of empty cells or with the
// occupancy bits (which it keeps; with and without the species) and with either search kernel, fills the same cells with
// the same recruits and leaves the generator and the observed ranges as the literal pass
// does.
TEST(PassEquivalence, RecruitmentMatchesTheLiteralPass)
{
    for (const RecruitmentCase& c : RecruitmentCases) {
        for (const Size& size : Sizes) {
            ParameterSet p = SmallParameters(size.maxX, size.maxY);
            GParamStruct& g = p.GParamRec;
            g.RecruitType = c.recruitType;
            g.Influx = c.influx;
            g.MutationGR = c.mutation;
            g.MutAmtGR = 4;
            p.GrowthRates[2] = {-1, 20, 60};
            p.UpdateGRateFractions();
            for (int s = 1; s <= 3; ++s)
                p.RecruitmentVector[s] = c.arrival[s - 1];
            for (double cover : {0.0, 0.002, 0.5, 0.97, 1.0}) {
                // A nearly empty landscape of the largest size: hundreds of probes for each
                // closed recruit make the literal pass slow, and the small ones show the same.
                if (cover == 0.002 && size.maxX * size.maxY > 10000)
                    continue;
                const uint32_t seed = 3u + uint32_t(size.maxY);
                const std::string where = c.name + ", " + Where(size, cover, seed);
                auto start = std::make_unique<LandscapeGrid>();
                Fill(g, *start, cover, seed);
                auto literal = std::make_unique<LandscapeGrid>(*start);
                Rng literalRng{seed};
                GRateRanges literalObserved = p.GRateFractions;
                ApplyRecruitmentLiteral(p, p.GRateFractions, *literal, literalRng, literalObserved);
                for (const char* visit : {"scanned", "listed", "on bits", "on bits without species"}) {
                    for (const bool wide : {false, true}) {
                        const std::string how = where + ", " + visit + (wide ? ", wide" : ", plain");
                        auto grid = std::make_unique<LandscapeGrid>(*start);
                        EmptyCells empties;
                        empties.UseWideKernel(wide);
                        OccupancyBits bits;
                        bits.UseWideKernel(wide);
                        RecruitmentPass pass;
                        pass.UseWideKernel(wide);
                        Rng rng{seed};
                        GRateRanges observed = p.GRateFractions;
                        if (std::string(visit).rfind("on bits", 0) == 0) {
                            bits.KeepSpecies(visit == std::string("on bits"));
                            bits.Build(*grid, g.MaxX, g.MaxY);
                            pass.Apply(p, p.GRateFractions, *grid, rng, observed, bits);
                            ASSERT_NO_FATAL_FAILURE(ExpectBitsMatch(g, *grid, bits, how));
                        } else {
                            const bool listed = visit == std::string("listed");
                            if (listed)
                                empties.List(*grid, g.MaxX, g.MaxY);
                            pass.Apply(p, p.GRateFractions, *grid, rng, observed, listed ? &empties : nullptr);
                        }
                        ASSERT_NO_FATAL_FAILURE(ExpectSameLandscape(g, *literal, *grid, how));
                        ASSERT_EQ(rng.RandSeed, literalRng.RandSeed) << how;
                        ASSERT_EQ(observed, literalObserved) << how;
                    }
                }
            }
        }
    }
}

// The kernels of the contention step: each must give the literal rule's landscape.
struct ContentionKernel {
    const char* name;
    bool wide;
    bool widest;
};

const ContentionKernel ContentionKernels[] = {{"portable", false, false}, {"256-bit", true, false}, {"512-bit", true, true}};

// Sets step to the kernel; false where this processor lacks it.
bool UseKernel(ContentionStep& step, const ContentionKernel& kernel)
{
    step.UseKernel512(kernel.widest);
    step.UseWideKernel(kernel.wide);
    if (kernel.wide != step.UsesWideKernel() || kernel.widest != step.UsesKernel512())
        return false;
    return true;
}

// The kernels this processor has are the ones the step picks: the widest by default.
TEST(PassEquivalence, ContentionStepUsesTheWidestKernelThisProcessorHas)
{
    ContentionStep step;
    EXPECT_EQ(step.UsesWideKernel(), WideKernelAvailable());
    EXPECT_EQ(step.UsesKernel512(), Kernel512Available());
    if (!Kernel512Available())
        std::printf("No 512-bit kernel on this processor or in this build: the contention tests run the others.\n");
    for (const ContentionKernel& kernel : ContentionKernels)
        EXPECT_EQ(UseKernel(step, kernel), !kernel.wide || (kernel.widest ? Kernel512Available() : WideKernelAvailable()))
            << kernel.name;
}

// The contention step on landscapes whose bands of rows alternate between stands of one
// species (where the wide kernel copies uniform groups) and mixed rows with empty cells
// (where it works out every probability), so that both ways of the kernel meet every kind
// of row, gives the literal rule's landscape and generator state, and the occupancy bits it
// builds are those of that landscape.
TEST(PassEquivalence, ContentionStepMatchesTheLiteralRuleOnStandsAndMixedRows)
{
    for (const Size& size : Sizes) {
        for (const int band : {1, 3, 16}) {
            ParameterSet p = SmallParameters(size.maxX, size.maxY);
            p.GrowthRates[2] = {-1, 20, 80};
            p.UpdateGRateFractions();
            p.OutcomeMatrix[1][2] = {60, 30, 10};
            p.OutcomeMatrix[2][3] = {30, 60, 10};
            p.MirrorOutcomeMatrix();
            p.GParamRec.OverGRate = 70;
            const GParamStruct& g = p.GParamRec;
            auto lands = std::make_unique<Landscapes>();
            Fill(g, lands->PreviousLandscape, 0.6, uint32_t(band));
            for (int y = 1; y <= g.MaxY; ++y)
                if ((y - 1) / band % 2 == 0)
                    for (int x = 1; x <= g.MaxX; ++x)
                        lands->PreviousLandscape(x, y) = Cell{1 + (y / (2 * band)) % 3, 0.5f};
            SetLandscapeBorder(g, lands->PreviousLandscape);
            auto literal = std::make_unique<Landscapes>(*lands);
            Rng literalRng{17u};
            FixedOutcomeRuleLiteral(p, literal->PreviousLandscape, literal->CurrentLandscape, literalRng);
            for (const ContentionKernel& kernel : ContentionKernels) {
                for (const bool withBits : {false, true}) {
                    ContentionStep step;
                    if (!UseKernel(step, kernel))
                        continue;
                    step.Prepare(p);
                    Rng rng{17u};
                    OccupancyBits bits;
                    bits.Reserve();
                    step.Run(g, lands->PreviousLandscape, lands->CurrentLandscape, rng,
                             withBits ? RowSteps(nullptr, nullptr, &bits) : RowSteps());
                    const std::string how = Where(size, 0.6, 17u) + ", bands of " + std::to_string(band) + ", " +
                                            kernel.name + (withBits ? ", with bits" : "");
                    ASSERT_NO_FATAL_FAILURE(
                        ExpectSameLandscape(g, literal->CurrentLandscape, lands->CurrentLandscape, how));
                    ASSERT_EQ(rng.RandSeed, literalRng.RandSeed) << how;
                    if (withBits) {
                        ASSERT_NO_FATAL_FAILURE(ExpectBitsMatch(g, lands->CurrentLandscape, bits, how));
                    }
                }
            }
        }
    }
}

// The contention step with each kernel, for species counts whose probability tables have
// up to 16, up to 32 and more entries, on a torus and with an open border, on empty, mixed
// and full landscapes, gives the literal rule's landscape and generator state, and the
// occupancy bits it builds as it goes (with and without the species, with and without
// single-cell mortality on each row) are those of the landscape it leaves.
TEST(PassEquivalence, ContentionStepBuildsTheOccupancyBitsOfItsRows)
{
    // The bits start out as those of a landscape of a species that no run has, so that
    // whatever the step fails to write shows.
    auto stale = std::make_unique<LandscapeGrid>();
    for (int y = 0; y < LandscapeGrid::Size; ++y)
        std::fill(stale->Row(y), stale->Row(y) + LandscapeGrid::Size, Cell{255, 0.5f});
    for (const int species : {3, 4, 6, 40}) {
        for (const Size& size : Sizes) {
            for (const int border : {0, 1}) {
                ParameterSet p = SmallParameters(size.maxX, size.maxY, species);
                GParamStruct& g = p.GParamRec;
                g.Border = border;
                g.OverGRate = 80;
                for (int i = 1; i <= species; ++i) {
                    if (i % 2 == 0)
                        p.GrowthRates[i] = {-1, int8_t(10 + i % 30), 90};
                    for (int j = i + 1; j <= species; ++j) {
                        const int8_t win = int8_t((i * 37 + j * 11) % 90);
                        p.OutcomeMatrix[i][j] = {win, int8_t(90 - win), 10};
                        p.RateAgainst[i][j] = float((20 + (i * 7 + j) % 70) / 100.0);
                        p.RateAgainst[j][i] = float((25 + (j * 5 + i) % 60) / 100.0);
                    }
                }
                p.MirrorOutcomeMatrix();
                p.UpdateGRateFractions();
                p.MortalityVector[0] = 1.0f;
                for (int s = 1; s <= species; ++s)
                    p.MortalityVector[s] = float(0.02 * (s % 4));
                for (const double cover : {0.0, 0.6, 1.0}) {
                    const uint32_t seed = 21u + uint32_t(size.maxX + species);
                    auto lands = std::make_unique<Landscapes>();
                    Fill(g, lands->PreviousLandscape, cover, seed, species);
                    SetLandscapeBorder(g, lands->PreviousLandscape);
                    for (const bool mortality : {false, true}) {
                        auto literal = std::make_unique<Landscapes>(*lands);
                        Rng literalRng{seed};
                        FixedOutcomeRuleLiteral(p, literal->PreviousLandscape, literal->CurrentLandscape, literalRng);
                        if (mortality)
                            ApplyMortalityLiteral(p, literal->CurrentLandscape, literalRng);
                        for (const ContentionKernel& kernel : ContentionKernels) {
                            for (const bool keepSpecies : {true, false}) {
                                ContentionStep step;
                                if (!UseKernel(step, kernel))
                                    continue;
                                const std::string how = std::to_string(species) + " species, border " +
                                                        std::to_string(border) + ", " + Where(size, cover, seed) +
                                                        (mortality ? ", single-cell mortality" : "") + ", " +
                                                        kernel.name + (keepSpecies ? "" : ", without species");
                                auto fast = std::make_unique<Landscapes>(*lands);
                                SingleCellMortality single;
                                single.Prepare(p);
                                OccupancyBits bits;
                                bits.Build(*stale, MaxLandscapeSide, MaxLandscapeSide);
                                bits.KeepSpecies(keepSpecies);
                                step.Prepare(p);
                                Rng rng{seed};
                                step.Run(g, fast->PreviousLandscape, fast->CurrentLandscape, rng,
                                         RowSteps(mortality ? &single : nullptr, nullptr, &bits));
                                ASSERT_NO_FATAL_FAILURE(
                                    ExpectSameLandscape(g, literal->CurrentLandscape, fast->CurrentLandscape, how));
                                ASSERT_EQ(rng.RandSeed, literalRng.RandSeed) << how;
                                ASSERT_NO_FATAL_FAILURE(ExpectBitsMatch(g, fast->CurrentLandscape, bits, how));
                            }
                        }
                    }
                }
            }
        }
    }
}

struct MortalityCase {
    std::string name;
    float size; // MortalityVector[0]
    float species[3];
};

const MortalityCase MortalityCases[] = {
    {"single cells, bounds differing by species", 1.0f, {0.02f, 0.3f, 0.0f}},
    {"patches of 4", 4.0f, {0.02f, 0.02f, 0.02f}},
    {"patches of 9, bounds differing by species", 9.0f, {0.01f, 0.2f, 0.05f}},
    {"patches, certain death", 3.0f, {1.0f, 1.0f, 1.0f}},
    {"patches, certain for one species", 5.0f, {0.1f, 1.0f, 0.0f}},
    {"patches, nobody dies", 4.0f, {0.0f, 0.0f, 0.0f}},
};

// The mortality pass, with either search kernel, scanning the cells or the occupancy bits
// (which it keeps), on a torus and with an open border, kills the cells and takes the draws
// of the literal pass.
TEST(PassEquivalence, MortalityMatchesTheLiteralPass)
{
    for (const MortalityCase& c : MortalityCases) {
        for (const Size& size : Sizes) {
            for (const int border : {0, 1}) {
                ParameterSet p = SmallParameters(size.maxX, size.maxY);
                p.GParamRec.Border = border;
                p.MortalityVector[0] = c.size;
                for (int s = 1; s <= 3; ++s)
                    p.MortalityVector[s] = c.species[s - 1];
                for (double cover : {0.0, 0.5, 1.0}) {
                    const uint32_t seed = 9u + uint32_t(size.maxX);
                    const std::string where =
                        c.name + ", border " + std::to_string(border) + ", " + Where(size, cover, seed);
                    auto start = std::make_unique<LandscapeGrid>();
                    Fill(p.GParamRec, *start, cover, seed);
                    auto literal = std::make_unique<LandscapeGrid>(*start);
                    Rng literalRng{seed};
                    ApplyMortalityLiteral(p, *literal, literalRng);
                    for (const bool wide : {false, true}) {
                        for (const bool tracked : {false, true}) {
                            auto grid = std::make_unique<LandscapeGrid>(*start);
                            OccupancyBits bits;
                            bits.UseWideKernel(wide);
                            bits.Build(*grid, p.GParamRec.MaxX, p.GParamRec.MaxY);
                            MortalityPass pass;
                            pass.UseWideKernel(wide);
                            Rng rng{seed};
                            pass.Apply(p, *grid, rng, tracked ? &bits : nullptr);
                            const std::string how =
                                where + (wide ? ", wide" : ", plain") + (tracked ? ", on bits" : "");
                            ASSERT_NO_FATAL_FAILURE(ExpectSameLandscape(p.GParamRec, *literal, *grid, how));
                            ASSERT_EQ(rng.RandSeed, literalRng.RandSeed) << how;
                            if (tracked) {
                                ASSERT_NO_FATAL_FAILURE(ExpectBitsMatch(p.GParamRec, *grid, bits, how));
                            }
                        }
                    }
                }
            }
        }
    }
}

// The disturbance pass, square and random-walk patches, rare to certain, on a torus and
// with an open border, with and without occupancy bits to keep, clears the cells and takes
// the draws of the literal pass.
TEST(PassEquivalence, DisturbanceMatchesTheLiteralPass)
{
    for (const int patchType : {0, 1}) {
        for (const float prob : {0.0f, 0.01f, 0.3f, 1.0f}) {
            for (const Size& size : Sizes) {
                for (const int border : {0, 1}) {
                    ParameterSet p = SmallParameters(size.maxX, size.maxY);
                    GParamStruct& g = p.GParamRec;
                    g.Border = border;
                    g.PatchType = patchType;
                    g.DisturbProb = prob;
                    g.PatchSize = std::min(9, g.MaxX * g.MaxY);
                    const uint32_t seed = 13u + uint32_t(size.maxY);
                    const std::string where = "patch type " + std::to_string(patchType) + ", probability " +
                                              std::to_string(prob) + ", border " + std::to_string(border) + ", " +
                                              Where(size, 0.8, seed);
                    auto start = std::make_unique<LandscapeGrid>();
                    Fill(g, *start, 0.8, seed);
                    auto literal = std::make_unique<LandscapeGrid>(*start);
                    Rng literalRng{seed};
                    bool literalFails = false;
                    try {
                        ApplyDisturbanceLiteral(p, *literal, literalRng);
                    } catch (const AssertionFailure&) {
                        literalFails = true; // a square patch that does not fit this landscape
                    }
                    for (const bool wide : {false, true}) {
                        auto grid = std::make_unique<LandscapeGrid>(*start);
                        OccupancyBits bits;
                        bits.Build(*grid, g.MaxX, g.MaxY);
                        OccupancyBits* tracked = wide ? &bits : nullptr;
                        DisturbancePass pass;
                        pass.UseWideKernel(wide);
                        Rng rng{seed};
                        const std::string how = where + (wide ? ", wide, on bits" : ", plain");
                        if (literalFails) {
                            EXPECT_THROW(pass.Apply(p, *grid, rng, tracked), AssertionFailure) << how;
                            continue;
                        }
                        pass.Apply(p, *grid, rng, tracked);
                        ASSERT_NO_FATAL_FAILURE(ExpectSameLandscape(g, *literal, *grid, how));
                        ASSERT_EQ(rng.RandSeed, literalRng.RandSeed) << how;
                        if (tracked != nullptr) {
                            ASSERT_NO_FATAL_FAILURE(ExpectBitsMatch(g, *grid, bits, how));
                        }
                    }
                }
            }
        }
    }
}

} // namespace
} // namespace quorrel
