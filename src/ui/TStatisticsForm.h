#pragma once

#include "output/StatisticsSink.h"

#include <QWidget>

#include <array>
#include <vector>

class QLabel;
class QLineEdit;

namespace quorrel {

class PlotView;

// "Statistics": the coverage plot and the two growth-rate plots, each 400 x 200 with its
// labels and vertical scale, and the time axis fields (mid-point and end of the run).
class TStatisticsForm : public QWidget, public StatisticsSink {
    Q_OBJECT
public:
    static constexpr int Plots = 3;
    static constexpr int PlotWidth = 400;
    static constexpr int PlotHeight = 200;

    TStatisticsForm();

    void ShowStatisticPlot(int plot, const QImage& picture, int maxgen) override;
    void RefreshStatisticPlot(int plot, const QImage& picture) override;
    void RefreshStatisticArea(int plot, const QImage& picture, const QRect& area) override;

    // Plot k (1..3) with its labels shown or hidden; the window itself is not shown.
    void SetPlotVisible(int plot, bool visible);
    bool PlotVisible(int plot) const;
    // The picture plot k shows.
    const QImage& Picture(int plot) const;
    // The View menu's command: every plot visible and the window shown.
    void ShowAllPlots();

    QLineEdit* MidTimeField() const { return midTime_; }
    QLineEdit* EndTimeField() const { return endTime_; }

private:
    struct PlotRow {
        PlotView* picture = nullptr;
        std::vector<QWidget*> labels;
    };

    void BuildPlot(int index, const QStringList& caption);

    QWidget* content_;
    std::array<PlotRow, Plots> rows_;
    QLineEdit* midTime_;
    QLineEdit* endTime_;
};

} // namespace quorrel
