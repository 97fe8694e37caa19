#include "ui/RunProgressField.h"

#include <QTimerEvent>

namespace quorrel {

RunProgressField::RunProgressField(QWidget* parent) : QLineEdit(parent) { setReadOnly(true); }

RunProgressField::RunProgressField(QWidget* parent, std::chrono::nanoseconds interval)
    : QLineEdit(parent), pace_(interval)
{
    setReadOnly(true);
}

void RunProgressField::setText(const QString& text)
{
    text_ = text;
    if (text_ == QLineEdit::text())
        pace_.Drop();
    else if (pace_.ShowNow(*this))
        ShowLatest();
}

void RunProgressField::timerEvent(QTimerEvent* event)
{
    if (pace_.Due(*event))
        ShowLatest();
    else
        QLineEdit::timerEvent(event);
}

void RunProgressField::ShowLatest()
{
    pace_.Shown();
    QLineEdit::setText(text_);
}

} // namespace quorrel
