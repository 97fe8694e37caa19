#pragma once

#include "sweep/SweepPlan.h"

#include <filesystem>

namespace quorrel {

// The most runs a plan may describe.
inline constexpr size_t MaxSweepRuns = 10'000'000;

// Reads a plan file (TOML) and the design file it names. Refuses, with PlanError naming
// the file, the line and the key: a file that cannot be read or parsed, an unknown key, a
// value of the wrong type, an empty list, a range whose step does not reach its end, a
// key set and varied at once, RandSeed anywhere, and a params, options or design file or
// start folder that cannot be read. The values themselves are checked by the run's own
// preparation (see the sweep's plan check).
SweepPlan ReadSweepPlan(const std::filesystem::path& file);

} // namespace quorrel
