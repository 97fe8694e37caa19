#include "ui/RefreshPace.h"

#include "ui/ScreenRefresh.h"

#include <QTimerEvent>
#include <QWidget>

namespace quorrel {

bool RefreshPace::ShowNow(QWidget& widget)
{
    const int64_t interval = interval_ ? interval_->count() : RefreshNanoseconds(widget);
    const int64_t since = sinceShown_.isValid() ? sinceShown_.nsecsElapsed() : interval;
    if (since >= interval || !widget.isVisible())
        return true;
    if (!held_.isActive())
        held_.start(TimerMilliseconds(interval - since), Qt::PreciseTimer, &widget);
    return false;
}

void RefreshPace::Shown()
{
    held_.stop();
    sinceShown_.start();
}

bool RefreshPace::Due(const QTimerEvent& event) const { return event.timerId() == held_.timerId(); }

} // namespace quorrel
