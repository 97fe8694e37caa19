#include "ui/PlotScrollArea.h"

#include <QScrollBar>

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

void PlotScrollArea::ApplySize(const PlotWindowSize& size)
{
    QWidget* window = parentWidget();
    window->setFixedSize(size.ClientWidth, size.ClientHeight);
    setGeometry(0, 0, size.ClientWidth, size.ClientHeight);
}

} // namespace quorrel
