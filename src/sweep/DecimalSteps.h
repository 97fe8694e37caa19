#pragma once

#include <string>
#include <vector>

namespace quorrel {

// The values from, from + step, ... up to to, computed in decimal: each number is read as an
// integer count of units of its last decimal place, so 0.0 .. 0.1 by 0.02 gives exactly
// "0", "0.02", "0.04", "0.06", "0.08", "0.1" (trailing zeros of the fraction dropped).
// The texts are plain decimals ("-1.5", "12"), no exponent.
struct DecimalStepsResult {
    std::vector<std::string> Values;
    std::string Error; // why the range cannot be used; empty when Values holds it
};
DecimalStepsResult DecimalSteps(const std::string& from, const std::string& to, const std::string& step,
                                size_t maxValues);

} // namespace quorrel
