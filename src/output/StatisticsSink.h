#pragma once

#include <QImage>
#include <QRect>

namespace quorrel {

// The statistics window as the statistics see it. Plots are numbered 1 coverage,
// 2 average growth rates, 3 average genotype of growth rates; pictures are 400 x 200.
class StatisticsSink {
public:
    virtual ~StatisticsSink() = default;

    // A new plot is put in its place and made visible, the time fields read maxgen div 2
    // and maxgen, and the window is shown.
    virtual void ShowStatisticPlot(int plot, const QImage& picture, int maxgen) = 0;

    // The plot's picture has changed (a new segment, or the last picture of a run).
    virtual void RefreshStatisticPlot(int plot, const QImage& picture) = 0;
    // The same, when only the pixels within the area (a new segment's) have changed.
    virtual void RefreshStatisticArea(int plot, const QImage& picture, const QRect& /*area*/)
    {
        RefreshStatisticPlot(plot, picture);
    }
};

} // namespace quorrel
