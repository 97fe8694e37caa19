#pragma once

#include <string>
#include <string_view>

namespace quorrel {

// The number of repetitions of a Monte Carlo series as typed into its window or given to
// the batch runner: Value 2..1000, or the error text to show.
struct RepeatTimesCheck {
    int Value = 0;
    std::string Error; // empty when Value holds the count

    bool operator==(const RepeatTimesCheck&) const = default;
};
RepeatTimesCheck CheckRepeatTimes(std::string_view text);

} // namespace quorrel
