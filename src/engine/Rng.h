#pragma once

#include <cstdint>

namespace quorrel {

// The one random generator of the process: a 32-bit linear congruential generator.
// Every random decision takes its draw from here, in a fixed order, so that a run
// is reproducible from the seed.
class Rng {
public:
    static constexpr uint32_t Multiplier = 134775813u;
    static constexpr uint32_t Increment = 1u;

    uint32_t RandSeed = 0;

    void Advance() { RandSeed = RandSeed * Multiplier + Increment; }

    // A value in 0..n-1.
    uint32_t RandomInt(uint32_t n)
    {
        Advance();
        return static_cast<uint32_t>((static_cast<uint64_t>(n) * RandSeed) >> 32);
    }

    // A value in [0, 1).
    double RandomReal()
    {
        Advance();
        return static_cast<double>(RandSeed) / 4294967296.0;
    }
};

} // namespace quorrel
