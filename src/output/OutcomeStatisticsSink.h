#pragma once

#include <QImage>

#include <array>

namespace quorrel {

// The window "Statistics: Outcomes" as the outcome statistics see it. Plots 0..5 are the
// statistics 1..6: average probability of win, loss, stand-off, then average genotype of
// win, loss, stand-off; each picture spans 0..100 % from bottom to top.
class OutcomeStatisticsSink {
public:
    virtual ~OutcomeStatisticsSink() = default;

    // New, framed plots: GenTotal shows maxgen and the window is shown.
    virtual void ShowOutcomePlots(const std::array<QImage, 6>& plots, int maxgen) = 0;

    // The plots have been extended; the window shows copies.
    virtual void RefreshOutcomePlots(const std::array<QImage, 6>& plots) = 0;
};

} // namespace quorrel
