#pragma once

#include "EngineTestSupport.h"
#include "StartedRun.h"

#include "engine/Model.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <vector>

namespace quorrel::test {

// One run of the variable-outcome model with its own parameters, landscapes and
// generator, started and seeded.
struct VariableRun : StartedRun {
    VariableRun(const ParameterSet& p, uint32_t seed) : StartedRun(p, seed, OutcomeKind::Variable)
    {
        InitProgress none;
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

} // namespace quorrel::test
