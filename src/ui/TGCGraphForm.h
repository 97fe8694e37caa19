#pragma once

#include "output/GrowthCompetitiveSink.h"

#include <QStringList>
#include <QWidget>

#include <vector>

class QLabel;
class QScrollArea;

namespace quorrel {

class PlotPicture;

// A growth rate-competitive graph window: growth rate across, competitive ability up, the
// initial landscape in the upper panel and the latest drawn generation in the lower one.
// "Growth rate - Competitive Graph" shows the mean ability; "... Graph A" the ability against
// one species or, panel beside panel, against each variable opponent, and its image control
// takes the picture's size. A graph wider than the screen scrolls sideways.
class TGCGraphForm : public QWidget, public GrowthCompetitiveSink {
    Q_OBJECT
public:
    static constexpr int MaxClientWidth = 1200;

    // graphA: the window of the ability against other species.
    explicit TGCGraphForm(bool graphA);

    void ShowGraph(const QImage& picture) override;
    void RefreshGraph(const QImage& picture) override;

    const PlotPicture& Picture() const { return *picture_; }
    // The texts of the labels, for tests.
    QStringList LabelTexts() const;

private:
    // Places the labels around a picture of this width and sizes the window.
    void Arrange(int pictureWidth);
    int InitialWidth() const;

    bool graphA_;
    QScrollArea* area_;
    QWidget* content_;
    PlotPicture* picture_;
    std::vector<QLabel*> panelLabels_;
    QLabel* initial_;
    QLabel* growthRate_;
};

} // namespace quorrel
