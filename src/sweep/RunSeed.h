#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace quorrel {

// The highest RandSeed a run takes; seeds lie within 1..MaxRunSeed.
inline constexpr int MaxRunSeed = 9999;

// A design point: the varied keys and their values as passed to the run.
using DesignPoint = std::vector<std::pair<std::string, std::string>>;

// FNV-1a, 64 bits (offset basis 14695981039346656037, prime 1099511628211).
uint64_t Fnv1a64(std::string_view bytes);

// The text the seed is a hash of: "seed=<base>\n", then "key=value\n" for each varied key,
// sorted by key (byte order).
std::string SeedText(uint64_t baseSeed, const DesignPoint& point);

// The RandSeed of a run: 1 + ((H + replicate - 1) mod 9999), H = Fnv1a64(SeedText(...)),
// replicate 1-based. It depends on the design point and the replicate alone, not on the
// run's number, and the replicates of one point (up to 9999) never share a seed.
int RunSeed(uint64_t baseSeed, const DesignPoint& point, int replicate);

} // namespace quorrel
