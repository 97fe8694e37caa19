#include "ui/PlotView.h"

#include <QPaintEvent>
#include <QPainter>

namespace quorrel {

PlotView::PlotView(QSize pictureSize, QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFixedSize(pictureSize + QSize(2, 2));
    QImage blank(pictureSize, QImage::Format_RGB32);
    blank.fill(Qt::white);
    copy_.Take(blank);
}

void PlotView::SetPicture(const QImage& picture) { SetPicture(picture, picture.rect()); }

void PlotView::SetPicture(const QImage& picture, const QRect& within)
{
    const QRect changed = copy_.Take(picture, within);
    if (!changed.isEmpty())
        update(changed.translated(1, 1) & rect().adjusted(1, 1, -1, -1));
}

void PlotView::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::Dark));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    const QRect area = event->rect() & rect().adjusted(1, 1, -1, -1);
    painter.drawImage(area.topLeft(), copy_.Picture(), area.translated(-1, -1));
}

} // namespace quorrel
