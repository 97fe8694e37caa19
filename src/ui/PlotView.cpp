#include "ui/PlotView.h"

#include <QPainter>

namespace quorrel {

PlotView::PlotView(QSize pictureSize, QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFixedSize(pictureSize + QSize(2, 2));
    picture_ = QImage(pictureSize, QImage::Format_RGB32);
    picture_.fill(Qt::white);
}

void PlotView::SetPicture(const QImage& picture)
{
    picture_ = picture;
    update(rect().adjusted(1, 1, -1, -1));
}

void PlotView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::Dark));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.drawImage(1, 1, picture_);
}

} // namespace quorrel
