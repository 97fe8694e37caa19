#include "sweep/SweepDesign.h"

namespace quorrel {

void SweepDesign::AddFactor(const std::string& key, std::vector<std::string> values, DesignSource source)
{
    factorial_ = true;
    keys_.push_back(key);
    levels_.push_back(std::move(values));
    keySources_.push_back(std::move(source));
}

void SweepDesign::SetKeys(std::vector<std::string> keys)
{
    factorial_ = false;
    keys_ = std::move(keys);
}

void SweepDesign::AddRow(std::vector<std::string> values, DesignSource source)
{
    rows_.push_back(std::move(values));
    rowSources_.push_back(std::move(source));
}

size_t SweepDesign::Points() const
{
    if (!factorial_)
        return rows_.size();
    size_t n = 1;
    for (const auto& values : levels_)
        n *= values.size();
    return n;
}

DesignPoint SweepDesign::Point(size_t i) const
{
    DesignPoint point(keys_.size());
    for (size_t k = keys_.size(); k-- > 0;) {
        point[k].first = keys_[k];
        if (factorial_) {
            point[k].second = levels_[k][i % levels_[k].size()];
            i /= levels_[k].size();
        } else {
            point[k].second = rows_[i][k];
        }
    }
    return point;
}

DesignSource SweepDesign::Source(size_t i, size_t k) const
{
    return factorial_ ? keySources_[k] : rowSources_[i];
}

} // namespace quorrel
