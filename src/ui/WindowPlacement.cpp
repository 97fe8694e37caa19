#include "ui/WindowPlacement.h"

#include <algorithm>
#include <cstdlib>
#include <tuple>
#include <utility>

namespace quorrel {

namespace {

long long Area(const QRect& r) { return r.isEmpty() ? 0 : static_cast<long long>(r.width()) * r.height(); }

// The gap between two rectangles: 0 when they touch or overlap.
long long Gap(const QRect& a, const QRect& b)
{
    const long long dx = std::max({0, b.left() - a.right() - 1, a.left() - b.right() - 1});
    const long long dy = std::max({0, b.top() - a.bottom() - 1, a.top() - b.bottom() - 1});
    return dx + dy;
}

QSize BoundedTo(QSize size, const QSize& bound) { return size.boundedTo(bound).expandedTo(QSize(1, 1)); }

// The positions along one axis that line a window of this extent up with the screen's edges
// and with the edges of the windows there.
std::vector<int> Positions(int low, int high, int extent, const std::vector<std::pair<int, int>>& edges)
{
    std::vector<int> positions{low, high + 1 - extent};
    for (const auto& [first, last] : edges)
        for (int p : {first, last + 1, first - extent, last + 1 - extent})
            positions.push_back(p);
    std::vector<int> inside;
    for (int p : positions)
        if (p >= low && p + extent - 1 <= high)
            inside.push_back(p);
    std::sort(inside.begin(), inside.end());
    inside.erase(std::unique(inside.begin(), inside.end()), inside.end());
    return inside;
}

} // namespace

WindowPlacement::WindowPlacement(std::vector<QRect> screens, QRect controls)
    : screens_(std::move(screens)), controls_(controls)
{
    screens_.erase(std::remove_if(screens_.begin(), screens_.end(), [](const QRect& s) { return s.isEmpty(); }),
                   screens_.end());
}

void WindowPlacement::Occupy(const QRect& window)
{
    if (!window.isEmpty())
        occupied_.push_back(window);
}

long long WindowPlacement::Overlap(const QRect& r) const
{
    long long total = 0;
    for (const QRect& o : occupied_)
        total += Area(r.intersected(o));
    return total;
}

int WindowPlacement::ControlsScreen() const
{
    long long most = 0;
    int best = 0;
    for (int i = 0; i < int(screens_.size()); ++i) {
        const long long a = Area(screens_[i].intersected(controls_));
        if (a > most) {
            most = a;
            best = i;
        }
    }
    return best;
}

std::optional<WindowPlacement::Candidate> WindowPlacement::Best(QSize size, bool allowOverlap) const
{
    const int home = ControlsScreen();
    std::vector<int> order{home};
    for (int i = 0; i < int(screens_.size()); ++i)
        if (i != home)
            order.push_back(i);

    std::vector<QRect> obstacles = occupied_;
    if (!controls_.isEmpty())
        obstacles.push_back(controls_);
    std::vector<std::pair<int, int>> xEdges, yEdges;
    for (const QRect& o : obstacles) {
        xEdges.emplace_back(o.left(), o.right());
        yEdges.emplace_back(o.top(), o.bottom());
    }
    const QPoint anchor = controls_.isEmpty() ? QPoint() : controls_.topLeft();

    std::optional<Candidate> best;
    auto key = [](const Candidate& c) {
        return std::make_tuple(c.overlap, c.screen, c.gap, c.corner, c.rect.top(), c.rect.left());
    };
    for (int rank = 0; rank < int(order.size()); ++rank) {
        const QRect& screen = screens_[order[rank]];
        const QSize s = BoundedTo(size, screen.size());
        for (int y : Positions(screen.top(), screen.bottom(), s.height(), yEdges)) {
            for (int x : Positions(screen.left(), screen.right(), s.width(), xEdges)) {
                const QRect r(QPoint(x, y), s);
                if (!controls_.isEmpty() && r.intersects(controls_))
                    continue;
                Candidate c{r, Overlap(r), rank, controls_.isEmpty() ? 0 : Gap(r, controls_),
                            std::abs(x - anchor.x()) + std::abs(y - anchor.y())};
                if (!allowOverlap && c.overlap > 0)
                    continue;
                if (!best || key(c) < key(*best))
                    best = c;
            }
        }
        // Without overlap the first screen that has room wins.
        if (!allowOverlap && best)
            return best;
    }
    return best;
}

QRect WindowPlacement::CutDownBesideControls(QSize size) const
{
    std::optional<QRect> chosen;
    long long chosenArea = 0;
    std::vector<QRect> bands;
    const int home = ControlsScreen();
    for (int i = 0; i < int(screens_.size()); ++i) {
        const QRect& s = screens_[(home + i) % screens_.size()];
        const QRect& c = controls_;
        bands.push_back(QRect(QPoint(c.right() + 1, s.top()), s.bottomRight()).intersected(s));
        bands.push_back(QRect(QPoint(s.left(), c.bottom() + 1), s.bottomRight()).intersected(s));
        bands.push_back(QRect(s.topLeft(), QPoint(c.left() - 1, s.bottom())).intersected(s));
        bands.push_back(QRect(s.topLeft(), QPoint(s.right(), c.top() - 1)).intersected(s));
    }
    for (const QRect& band : bands) {
        if (band.isEmpty() || band.intersects(controls_))
            continue;
        const QSize s = BoundedTo(size, band.size());
        if (!chosen || Area(QRect(QPoint(), s)) > chosenArea) {
            chosen = band;
            chosenArea = Area(QRect(QPoint(), s));
        }
    }
    if (!chosen) {
        // The controls fill every screen: the window goes over them after all, at the top left.
        const QRect& s = screens_[home];
        return QRect(s.topLeft(), BoundedTo(size, s.size()));
    }
    WindowPlacement inBand({*chosen}, controls_);
    inBand.occupied_ = occupied_;
    return inBand.Best(BoundedTo(size, chosen->size()), true)->rect;
}

QRect WindowPlacement::Place(QSize size)
{
    lastOverlaps_ = false;
    QRect placed;
    if (screens_.empty()) {
        placed = QRect(QPoint(), size);
    } else if (std::optional<Candidate> free = Best(size, false)) {
        placed = free->rect;
    } else if (std::optional<Candidate> any = Best(size, true)) {
        placed = any->rect;
    } else {
        placed = CutDownBesideControls(size);
    }
    lastOverlaps_ = Overlap(placed) > 0;
    occupied_.push_back(placed);
    return placed;
}

std::vector<QRect> WindowPlacement::Place(const std::vector<QRect>& screens, const QRect& controls,
                                          const std::vector<QRect>& occupied, const std::vector<QSize>& sizes)
{
    WindowPlacement placement(screens, controls);
    for (const QRect& o : occupied)
        placement.Occupy(o);
    std::vector<QRect> placed;
    for (const QSize& s : sizes)
        placed.push_back(placement.Place(s));
    return placed;
}

QRect WindowPlacement::ScreenOf(const std::vector<QRect>& screens, const QRect& window)
{
    if (screens.empty())
        return {};
    long long most = 0;
    QRect best = screens.front();
    for (const QRect& s : screens) {
        const long long a = Area(s.intersected(window));
        if (a > most) {
            most = a;
            best = s;
        }
    }
    return best;
}

std::optional<QRect> WindowPlacement::OnScreen(const std::vector<QRect>& screens, const QRect& window)
{
    bool anywhere = false;
    for (const QRect& s : screens)
        anywhere = anywhere || s.intersects(window);
    if (!anywhere)
        return std::nullopt;
    const QRect s = ScreenOf(screens, window);
    const QSize size = BoundedTo(window.size(), s.size());
    const int x = std::clamp(window.left(), s.left(), s.right() + 1 - size.width());
    const int y = std::clamp(window.top(), s.top(), s.bottom() + 1 - size.height());
    return QRect(QPoint(x, y), size);
}

} // namespace quorrel
