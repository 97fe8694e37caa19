#pragma once

#include "EngineTestSupport.h"
#include "ScriptedDialogs.h"

#include "engine/VariableModel.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstddef>
#include <memory>
#include <string>
#include <vector>

namespace quorrel::test {

// One run of the variable-outcome model with its own parameters, landscapes and
// generator, started and seeded.
struct VariableRun {
    ParameterSet params;
    std::unique_ptr<Landscapes> lands = std::make_unique<Landscapes>();
    Rng rng;
    ScriptedDialogs dialogs;
    VariableModel model{params, *lands, rng, dialogs};

    VariableRun(const ParameterSet& p, uint32_t seed) : params(p), rng{seed}
    {
        InitProgress none;
        model.StartRun();
        EXPECT_TRUE(model.SetInitCover(none));
        EXPECT_TRUE(model.SeedGenotypes(true, none));
    }

    std::vector<std::byte> CurrentGenotypes() const
    {
        std::vector<std::byte> bytes(model.Grids().Current.InteriorBytes());
        model.Grids().Current.SaveInterior(bytes);
        return bytes;
    }
};

// Four species: pairs (1,2), (1,4), (2,3) and (3,4) variable, the others fixed; species 1
// and 3 with growth-rate ranges, 2 and 4 fixed with rates against each species.
inline void MixedOutcomes(ParameterSet& p)
{
    p.GrowthRates[1] = {-1, 10, 90};
    p.GrowthRates[2] = {80, 0, 0};
    p.GrowthRates[3] = {-1, 50, 70};
    p.GrowthRates[4] = {45, 0, 0};
    p.UpdateGRateFractions();
    for (int i = 1; i <= 4; ++i)
        for (int j = 1; j <= 4; ++j)
            p.RateAgainst[i][j] = float((20 + 17 * ((i * 5 + j * 3) % 5)) / 100.0);
    p.OutcomeMatrix[1][2] = {-1, 0, 0};
    p.OutcomeMatrix[1][3] = {20, 70, 10};
    p.OutcomeMatrix[1][4] = {-1, 0, 0};
    p.OutcomeMatrix[2][3] = {-1, 0, 0};
    p.OutcomeMatrix[2][4] = {35, 45, 20};
    p.OutcomeMatrix[3][4] = {-1, 0, 0};
    p.MirrorOutcomeMatrix();
    p.VariableOutcomeVector[1] = {20, 80, 0, 20};
    p.VariableOutcomeVector[2] = {0, 100, 0, 100};
    p.VariableOutcomeVector[3] = {40, 50, 10, 30};
    p.VariableOutcomeVector[4] = {10, 90, 5, 100};
    p.GParamRec.OverGRate = 60;
}

inline void ExpectSameLandscape(const GParamStruct& g, const LandscapeGrid& a, const LandscapeGrid& b,
                                const std::string& where)
{
    for (int y = 1; y <= g.MaxY; ++y)
        for (int x = 1; x <= g.MaxX; ++x) {
            ASSERT_EQ(a(x, y).Species, b(x, y).Species) << where << " at " << x << "," << y;
            ASSERT_EQ(std::bit_cast<uint32_t>(a(x, y).GRate), std::bit_cast<uint32_t>(b(x, y).GRate))
                << where << " at " << x << "," << y;
        }
}

} // namespace quorrel::test
