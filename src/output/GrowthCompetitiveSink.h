#pragma once

#include <QImage>

namespace quorrel {

// A growth rate-competitive graph window ("Growth rate - Competitive Graph" or
// "Growth rate - Competitive Graph A") as the graph sees it.
class GrowthCompetitiveSink {
public:
    virtual ~GrowthCompetitiveSink() = default;

    // Generation 0 has been drawn: the image control takes the picture's size, shows a copy,
    // and the window is shown.
    virtual void ShowGraph(const QImage& picture) = 0;

    // A later generation has been drawn: the image control shows a copy.
    virtual void RefreshGraph(const QImage& picture) = 0;
};

} // namespace quorrel
