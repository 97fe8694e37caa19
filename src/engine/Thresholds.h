#pragma once

#include <cmath>
#include <cstdint>

namespace quorrel {

// RandomReal() < p holds exactly when the new state is below this bound: the draw is
// state / 2^32, so draw < p  <=>  state < p * 2^32  <=>  state < ceil(p * 2^32).
inline uint64_t DrawThreshold(double p)
{
    const double scaled = std::ceil(p * 4294967296.0);
    if (!(scaled > 0.0))
        return 0;
    if (scaled >= 4294967296.0)
        return uint64_t(1) << 32;
    return static_cast<uint64_t>(scaled);
}

} // namespace quorrel
