#pragma once

#include "sweep/RunSeed.h"

#include <filesystem>
#include <string>
#include <vector>

namespace quorrel {

// Where a value of the design was written, for the messages that refuse it.
struct DesignSource {
    std::filesystem::path File;
    int Line = 0;
};

// The design points of a plan: a full factorial over the [vary] lists (the last key
// changing fastest), or the points listed one by one ([[run]] tables or a design file).
class SweepDesign {
public:
    // A factorial design; each key with its values and where the key is written.
    void AddFactor(const std::string& key, std::vector<std::string> values, DesignSource source);
    // A listed design: the keys once, then one row of values (in key order) per point.
    void SetKeys(std::vector<std::string> keys);
    void AddRow(std::vector<std::string> values, DesignSource source);

    const std::vector<std::string>& Keys() const { return keys_; }
    size_t Points() const;
    // Point i (0-based) as key/value pairs in key order.
    DesignPoint Point(size_t i) const;
    // Where the value of key k of point i is written.
    DesignSource Source(size_t i, size_t k) const;

private:
    std::vector<std::string> keys_;
    bool factorial_ = true;
    std::vector<std::vector<std::string>> levels_; // factorial: the values of each key
    std::vector<DesignSource> keySources_;
    std::vector<std::vector<std::string>> rows_;   // listed: the values of each point
    std::vector<DesignSource> rowSources_;
};

} // namespace quorrel
