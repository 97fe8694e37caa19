#include "ui/PlotPicture.h"

#include <QPaintEvent>
#include <QPainter>
#include <QRegion>

#include <algorithm>
#include <climits>

namespace quorrel {

PlotPicture::PlotPicture(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFixedSize(0, 0);
}

void PlotPicture::Take(const QImage& picture, int firstRow, int lastRow)
{
    const QRect changed = copy_.Take(picture, firstRow, lastRow);
    if (size() != picture.size())
        setFixedSize(picture.size());
    if (!changed.isEmpty())
        update(changed);
}

void PlotPicture::SetPicture(const QImage& picture)
{
    newestRow_ = -1;
    Take(picture, 0, INT_MAX);
}

void PlotPicture::SetRows(const QImage& picture, int newestRow)
{
    const bool onward = newestRow_ >= 0 && newestRow >= newestRow_;
    const int first = onward ? std::min(newestRow_ + 1, newestRow) : 0;
    const int last = onward ? newestRow : INT_MAX;
    newestRow_ = newestRow;
    Take(picture, first, last);
}

void PlotPicture::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    const QRect area = event->rect();
    const QImage& picture = copy_.Picture();
    // White only where the picture does not reach.
    for (const QRect& beyond : QRegion(area) - QRegion(picture.rect()))
        painter.fillRect(beyond, Qt::white);
    const QRect inside = area & picture.rect();
    if (!inside.isEmpty()) {
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.drawImage(inside.topLeft(), picture, inside);
    }
}

} // namespace quorrel
