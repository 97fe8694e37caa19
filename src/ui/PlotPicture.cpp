#include "ui/PlotPicture.h"

#include <QPaintEvent>
#include <QPainter>

namespace quorrel {

PlotPicture::PlotPicture(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFixedSize(0, 0);
}

void PlotPicture::SetPicture(const QImage& picture)
{
    picture_ = picture;
    if (size() != picture.size())
        setFixedSize(picture.size());
    update();
}

void PlotPicture::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    const QRect area = event->rect();
    painter.fillRect(area, Qt::white);
    if (!picture_.isNull())
        painter.drawImage(area.topLeft(), picture_, area);
}

} // namespace quorrel
