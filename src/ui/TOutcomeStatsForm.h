#pragma once

#include "output/OutcomeStatisticsSink.h"

#include <QWidget>

#include <array>

class QLineEdit;

namespace quorrel {

class PlotPicture;

// "Statistics: Outcomes": under "Average probability of" the plots Win, Loss and Standoff of
// the normal averages, under "Average genotype of" the same of the genotype averages, each
// scaled 0..100; the time axis ends at GenTotal.
class TOutcomeStatsForm : public QWidget, public OutcomeStatisticsSink {
    Q_OBJECT
public:
    TOutcomeStatsForm();

    void ShowOutcomePlots(const std::array<QImage, 6>& plots, int maxgen) override;
    void RefreshOutcomePlots(const std::array<QImage, 6>& plots) override;

    // Plot 0..5 as the statistics 1..6 are numbered.
    const PlotPicture& Plot(int index) const { return *plots_[index]; }

    QLineEdit* GenTotal;

private:
    std::array<PlotPicture*, 6> plots_{};
};

} // namespace quorrel
