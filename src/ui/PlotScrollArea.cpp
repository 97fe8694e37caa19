#include "ui/PlotScrollArea.h"

#include "ui/ScreenRefresh.h"

#include <QFontMetrics>
#include <QScrollBar>
#include <QTimerEvent>

#include <algorithm>

namespace quorrel {

PlotScrollArea::PlotScrollArea(QWidget* content, QWidget* parent) : QScrollArea(parent)
{
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    verticalScrollBar()->setFixedWidth(ScrollBarWidth);
    setWidgetResizable(false);
    setWidget(content);
}

PlotScrollArea::PlotScrollArea(QWidget* content, QWidget* parent, std::chrono::nanoseconds interval)
    : PlotScrollArea(content, parent)
{
    interval_ = interval;
}

void PlotScrollArea::ApplySize(const PlotWindowSize& size)
{
    QWidget* window = parentWidget();
    window->setFixedSize(std::max(size.ClientWidth, TitleWidth(*window)), size.ClientHeight);
    setGeometry(0, 0, size.ClientWidth, size.ClientHeight);
    held_.stop();
    heldTop_ = -1;
    verticalScrollBar()->setValue(0);
    newestRow_ = -1;
}

int PlotScrollArea::TitleWidth(const QWidget& window)
{
    // The icon and the minimise and close buttons, with the title bar's padding.
    constexpr int Decorations = 120;
    QFont bold = window.font();
    bold.setBold(true);
    return QFontMetrics(bold).horizontalAdvance(window.windowTitle()) + Decorations;
}

void PlotScrollArea::FollowRow(int row)
{
    const int top = Top();
    const int rows = viewport()->height();
    const bool following = newestRow_ < 0 || (newestRow_ >= top && newestRow_ < top + rows);
    newestRow_ = row;
    if (following && row >= top + rows)
        ScrollTo(row - rows + 1);
}

int PlotScrollArea::Top() const
{
    const int value = verticalScrollBar()->value();
    return heldTop_ >= 0 && value == heldFrom_ ? heldTop_ : value;
}

int64_t PlotScrollArea::Interval() const { return interval_ ? interval_->count() : RefreshNanoseconds(*this); }

void PlotScrollArea::ScrollTo(int top)
{
    QScrollBar* bar = verticalScrollBar();
    const int64_t interval = Interval();
    const int64_t since = sinceScrolled_.isValid() ? sinceScrolled_.nsecsElapsed() : interval;
    if (since >= interval || !isVisible()) {
        held_.stop();
        heldTop_ = -1;
        sinceScrolled_.start();
        bar->setValue(top);
        return;
    }
    if (heldTop_ < 0 || bar->value() != heldFrom_)
        heldFrom_ = bar->value();
    heldTop_ = top;
    if (!held_.isActive())
        held_.start(TimerMilliseconds(interval - since), Qt::PreciseTimer, this);
}

void PlotScrollArea::timerEvent(QTimerEvent* event)
{
    if (event->timerId() != held_.timerId()) {
        QScrollArea::timerEvent(event);
        return;
    }
    held_.stop();
    const int top = heldTop_;
    heldTop_ = -1;
    // The user's own scroll since the hold wins.
    if (top >= 0 && verticalScrollBar()->value() == heldFrom_) {
        sinceScrolled_.start();
        verticalScrollBar()->setValue(top);
    }
}

} // namespace quorrel
