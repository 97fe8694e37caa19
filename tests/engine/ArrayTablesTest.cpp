#include "EngineTestSupport.h"
#include "ScriptedDialogs.h"

#include "engine/ArraySettings.h"
#include "engine/GRateVects.h"
#include "engine/VOTCVects.h"
#include "params/AssertionFailure.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <utility>
#include <vector>

namespace quorrel::test {
namespace {

ArraySettings Array(int rows, int cols, uint8_t grates, uint8_t outcomes = UniformSpread)
{
    ArraySettings a;
    a.NumOfRow = rows;
    a.NumOfCol = cols;
    a.TypeGRate = grates;
    a.TypeVOTC = outcomes;
    return a;
}

TEST(ValidateArraySettings, EveryFieldRefusedInOrderWithItsMessage)
{
    const ArraySettingTexts good{"2", "5", " clumped ", "0.5", "3", "0.25", "GRADIENT"};
    struct Case {
        ArraySettingTexts texts;
        bool variable;
        std::string message;
    };
    auto with = [&](auto change) {
        ArraySettingTexts t = good;
        change(t);
        return t;
    };
    const std::string landscapes =
        "The total number of landscapes must be given and be between 2x2 and 10x10 (rows x cols).";
    const Case cases[] = {
        {with([](auto& t) { t.NumOfRow = ""; }), false, landscapes},
        {with([](auto& t) { t.NumOfCol = "11"; }), false, landscapes},
        {with([](auto& t) { t.NumOfRow = "1"; }), false, landscapes},
        {with([](auto& t) { t.NumOfRow = "+3"; }), false, landscapes},
        {with([](auto& t) { t.TypeGRate = "Patchy"; }), false,
         "The initial distribution of growth rates must be one of\rUniform, Gradient, or Clumped"},
        {with([](auto& t) { t.TypeVOTC = ""; }), true,
         "The type of outcome among landscapes must be one of\rUniform, Gradient, or Clumped"},
        {with([](auto& t) { t.InfluxBetween = ""; }), false,
         "You have to specify the probability of influx between landscapes."},
        {with([](auto& t) { t.InfluxBetween = "0.1.2"; }), false,
         "The probability of influx between landscapes must be between 0.0 and 1.0"},
        {with([](auto& t) { t.InfluxBetween = "1.01"; }), false,
         "The probability of influx between landscapes must be between 0.0 and 1.0"},
        {with([](auto& t) { t.InfluxTimeStep = "2.5"; }), false, "You must specify the influx time steps."},
        {with([](auto& t) { t.InfluxTimeStep = ""; }), false, "You must specify the influx time steps."},
        {with([](auto& t) { t.InfluxTimeStep = "0"; }), false, "The influx time steps must be greater than zero."},
        {with([](auto& t) { t.InfluxInside = ""; }), false,
         "You must specify the probability of influx within a landscape."},
        {with([](auto& t) { t.InfluxInside = "-0.1"; }), false,
         "The probability of influx within a landscape must be between 0.0 and 1.0"},
    };
    for (const Case& c : cases) {
        ScriptedDialogs dialogs;
        ArraySettings settings;
        ParameterSet params = SmallParameters(10, 10);
        const float influx = params.GParamRec.Influx;
        EXPECT_FALSE(ValidateArraySettings(c.texts, c.variable, settings, params, dialogs)) << c.message;
        ASSERT_EQ(dialogs.messages.size(), 1u);
        EXPECT_EQ(dialogs.messages[0].text, c.message);
        EXPECT_EQ(dialogs.messages[0].kind, MessageKind::Error);
        EXPECT_EQ(params.GParamRec.Influx, influx);
    }

    // A fixed-outcome array does not read the outcome spread; the settings checked before a
    // refusal are kept.
    ScriptedDialogs dialogs;
    ArraySettings settings;
    ParameterSet params = SmallParameters(10, 10);
    EXPECT_FALSE(ValidateArraySettings(with([](auto& t) { t.InfluxTimeStep = "0"; }), false, settings, params, dialogs));
    EXPECT_EQ(settings.NumOfCol, 5);
    EXPECT_EQ(settings.InfluxBetween, 0.5f);
    EXPECT_EQ(settings.InfluxTimeStep, 100);

    EXPECT_TRUE(ValidateArraySettings(good, true, settings, params, dialogs));
    EXPECT_EQ(settings.TypeGRate, ClumpedSpread);
    EXPECT_EQ(settings.TypeVOTC, GradientSpread);
    EXPECT_EQ(settings.InfluxTimeStep, 3);
    EXPECT_EQ(settings.InfluxInside, 0.25f);
    EXPECT_EQ(params.GParamRec.Influx, 0.25f);
}

TEST(ArraySettings, TextsOfTheSettingsReadBackToTheSameValues)
{
    ArraySettings settings;
    ParameterSet params = SmallParameters(10, 10);
    params.GParamRec.Influx = 0.0123f;
    params.GParamRec.RecruitType = 0;
    PrepareArrayWindow(params, settings);
    EXPECT_EQ(params.GParamRec.RecruitType, 1);
    settings.InfluxBetween = 1e-7f;
    ArraySettings back;
    ScriptedDialogs dialogs;
    ASSERT_TRUE(ValidateArraySettings(ArraySettingTextsFrom(settings), true, back, params, dialogs));
    EXPECT_EQ(back, settings);
}

class GRateVectsTest : public ::testing::Test {
protected:
    ParameterSet params = SmallParameters(10, 10);
    Rng rng;
    ScriptedDialogs dialogs;
    GRateVects vects;

    void SetUp() override
    {
        params.GrowthRates[1] = GrowthRate{-1, 20, 60};
        params.GrowthRates[2] = GrowthRate{45, 0, 0};
        params.GrowthRates[3] = GrowthRate{-1, 0, 100};
        params.UpdateGRateFractions();
        rng.RandSeed = 99;
    }
};

TEST_F(GRateVectsTest, UniformGivesEveryLandscapeTheWholeTableAndListsIt)
{
    TempFolder dir;
    ArraySettings a = Array(2, 3, UniformSpread);
    a.InitGRFName = dir.File("grates.dat");
    ASSERT_TRUE(vects.SetGRateVects(a, params, rng, dialogs));
    EXPECT_EQ(rng.RandSeed, 99u);
    for (int r = 1; r <= 2; ++r)
        for (int c = 1; c <= 3; ++c)
            for (int s = 1; s <= 3; ++s)
                EXPECT_EQ(vects.At(r, c, s), params.GRateFractions[s]);

    const std::string text = ReadAll(a.InitGRFName);
    const std::string tail = "\r\n==>\r\n\r\nType of Gowth Rates:  Uniform\r\n\r\n"
                             "Spec    Fixed     Low    High\r\n----   ------  ------  ------\r\n"
                             "Landscape at Row= 1  Col= 1\r\n"
                             "   1   -1.000   0.200   0.600\r\n"
                             "   2    0.450   0.000   0.000\r\n"
                             "   3   -1.000   0.000   1.000\r\n\r\n"
                             "Landscape at Row= 1  Col= 2\r\n";
    const size_t at = text.find("\r\n==>");
    ASSERT_NE(at, std::string::npos);
    EXPECT_EQ(text.substr(at, tail.size()), tail);
    EXPECT_TRUE(text.ends_with("Landscape at Row= 2  Col= 3\r\n"
                               "   1   -1.000   0.200   0.600\r\n"
                               "   2    0.450   0.000   0.000\r\n"
                               "   3   -1.000   0.000   1.000\r\n\r\n"));
    vects.FreeGRateVects();
    EXPECT_FALSE(vects.Allocated());
}

TEST_F(GRateVectsTest, ClumpedScattersEqualSlicesAndNeverSplitsAFixedSpecies)
{
    ASSERT_TRUE(vects.SetGRateVects(Array(2, 2, ClumpedSpread), params, rng, dialogs));
    std::set<std::pair<float, float>> slices;
    for (int r = 1; r <= 2; ++r)
        for (int c = 1; c <= 2; ++c) {
            const GRateFraction f = vects.At(r, c, 1);
            EXPECT_EQ(f.Rate, -1.0f);
            slices.insert({f.Low, f.High});
            EXPECT_EQ(vects.At(r, c, 2), (GRateFraction{0.45f, 0.0f, 0.0f}));
        }
    const float d = float((double(0.6f) - double(0.2f)) / 4);
    auto slice = [&](int i) {
        const float low = float(double(0.2f) + i * double(d));
        return std::pair{low, float(double(low) + d)};
    };
    EXPECT_EQ(slices, (std::set<std::pair<float, float>>{slice(0), slice(1), slice(2), slice(3)}));
    EXPECT_NEAR(slice(1).first, 0.3f, 1e-6);
    EXPECT_NEAR(slice(3).second, 0.6f, 1e-6);

    // Two shuffles of four were drawn, one per variable species.
    Rng replay;
    replay.RandSeed = 99;
    for (int i = 0; i < 6; ++i)
        replay.Advance();
    EXPECT_EQ(rng.RandSeed, replay.RandSeed);
}

TEST_F(GRateVectsTest, GradientRisesRowByRow)
{
    ASSERT_TRUE(vects.SetGRateVects(Array(4, 2, GradientSpread), params, rng, dialogs));
    const float expected[5][2] = {{}, {0.0f, 0.25f}, {0.25f, 0.5f}, {0.5f, 0.75f}, {0.75f, 1.0f}};
    for (int r = 1; r <= 4; ++r)
        for (int c = 1; c <= 2; ++c) {
            EXPECT_EQ(vects.At(r, c, 3), (GRateFraction{-1.0f, expected[r][0], expected[r][1]})) << r;
            EXPECT_EQ(vects.At(r, c, 2), params.GRateFractions[2]);
        }
    SpeciesTable<GRateFraction> fractions = params.GRateFractions;
    vects.LoadInto(4, 1, fractions);
    EXPECT_EQ(fractions[3].Low, 0.75f);
}

TEST_F(GRateVectsTest, AllocationFailureReleasesTheTablesAndSaysSo)
{
    vects.TableBudget = 3;
    EXPECT_FALSE(vects.SetGRateVects(Array(2, 2, UniformSpread), params, rng, dialogs));
    EXPECT_EQ(dialogs.LastText(), "Out of memory.  Try fewer landscapes or species.");
    EXPECT_FALSE(vects.Allocated());
    EXPECT_THROW(vects.FreeGRateVects(), AssertionFailure);
}

TEST(VOTCVects, ClumpedAndGradientSliceTheWinRange)
{
    ParameterSet params = SmallParameters(10, 10, 2);
    params.VariableOutcomeVector[1] = VariableOutcomeRange{0, 100, 0, 100};
    params.VariableOutcomeVector[2] = VariableOutcomeRange{10, 50, 5, 40};
    Rng rng;
    ScriptedDialogs dialogs;
    VOTCVects vects;
    TempFolder dir;
    ArraySettings a = Array(3, 3, UniformSpread, ClumpedSpread);
    a.InitOTCFName = dir.File("otc.dat");
    ASSERT_TRUE(vects.SetVOTCVects(a, params, rng, dialogs));
    std::vector<std::vector<int>> ranges;
    for (int r = 1; r <= 3; ++r)
        for (int c = 1; c <= 3; ++c) {
            const VariableOutcomeRange v = vects.At(r, c, 1);
            ranges.push_back({v.WinLow, v.WinHigh, v.LossLow, v.LossHigh});
        }
    std::sort(ranges.begin(), ranges.end());
    for (int i = 0; i < 9; ++i)
        EXPECT_EQ(ranges[i], (std::vector<int>{11 * i, 11 * i + 11, 0, 100 - 11 * i}));
    const std::string text = ReadAll(a.InitOTCFName);
    EXPECT_NE(text.find("\r\n==>\r\n\r\nType of Variable Outcome Ranges:  Clumped\r\n\r\n"
                        "Spec    WinLow   WinHigh   LossLow  LossHigh\r\n"
                        "----  --------  --------  --------  --------\r\n"
                        "Landscape at Row= 1  Col= 1\r\n"),
              std::string::npos);

    ASSERT_TRUE(vects.SetVOTCVects(Array(4, 2, UniformSpread, GradientSpread), params, rng, dialogs));
    for (int r = 1; r <= 4; ++r)
        EXPECT_EQ(vects.At(r, 2, 2), (VariableOutcomeRange{int8_t(10 * r), int8_t(10 * r + 10), 0, int8_t(100 - 10 * r)}));
    vects.FreeVOTCVects();
    EXPECT_THROW(vects.FreeVOTCVects(), AssertionFailure);

    vects.TableBudget = 0;
    EXPECT_FALSE(vects.SetVOTCVects(Array(2, 2, UniformSpread), params, rng, dialogs));
    EXPECT_EQ(dialogs.LastText(), "Out of memory.  Try fewer landscapes or species.");
}

} // namespace
} // namespace quorrel::test
