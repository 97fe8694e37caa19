#include "ui/PlotScrollArea.h"

#include <QFontMetrics>
#include <QScrollBar>

#include <algorithm>

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
    window->setFixedSize(std::max(size.ClientWidth, TitleWidth(*window)), size.ClientHeight);
    setGeometry(0, 0, size.ClientWidth, size.ClientHeight);
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
    QScrollBar* bar = verticalScrollBar();
    const int top = bar->value();
    const int rows = viewport()->height();
    const bool following = newestRow_ < 0 || (newestRow_ >= top && newestRow_ < top + rows);
    newestRow_ = row;
    if (following && row >= top + rows)
        bar->setValue(row - rows + 1);
}

} // namespace quorrel
