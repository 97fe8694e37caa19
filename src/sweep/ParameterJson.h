#pragma once

#include "engine/ArraySettings.h"
#include "output/OutputOptions.h"
#include "params/ParameterSet.h"

#include <nlohmann/json.hpp>

namespace quorrel {

// The parameters in force for a run: the general parameters by their parameter-file keys,
// the per-species tables (species 1..Maxspec) as arrays, the Monte Carlo settings, and the
// array settings when array is given. A float is written as the shortest decimal that
// reads back as the same float (0.02, not 0.019999999552965164).
nlohmann::ordered_json ParametersJson(const ParameterSet& params, const ArraySettings* array);

// The output options in force, by their field names; SWSpeciesMask as the list of the
// species counted (0 for the empty cells).
nlohmann::ordered_json OptionsJson(const OptionStruct& options);

} // namespace quorrel
