#include "ui/PlotScrollArea.h"

#include <QFontMetrics>
#include <QScrollBar>
#include <QTimerEvent>

#include <algorithm>
#include <utility>

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
    pace_ = RefreshPace(interval);
}

void PlotScrollArea::ApplySize(const PlotWindowSize& size)
{
    QWidget* window = parentWidget();
    window->setFixedSize(std::max(size.ClientWidth, TitleWidth(*window)), size.ClientHeight);
    setGeometry(0, 0, size.ClientWidth, size.ClientHeight);
    pace_.Drop();
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

void PlotScrollArea::ScrollTo(int top)
{
    QScrollBar* bar = verticalScrollBar();
    if (pace_.ShowNow(*this)) {
        heldTop_ = -1;
        pace_.Shown();
        bar->setValue(top);
        return;
    }
    if (heldTop_ < 0 || bar->value() != heldFrom_)
        heldFrom_ = bar->value();
    heldTop_ = top;
}

void PlotScrollArea::timerEvent(QTimerEvent* event)
{
    if (!pace_.Due(*event)) {
        QScrollArea::timerEvent(event);
        return;
    }
    pace_.Drop();
    const int top = std::exchange(heldTop_, -1);
    // The user's own scroll since the hold wins.
    if (top >= 0 && verticalScrollBar()->value() == heldFrom_) {
        pace_.Shown();
        verticalScrollBar()->setValue(top);
    }
}

} // namespace quorrel
