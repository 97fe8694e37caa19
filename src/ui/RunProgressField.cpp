#include "ui/RunProgressField.h"

#include "ui/ScreenRefresh.h"

#include <QTimerEvent>

namespace quorrel {

RunProgressField::RunProgressField(QWidget* parent) : QLineEdit(parent) { setReadOnly(true); }

RunProgressField::RunProgressField(QWidget* parent, std::chrono::nanoseconds interval) : RunProgressField(parent)
{
    interval_ = interval;
}

void RunProgressField::setText(const QString& text)
{
    text_ = text;
    if (text_ == QLineEdit::text()) {
        held_.stop();
        return;
    }
    const int64_t interval = interval_ ? interval_->count() : RefreshNanoseconds(*this);
    const int64_t since = sinceShown_.isValid() ? sinceShown_.nsecsElapsed() : interval;
    if (since >= interval || !isVisible()) {
        ShowLatest();
        return;
    }
    if (!held_.isActive())
        held_.start(TimerMilliseconds(interval - since), Qt::PreciseTimer, this);
}

void RunProgressField::timerEvent(QTimerEvent* event)
{
    if (event->timerId() != held_.timerId()) {
        QLineEdit::timerEvent(event);
        return;
    }
    ShowLatest();
}

void RunProgressField::ShowLatest()
{
    held_.stop();
    sinceShown_.start();
    QLineEdit::setText(text_);
}

} // namespace quorrel
