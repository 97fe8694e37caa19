#pragma once

#include "output/TimePlotKind.h"

#include <QScrollArea>

namespace quorrel {

// The client area of a time plot window: the pictures, with a vertical scroll bar when they
// are taller than the client area the plot asks for (the plot leaves 16 pixels of width
// for it).
class PlotScrollArea : public QScrollArea {
    Q_OBJECT
public:
    static constexpr int ScrollBarWidth = 16;

    PlotScrollArea(QWidget* content, QWidget* parent);

    // The window's client area takes the size; the area fills it.
    void ApplySize(const PlotWindowSize& size);
};

} // namespace quorrel
