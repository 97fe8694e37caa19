#pragma once

#include "output/FreqTimeSink.h"

#include <QWidget>

namespace quorrel {

class PlotPicture;
class PlotScrollArea;

// A frequency-time plot window ("Freq-Time: G-Rate" or "Freq-Time: Outcome"): the picture
// weighed by individuals at the left, the one weighed by distinct values 104 pixels from the
// left edge; time runs down and a tall plot scrolls.
class TFreqTimeForm : public QWidget, public FreqTimeSink {
    Q_OBJECT
public:
    static constexpr int ValuesLeft = 104;

    explicit TFreqTimeForm(const QString& caption);

    void RefreshFreqTimePlot(const QImage& individuals, const QImage& values, int newestRow) override;
    void ShowFreqTimeWindow(const PlotWindowSize& size) override;

    const PlotPicture& Individuals() const { return *individuals_; }
    const PlotPicture& Values() const { return *values_; }
    const PlotScrollArea& Area() const { return *area_; }

private:
    QWidget* content_;
    PlotPicture* individuals_;
    PlotPicture* values_;
    PlotScrollArea* area_;
};

} // namespace quorrel
