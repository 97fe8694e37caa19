#include "ui/ClickableLineEdit.h"

#include <QMouseEvent>

namespace quorrel {

ClickableLineEdit::ClickableLineEdit(QWidget* parent) : QLineEdit(parent)
{
    setReadOnly(true);
}

void ClickableLineEdit::mousePressEvent(QMouseEvent* event)
{
    QLineEdit::mousePressEvent(event);
    if (event->button() == Qt::LeftButton && isEnabled())
        emit clicked();
}

} // namespace quorrel
