#pragma once

#include "output/TimePlotKind.h"

#include <QImage>

namespace quorrel {

// The space-time plot window ("Space-Time Plot") as the plot sees it.
class SpaceTimeSink {
public:
    virtual ~SpaceTimeSink() = default;

    // A line has been drawn: the image control takes the picture's width and height and
    // shows a copy of it. newestRow is the last row drawn so far (-1: none).
    virtual void RefreshSpaceTimePlot(const QImage& picture, int newestRow) = 0;

    // The start of a run: the window takes this size and is shown.
    virtual void ShowSpaceTimeWindow(const PlotWindowSize& size) = 0;
};

} // namespace quorrel
