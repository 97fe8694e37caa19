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

    // The area takes the client size the plot asks for, the plot at its top; the window takes
    // it too, made wider when its title would not fit in its title bar (the room right of the
    // area stays empty).
    void ApplySize(const PlotWindowSize& size);
    // The width a window needs for its title in a window manager's title bar: the caption in
    // bold with room for the window's icon and buttons.
    static int TitleWidth(const QWidget& window);
    // Row has just been drawn: scrolls it into view at the bottom while the row drawn before
    // it is in view, so the plot follows the run unless the user has scrolled away from it.
    void FollowRow(int row);

private:
    int newestRow_ = -1;
};

} // namespace quorrel
