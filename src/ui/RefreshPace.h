#pragma once

#include <QBasicTimer>
#include <QElapsedTimer>

#include <chrono>
#include <optional>

class QTimerEvent;
class QWidget;

namespace quorrel {

// The pace of a change that a widget shows at most once per refresh of its screen (or once
// per fixed interval): a change that comes sooner is held, and the widget gets a timer event
// when the refresh is due, so that the latest change is shown within one refresh.
class RefreshPace {
public:
    RefreshPace() = default;
    explicit RefreshPace(std::chrono::nanoseconds interval) : interval_(interval) {}

    // True when a change of widget may be shown at once: the widget is hidden, or showed its
    // last change a refresh ago or more (the caller then shows it and calls Shown). Otherwise
    // the change is held until the refresh is due.
    bool ShowNow(QWidget& widget);
    // A change has been shown: the next one waits a refresh from now, and none is held.
    void Shown();
    // Nothing is held any more.
    void Drop() { held_.stop(); }
    // The timer event of a held change.
    bool Due(const QTimerEvent& event) const;

private:
    std::optional<std::chrono::nanoseconds> interval_;
    QElapsedTimer sinceShown_;
    QBasicTimer held_;
};

} // namespace quorrel
