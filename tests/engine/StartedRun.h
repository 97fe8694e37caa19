#pragma once

#include "ScriptedDialogs.h"

#include "engine/InitProgress.h"
#include "engine/Landscapes.h"
#include "engine/Model.h"
#include "engine/Rng.h"
#include "params/ParameterSet.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <memory>
#include <string>

namespace quorrel::test {

// One run of a model with its own parameters, landscapes and generator, started and
// given its initial cover.
struct StartedRun {
    ParameterSet params;
    std::unique_ptr<Landscapes> lands = std::make_unique<Landscapes>();
    Rng rng;
    ScriptedDialogs dialogs;
    Model model;

    StartedRun(const ParameterSet& p, uint32_t seed, OutcomeKind kind = OutcomeKind::Fixed)
        : params(p), rng{seed}, model(params, *lands, rng, dialogs, kind)
    {
        InitProgress none;
        model.StartRun();
        EXPECT_TRUE(model.SetInitCover(none));
    }
};

// Both landscapes hold the same species and bit-identical growth rates in every interior cell.
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
