#include "sweep/RunSeed.h"

#include <algorithm>

namespace quorrel {

uint64_t Fnv1a64(std::string_view bytes)
{
    uint64_t hash = 14695981039346656037ull;
    for (const char c : bytes) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 1099511628211ull;
    }
    return hash;
}

std::string SeedText(uint64_t baseSeed, const DesignPoint& point)
{
    DesignPoint sorted = point;
    std::sort(sorted.begin(), sorted.end());
    std::string text = "seed=" + std::to_string(baseSeed) + "\n";
    for (const auto& [key, value] : sorted)
        text += key + "=" + value + "\n";
    return text;
}

int RunSeed(uint64_t baseSeed, const DesignPoint& point, int replicate)
{
    const uint64_t h = Fnv1a64(SeedText(baseSeed, point)) % MaxRunSeed;
    // (H + replicate - 1) mod 9999 without overflow: H is reduced first.
    return 1 + static_cast<int>((h + static_cast<uint64_t>(replicate - 1)) % MaxRunSeed);
}

} // namespace quorrel
