#pragma once

#include "engine/JumpAhead.h"
#include "engine/Rng.h"

#include <array>
#include <cstdint>

namespace quorrel {

// Jump-ahead coefficients of the generator: the state k steps after s is
// Mul[k] * s + Add[k] (mod 2^32). With them a run of known length can be produced
// without the serial dependency of one step on the next.
template <int MaxSteps>
struct RngJump {
    std::array<uint32_t, MaxSteps + 1> Mul{};
    std::array<uint32_t, MaxSteps + 1> Add{};

    constexpr RngJump()
    {
        Mul[0] = 1u;
        Add[0] = 0u;
        for (int k = 1; k <= MaxSteps; ++k) {
            Mul[k] = Mul[k - 1] * Rng::Multiplier;
            Add[k] = Add[k - 1] * Rng::Multiplier + Rng::Increment;
        }
    }

    // out[i] = the state i + 1 steps after s, for i = 0..count-1 (count <= MaxSteps).
    void States(uint32_t s, uint32_t* out, int count) const
    {
        JumpAhead(Mul.data() + 1, Add.data() + 1, s, out, count);
    }
};

} // namespace quorrel
