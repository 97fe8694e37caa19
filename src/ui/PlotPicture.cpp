#include "ui/PlotPicture.h"

#include <QPaintEvent>
#include <QPainter>

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
    painter.fillRect(area, Qt::white);
    if (!picture.isNull())
        painter.drawImage(area.topLeft(), picture, area);
}

} // namespace quorrel
