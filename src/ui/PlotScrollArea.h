#pragma once

#include "output/TimePlotKind.h"

#include "ui/RefreshPace.h"

#include <QScrollArea>

#include <chrono>

namespace quorrel {

// The client area of a time plot window: the pictures, with a vertical scroll bar when they
// are taller than the client area the plot asks for (the plot leaves 16 pixels of width
// for it).
class PlotScrollArea : public QScrollArea {
    Q_OBJECT
public:
    static constexpr int ScrollBarWidth = 16;

    PlotScrollArea(QWidget* content, QWidget* parent);
    // The same with a fixed time between two scrolls that follow the run.
    PlotScrollArea(QWidget* content, QWidget* parent, std::chrono::nanoseconds interval);

    // The area takes the client size the plot asks for, the plot at its top; the window takes
    // it too, made wider when its title would not fit in its title bar (the room right of the
    // area stays empty).
    void ApplySize(const PlotWindowSize& size);
    // The width a window needs for its title in a window manager's title bar: the caption in
    // bold with room for the window's icon and buttons.
    static int TitleWidth(const QWidget& window);
    // Row has just been drawn: scrolls it into view at the bottom while the row drawn before
    // it is in view, so the plot follows the run unless the user has scrolled away from it.
    // Every scroll moves the whole view, so the area scrolls at most once per refresh of its
    // screen: a scroll asked for sooner is held until the refresh is due, and is dropped if
    // the user has scrolled meanwhile.
    void FollowRow(int row);

protected:
    void timerEvent(QTimerEvent* event) override;

private:
    void ScrollTo(int top);
    // Where the view's top is, or will be once the held scroll is made.
    int Top() const;

    RefreshPace pace_;
    int newestRow_ = -1;
    // The top of a held scroll, and the scroll bar's value when it was held; -1 for none.
    int heldTop_ = -1;
    int heldFrom_ = -1;
};

} // namespace quorrel
