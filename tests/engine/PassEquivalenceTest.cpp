#include "EngineTestSupport.h"
#include "StartedRun.h"

#include "engine/EmptyCells.h"
#include "engine/GridOperations.h"
#include "engine/Recruitment.h"
#include "engine/SpeciesMap.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace quorrel {
namespace {

using test::ExpectSameLandscape;
using test::SmallParameters;

// Species 1..3 (species 2 with a range of rates) in the given share of the interior
// cells, the rest empty; 1.0 fills every cell, 0.0 none.
void Fill(const GParamStruct& g, LandscapeGrid& grid, double cover, uint32_t seed)
{
    Rng fill{seed};
    for (int y = 1; y <= g.MaxY; ++y)
        for (int x = 1; x <= g.MaxX; ++x) {
            const bool occupied = cover >= 1.0 || fill.RandomReal() < cover;
            const int s = 1 + int(fill.RandomInt(3));
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

// The probes of a closed recruit's parent read off the species map end where those on the
// landscape end, with the same generator state, on landscapes from empty (the scan after
// the last probe, which finds nobody) to full.
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
            Rng literal{5u};
            Rng probed{5u};
            for (int i = 0; i < 20; ++i) {
                int lx = 0, ly = 0, mx = 0, my = 0;
                const bool found = FindRecruitParent(g, *grid, literal, lx, ly);
                ASSERT_EQ(FindRecruitParent(g, map, *grid, probed, mx, my), found) << Where(size, cover, 5u);
                ASSERT_EQ(probed.RandSeed, literal.RandSeed) << Where(size, cover, 5u);
                if (!found)
                    break;
                ASSERT_EQ(mx, lx);
                ASSERT_EQ(my, ly);
            }
        }
    }
}

struct RecruitmentCase {
    std::string name;
    int recruitType;
    float influx;
    float arrival; // every species' recruitment probability
    float mutation;
};

const RecruitmentCase RecruitmentCases[] = {
    {"open", 0, 0.1f, 0.5f, 0.3f},
    {"closed", 1, 0.1f, 0.5f, 0.3f},
    {"open, certain influx and arrival", 0, 1.0f, 1.0f, 1.0f},
    {"closed, certain influx and arrival", 1, 1.0f, 1.0f, 1.0f},
    {"open, nobody arrives", 0, 0.4f, 0.0f, 0.0f},
    {"closed, nobody arrives", 1, 0.4f, 0.0f, 0.0f},
    {"closed, no influx", 1, 0.0f, 1.0f, 0.0f},
    {"recruitment type without recruits", 2, 0.5f, 1.0f, 0.0f},
};

// The recruitment pass, with and without the list of empty cells and with either search
// kernel, fills the same cells with the same recruits and leaves the generator and the
// observed ranges as the literal pass does.
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
                p.RecruitmentVector[s] = c.arrival;
            for (double cover : {0.0, 0.002, 0.5, 0.97, 1.0}) {
                const uint32_t seed = 3u + uint32_t(size.maxY);
                const std::string where = c.name + ", " + Where(size, cover, seed);
                auto start = std::make_unique<LandscapeGrid>();
                Fill(g, *start, cover, seed);
                auto literal = std::make_unique<LandscapeGrid>(*start);
                Rng literalRng{seed};
                GRateRanges literalObserved = p.GRateFractions;
                ApplyRecruitmentLiteral(p, p.GRateFractions, *literal, literalRng, literalObserved);
                for (const bool listed : {false, true}) {
                    for (const bool wide : {false, true}) {
                        auto grid = std::make_unique<LandscapeGrid>(*start);
                        EmptyCells empties;
                        empties.UseWideKernel(wide);
                        if (listed)
                            empties.List(*grid, g.MaxX, g.MaxY);
                        RecruitmentPass pass;
                        pass.UseWideKernel(wide);
                        Rng rng{seed};
                        GRateRanges observed = p.GRateFractions;
                        pass.Apply(p, p.GRateFractions, *grid, rng, observed, listed ? &empties : nullptr);
                        const std::string how =
                            where + (listed ? ", listed" : ", scanned") + (wide ? ", wide" : ", plain");
                        ASSERT_NO_FATAL_FAILURE(ExpectSameLandscape(g, *literal, *grid, how));
                        ASSERT_EQ(rng.RandSeed, literalRng.RandSeed) << how;
                        ASSERT_EQ(observed, literalObserved) << how;
                    }
                }
            }
        }
    }
}

} // namespace
} // namespace quorrel
