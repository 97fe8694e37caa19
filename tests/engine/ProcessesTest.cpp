#include "EngineTestSupport.h"
#include "ScriptedDialogs.h"

#include "engine/Model.h"
#include "engine/ContentionStep.h"
#include "engine/Disturbance.h"
#include "engine/Thresholds.h"
#include "params/AssertionFailure.h"

#include <gtest/gtest.h>

#include <memory>
#include <set>

namespace quorrel {
namespace {

using test::ScriptedDialogs;
using test::SmallParameters;

using Positions = std::set<std::pair<int, int>>;

// A model on its own small landscape; the current landscape starts empty.
struct Fixture {
    ParameterSet params;
    std::unique_ptr<Landscapes> lands = std::make_unique<Landscapes>();
    Rng rng;
    ScriptedDialogs dialogs;
    Model model{params, *lands, rng, dialogs, OutcomeKind::Fixed};

    explicit Fixture(const ParameterSet& p, uint32_t seed = 1) : params(p), rng{seed} { model.StartRun(); }

    LandscapeGrid& Current() { return lands->CurrentLandscape; }
    void Fill(int species, float rate = 1.0f)
    {
        for (int y = 1; y <= params.GParamRec.MaxY; ++y)
            for (int x = 1; x <= params.GParamRec.MaxX; ++x)
                Current()(x, y) = Cell{species, rate};
    }
    Positions Empty()
    {
        Positions e;
        for (int y = 1; y <= params.GParamRec.MaxY; ++y)
            for (int x = 1; x <= params.GParamRec.MaxX; ++x)
                if (Current()(x, y).Species == 0)
                    e.insert({x, y});
        return e;
    }
};

uint32_t Advanced(uint32_t seed, int draws)
{
    Rng r{seed};
    for (int i = 0; i < draws; ++i)
        r.Advance();
    return r.RandSeed;
}

TEST(ContentionRule, ProbabilityFollowsRatesAgainstOwnRatesAndOvergrowth)
{
    ParameterSet p = SmallParameters(10, 10, 2);
    p.OutcomeMatrix[1][2] = {100, 0, 0};
    p.MirrorOutcomeMatrix();
    p.RateAgainst[1][2] = 0.5f;
    const Cell invader{1, 0.8f};
    const Cell occupant{2, 0.3f};
    EXPECT_EQ(ContentionProbability(p, invader, occupant), 0.5f);
    EXPECT_EQ(ContentionProbability(p, invader, EmptyCell), 0.8f) << "colonisation at the invader's own rate";
    EXPECT_EQ(ContentionProbability(p, Cell{1, 0.0f}, EmptyCell), 0.0f);
    EXPECT_EQ(ContentionProbability(p, Cell{2, 0.9f}, Cell{2, 0.1f}), 0.0f);
    EXPECT_EQ(ContentionProbability(p, EmptyCell, occupant), 0.0f);
    EXPECT_EQ(ContentionProbability(p, occupant, invader), 0.0f) << "Win of 2 over 1 is 0";

    p.GrowthRates[1] = {-1, 10, 90};
    p.UpdateGRateFractions();
    EXPECT_EQ(ContentionProbability(p, invader, occupant), 0.8f) << "a variable invader uses its own rate";

    p.GParamRec.OverGRate = 50;
    p.OutcomeMatrix[1][2] = {40, 60, 0};
    EXPECT_EQ(ContentionProbability(p, Cell{1, 1.0f}, occupant), float(0.5 * 0.4 * 1.0));
}

// One individual in the corner of an empty torus: a cell is colonised exactly when its
// RandomInt(4) points at the corner (0 left, 1 below, 2 right, 3 above, across the
// edges), each cell taking its neighbour draw and then its probability draw.
TEST(ContentionRule, NeighbourNumberingAndDrawOrderOnATorus)
{
    ParameterSet p = SmallParameters(10, 10);
    std::size_t total = 0;
    for (int variant = 0; variant < 3; ++variant) {
        Fixture f(p);
        f.model.UseWideKernel(variant == 1);
        for (uint32_t seed = 1; seed <= 30; ++seed) {
            f.rng.RandSeed = seed;
            f.model.ClearLandscape();
            f.Current()(1, 1) = Cell{1, 0.75f};
            f.model.CopyLandscapeToPrevious();
            f.model.SetLandscapeBorder();
            variant == 2 ? f.model.FixedOutcomeRuleLiteral() : f.model.FixedOutcomeRule();

            Rng replay{seed};
            Positions colonised;
            for (int y = 1; y <= 10; ++y)
                for (int x = 1; x <= 10; ++x) {
                    const int k = int(replay.RandomInt(4));
                    const double r = replay.RandomReal();
                    const int nx = k == 0 ? (x == 1 ? 10 : x - 1) : k == 2 ? (x == 10 ? 1 : x + 1) : x;
                    const int ny = k == 1 ? (y == 10 ? 1 : y + 1) : k == 3 ? (y == 1 ? 10 : y - 1) : y;
                    if (std::pair(nx, ny) == std::pair(1, 1) && std::pair(x, y) != std::pair(1, 1) && r < 0.75)
                        colonised.insert({x, y});
                }
            EXPECT_EQ(f.rng.RandSeed, replay.RandSeed);
            Positions occupied;
            for (int y = 1; y <= 10; ++y)
                for (int x = 1; x <= 10; ++x)
                    if (f.Current()(x, y).Species != 0 && std::pair(x, y) != std::pair(1, 1)) {
                        occupied.insert({x, y});
                        EXPECT_EQ(f.Current()(x, y), (Cell{1, 0.75f})) << "a colonist carries its parent's rate";
                    }
            EXPECT_EQ(occupied, colonised) << "variant " << variant << ", seed " << seed;
            EXPECT_EQ(f.Current()(1, 1), (Cell{1, 0.75f}));
            total += colonised.size();
        }
    }
    EXPECT_GT(total, 30u);
}

TEST(ContentionRule, DrawThresholdAgreesWithTheRealDrawAtItsBoundary)
{
    for (double prob : {0.0, 0.5, 0.1f + 0.0, 0.3333333f + 0.0, 1.0, 1e-9, -0.25}) {
        const uint64_t t = DrawThreshold(prob);
        for (uint64_t state : {t - 1, t, t + 1}) {
            if (state > 0xFFFFFFFFull)
                continue;
            EXPECT_EQ(state < t, double(state) / 4294967296.0 < prob) << prob << " " << state;
        }
    }
}

TEST(Mortality, PatchesSpreadBreadthFirstUpToTheirSize)
{
    ParameterSet p = SmallParameters(10, 10);
    p.MortalityVector[0] = 4.0f;
    p.MortalityVector[1] = 0.5f;
    // A seed whose first draw kills and whose next five spare the rest of a 3 x 3 block.
    uint32_t seed = 0;
    for (;; ++seed) {
        Rng r{seed};
        bool fits = r.RandomReal() < 0.5;
        for (int i = 0; i < 5; ++i)
            fits = fits && !(r.RandomReal() < 0.5);
        if (fits)
            break;
    }
    for (bool literal : {false, true}) {
        Fixture f(p, seed);
        for (int y = 4; y <= 6; ++y)
            for (int x = 4; x <= 6; ++x)
                f.Current()(x, y) = Cell{1, 1.0f};
        literal ? f.model.ApplyMortalityLiteral() : f.model.ApplyMortality();
        Positions dead;
        for (int y = 4; y <= 6; ++y)
            for (int x = 4; x <= 6; ++x)
                if (f.Current()(x, y).Species == 0)
                    dead.insert({x, y});
        EXPECT_EQ(dead, (Positions{{4, 4}, {4, 5}, {5, 4}, {4, 6}})) << "literal " << literal;
        EXPECT_EQ(f.rng.RandSeed, Advanced(seed, 6)) << "one draw per live individual visited";
    }

    // With a patch size of 0 nobody dies and nothing is drawn.
    p.MortalityVector[0] = 0.0f;
    p.MortalityVector[1] = p.MortalityVector[2] = p.MortalityVector[3] = 1.0f;
    Fixture none(p, 3);
    none.Fill(1);
    none.model.ApplyMortality();
    EXPECT_TRUE(none.Empty().empty());
    EXPECT_EQ(none.rng.RandSeed, 3u);
}

TEST(Mortality, PatchesCrossTheTopEdgeOnlyOnATorus)
{
    for (int border : {0, 1}) {
        ParameterSet p = SmallParameters(10, 10);
        p.GParamRec.Border = border;
        p.MortalityVector[0] = 10.0f;
        p.MortalityVector[1] = 1.0f;
        for (bool literal : {false, true}) {
            Fixture f(p, 8);
            for (int y : {1, 9, 10})
                f.Current()(5, y) = Cell{1, 1.0f};
            literal ? f.model.ApplyMortalityLiteral() : f.model.ApplyMortality();
            EXPECT_EQ(f.Empty().size(), 100u);
            // On a torus the patch from (5, 1) goes on at (5, 10) and (5, 9); with an open
            // border (5, 9) starts a second patch.
            EXPECT_EQ(f.rng.RandSeed, Advanced(8, border == 0 ? 1 : 2)) << "border " << border;
        }
    }
}

TEST(Disturbance, SquarePatchShapesAndTheirLimits)
{
    const struct {
        int maxX, maxY, size, w, h, r;
    } cases[] = {{200, 200, 50, 7, 7, 1}, {200, 200, 10, 3, 3, 1}, {10, 10, 100, 10, 10, 0}, {20, 10, 1, 1, 1, 0}};
    for (const auto& c : cases) {
        GParamStruct g = SmallParameters(c.maxX, c.maxY).GParamRec;
        g.PatchSize = c.size;
        const SquarePatchShape s = SquarePatch(g);
        EXPECT_EQ(std::tuple(s.W, s.H, s.R), std::tuple(c.w, c.h, c.r)) << c.size;
    }
    GParamStruct g = SmallParameters(10, 10).GParamRec;
    g.PatchSize = 101;
    try {
        SquarePatch(g);
        FAIL() << "no assertion failure";
    } catch (const AssertionFailure& e) {
        EXPECT_EQ(e.Message(), "Mismatched disturbance patch; try a different size.");
    }
}

TEST(Disturbance, CornerPatchWrapsOnATorusAndIsCutWhenOpen)
{
    for (int border : {0, 1}) {
        ParameterSet p = SmallParameters(10, 10);
        p.GParamRec.Border = border;
        p.GParamRec.PatchSize = 10;
        Fixture f(p);
        f.Fill(2);
        PlaceSquarePatch(p.GParamRec, f.Current(), SquarePatch(p.GParamRec), 10, 10);
        const Positions expected = border == 0 ? Positions{{10, 10}, {1, 10}, {2, 10}, {10, 1}, {10, 2}, {1, 1},
                                                            {2, 1}, {1, 2}, {2, 2}}
                                               : Positions{{10, 10}};
        EXPECT_EQ(f.Empty(), expected) << "border " << border;
    }
    // Inside the landscape: a 3 x 3 block and one cell under its left column.
    ParameterSet p = SmallParameters(10, 10);
    p.GParamRec.PatchSize = 10;
    Fixture f(p);
    f.Fill(2);
    PlaceSquarePatch(p.GParamRec, f.Current(), SquarePatch(p.GParamRec), 2, 3);
    EXPECT_EQ(f.Empty(), (Positions{{2, 3}, {3, 3}, {4, 3}, {2, 4}, {3, 4}, {4, 4}, {2, 5}, {3, 5}, {4, 5}, {2, 6}}));
}

TEST(Disturbance, EveryCellDrawsAndRandomWalksTakeOneStepDrawEach)
{
    for (int type : {0, 1}) {
        ParameterSet p = SmallParameters(10, 10);
        p.GParamRec.PatchType = type;
        p.GParamRec.PatchSize = 1;
        p.GParamRec.DisturbProb = 1.0f;
        for (bool literal : {false, true}) {
            Fixture f(p, 77);
            f.Fill(3);
            literal ? f.model.ApplyDisturbanceLiteral() : f.model.ApplyDisturbance();
            EXPECT_EQ(f.Empty().size(), 100u);
            EXPECT_EQ(f.rng.RandSeed, Advanced(77, type == 0 ? 100 : 200)) << type << literal;
        }
    }
    ParameterSet p = SmallParameters(10, 10);
    p.GParamRec.PatchType = 2;
    p.GParamRec.DisturbProb = 0.5f;
    Fixture f(p);
    EXPECT_THROW(f.model.ApplyDisturbance(), AssertionFailure);
}

TEST(Recruitment, DrawsAreTakenEvenWhenNothingArrives)
{
    ParameterSet p = SmallParameters(10, 10);
    p.GParamRec.Influx = 1.0f;
    p.GParamRec.RecruitType = 0;
    for (int s = 1; s <= 3; ++s)
        p.RecruitmentVector[s] = 0.0f;
    for (bool literal : {false, true}) {
        Fixture open(p, 21);
        literal ? open.model.ApplyRecruitmentLiteral() : open.model.ApplyRecruitment();
        EXPECT_EQ(open.Empty().size(), 100u);
        EXPECT_EQ(open.rng.RandSeed, Advanced(21, 300)) << "influx, species and probability for every cell";

        // Closed recruitment into an empty landscape: the first cell probes 101 times, then
        // the pass ends.
        ParameterSet closed = p;
        closed.GParamRec.RecruitType = 1;
        Fixture c(closed, 21);
        literal ? c.model.ApplyRecruitmentLiteral() : c.model.ApplyRecruitment();
        EXPECT_EQ(c.Empty().size(), 100u);
        EXPECT_EQ(c.rng.RandSeed, Advanced(21, 1 + 2 * 101));
    }
}

TEST(Recruitment, MutationStaysWithinZeroAndOneAndWidensTheObservedRange)
{
    for (auto [low, high] : {std::pair{0, 2}, std::pair{97, 100}}) {
        ParameterSet p = SmallParameters(20, 20, 2);
        p.GrowthRates[1] = {int8_t(-1), int8_t(low), int8_t(high)};
        p.UpdateGRateFractions();
        p.GParamRec.Influx = 1.0f;
        p.GParamRec.RecruitType = 0;
        p.GParamRec.MutationGR = 1.0f;
        p.GParamRec.MutAmtGR = 5;
        p.RecruitmentVector[1] = p.RecruitmentVector[2] = 1.0f;
        Fixture f(p, 4);
        f.model.ApplyRecruitment();
        float lowest = 1.0f;
        float highest = 0.0f;
        int atBound = 0;
        for (int y = 1; y <= 20; ++y)
            for (int x = 1; x <= 20; ++x) {
                const Cell c = f.Current()(x, y);
                ASSERT_NE(c.Species, 0);
                if (c.Species == 2) {
                    EXPECT_EQ(c.GRate, 1.0f) << "a fixed rate never mutates";
                    continue;
                }
                EXPECT_GE(c.GRate, 0.0f);
                EXPECT_LE(c.GRate, 1.0f);
                atBound += c.GRate == (low == 0 ? 0.0f : 1.0f);
                lowest = std::min(lowest, c.GRate);
                highest = std::max(highest, c.GRate);
            }
        EXPECT_GT(atBound, 0);
        EXPECT_EQ(f.model.ObservedGRateRanges()[1].Low, lowest);
        EXPECT_EQ(f.model.ObservedGRateRanges()[1].High, highest);
        f.model.FeedBackGRateRanges();
        EXPECT_EQ(f.model.GRateFractions()[1], (GRateFraction{-1.0f, lowest, highest}));
        EXPECT_EQ(f.model.GRateFractions()[2], (GRateFraction{1.0f, 0.0f, 0.0f}));
        EXPECT_EQ(f.params.GRateFractions, p.GRateFractions) << "the parameter set is only read";
    }
}

} // namespace
} // namespace quorrel
