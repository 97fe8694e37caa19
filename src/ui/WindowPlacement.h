#pragma once

#include <QRect>
#include <QSize>

#include <optional>
#include <vector>

namespace quorrel {

// Where the program puts a window it opens: a pure function of the screens' available areas,
// the window that must stay visible (the run controls) and the sizes of the windows, whole
// windows with their frames. No widget is involved; WindowLayout applies it.
//
// The rule, window by window in the order given:
// - a window never covers the controls and always lies inside one screen's available area; a
//   window larger than that area is cut down to it (its contents scroll);
// - it goes on the screen of the controls when it fits there without overlapping the windows
//   already placed or on screen (the occupied ones), else on the first other screen where it
//   does; the position chosen is the one nearest the controls (the smallest gap between the
//   two rectangles, then the smallest distance of the top-left corners, then the highest, then
//   the leftmost), among positions that line it up with the screen's edges or with the edges
//   of the windows there;
// - only when no screen has room for it does it overlap other windows: the position with the
//   least overlap, nearest the controls;
// - a window that fits nowhere beside the controls (the controls leave less than its size on
//   every side) is cut down to the largest free band beside them.
class WindowPlacement {
public:
    // screens: each screen's available area, in the order of QGuiApplication::screens().
    // controls: the window never to be covered (empty: none).
    WindowPlacement(std::vector<QRect> screens, QRect controls);

    // A window already on the screen: later windows avoid it while there is room.
    void Occupy(const QRect& window);
    // Places one window of this size; the result is occupied from then on.
    QRect Place(QSize size);
    // Whether the last window placed overlaps a window placed or occupied before it.
    bool LastOverlaps() const { return lastOverlaps_; }
    // Whether a window there would overlap one placed or occupied.
    bool Overlaps(const QRect& window) const { return Overlap(window) > 0; }

    // Every window in order, as Place one after the other.
    static std::vector<QRect> Place(const std::vector<QRect>& screens, const QRect& controls,
                                    const std::vector<QRect>& occupied, const std::vector<QSize>& sizes);
    static std::vector<QRect> Place(const QRect& available, const QRect& controls, const std::vector<QSize>& sizes)
    {
        return Place(std::vector<QRect>{available}, controls, {}, sizes);
    }

    // A remembered place still usable: the rectangle moved (and if need be cut down) into the
    // screen it overlaps most; none when it overlaps no screen any more.
    static std::optional<QRect> OnScreen(const std::vector<QRect>& screens, const QRect& window);
    // The screen area that holds most of the rectangle (the first screen when it holds none).
    static QRect ScreenOf(const std::vector<QRect>& screens, const QRect& window);

private:
    struct Candidate {
        QRect rect;
        long long overlap = 0;
        int screen = 0;
        long long gap = 0;
        long long corner = 0;
    };

    std::optional<Candidate> Best(QSize size, bool allowOverlap) const;
    QRect CutDownBesideControls(QSize size) const;
    long long Overlap(const QRect& r) const;
    int ControlsScreen() const;

    std::vector<QRect> screens_;
    QRect controls_;
    std::vector<QRect> occupied_;
    bool lastOverlaps_ = false;
};

} // namespace quorrel
