#pragma once

#include "output/TimePlotKind.h"

#include <QImage>

namespace quorrel {

// A frequency-time plot window ("Freq-Time: G-Rate" or "Freq-Time: Outcome") as the plot
// sees it: two 100-pixel pictures side by side, the values picture 104 pixels from the left.
class FreqTimeSink {
public:
    virtual ~FreqTimeSink() = default;

    // A line has been drawn: both image controls take the pictures' height and show copies.
    // newestRow is the last row drawn so far (-1: none).
    virtual void RefreshFreqTimePlot(const QImage& individuals, const QImage& values, int newestRow) = 0;

    // The start of a run: the window takes this size and is shown.
    virtual void ShowFreqTimeWindow(const PlotWindowSize& size) = 0;
};

} // namespace quorrel
