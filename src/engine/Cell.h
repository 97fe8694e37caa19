#pragma once

#include <cstdint>

namespace quorrel {

// One position of a landscape: empty (Species 0) or one individual with its growth rate.
struct Cell {
    int32_t Species = 0;
    float GRate = 0.0f;

    bool operator==(const Cell&) const = default;
};

inline constexpr Cell EmptyCell{0, 0.0f};

} // namespace quorrel
