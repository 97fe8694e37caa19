#pragma once

#include "output/SpaceTimeSink.h"

#include <QWidget>

namespace quorrel {

class PlotPicture;
class PlotScrollArea;

// "Space-Time Plot": the middle row of the landscape, one line per sampled generation,
// time running down; a tall plot scrolls.
class TSpaceTimeForm : public QWidget, public SpaceTimeSink {
    Q_OBJECT
public:
    TSpaceTimeForm();

    void RefreshSpaceTimePlot(const QImage& picture, int newestRow) override;
    void ShowSpaceTimeWindow(const PlotWindowSize& size) override;

    const PlotPicture& Picture() const { return *picture_; }
    const PlotScrollArea& Area() const { return *area_; }

private:
    PlotPicture* picture_;
    PlotScrollArea* area_;
};

} // namespace quorrel
