#include "ui/RepaintPacer.h"

#include "ui/ScreenRefresh.h"

#include <QCoreApplication>
#include <QEvent>

#include <algorithm>
#include <limits>

namespace quorrel {

RepaintPacer::RepaintPacer()
{
    timer_.setSingleShot(true);
    connect(&timer_, &QTimer::timeout, this, [this] { Release(false); });
    QCoreApplication::instance()->installEventFilter(this);
}

RepaintPacer::RepaintPacer(std::chrono::nanoseconds interval) : RepaintPacer() { interval_ = interval; }

RepaintPacer::~RepaintPacer()
{
    QCoreApplication::instance()->removeEventFilter(this);
    Release(true);
}

RepaintPacer::Window& RepaintPacer::Find(QWidget* widget)
{
    for (Window& w : windows_)
        if (w.widget == widget)
            return w;
    // A window closed and deleted meanwhile leaves its place to the next one.
    for (Window& w : windows_)
        if (w.widget.isNull() && !w.held) {
            w = Window{widget, {}, false};
            return w;
        }
    windows_.push_back(Window{widget, {}, false});
    return windows_.back();
}

int64_t RepaintPacer::Interval(const QWidget& widget) const
{
    return interval_ ? interval_->count() : RefreshNanoseconds(widget);
}

bool RepaintPacer::eventFilter(QObject* receiver, QEvent* event)
{
    // A window's repaints are asked for by update requests to the window itself.
    if (event->type() != QEvent::UpdateRequest || releasing_ || !receiver->isWidgetType())
        return false;
    auto* widget = static_cast<QWidget*>(receiver);
    if (!widget->isWindow())
        return false;
    Window& w = Find(widget);
    if (!w.sincePainted.isValid() || w.sincePainted.nsecsElapsed() >= Interval(*widget)) {
        w.sincePainted.start();
        w.held = false;
        return false;
    }
    if (!w.held) {
        w.held = true;
        if (!timer_.isActive())
            Release(false);
    }
    return true;
}

void RepaintPacer::Release(bool all)
{
    int64_t wait = std::numeric_limits<int64_t>::max();
    for (Window& w : windows_) {
        if (!w.held)
            continue;
        if (w.widget.isNull()) {
            w.held = false;
            continue;
        }
        const int64_t left = Interval(*w.widget) - w.sincePainted.nsecsElapsed();
        if (!all && left > 0) {
            wait = std::min(wait, left);
            continue;
        }
        w.held = false;
        w.sincePainted.start();
        releasing_ = true;
        QEvent request(QEvent::UpdateRequest);
        QCoreApplication::sendEvent(w.widget, &request);
        releasing_ = false;
    }
    if (wait != std::numeric_limits<int64_t>::max())
        timer_.start(TimerMilliseconds(wait));
}

} // namespace quorrel
