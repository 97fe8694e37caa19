#include "ui/TColorMapForm.h"

#include <QPainter>

namespace quorrel {

TColorMapForm::TColorMapForm(const ColorMap& colors)
    : QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      colors_(colors)
{
    setWindowTitle(QStringLiteral("Colors"));
    QFont small = font();
    small.setPixelSize(11);
    setFont(small);
    setFixedSize(2 * ColumnWidth + 1, Rows * RowHeight + 1);
}

QString TColorMapForm::RowLabel(int r)
{
    if (r == 0)
        return QStringLiteral("Species");
    if (r == 1)
        return QStringLiteral("Empty");
    const int species = r - 1;
    return species < 10 ? QStringLiteral(" %1").arg(species) : QString::number(species);
}

void TColorMapForm::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().window());
    const QColor grid(160, 160, 160);
    for (int r = 0; r < Rows; ++r) {
        const int top = r * RowHeight;
        const QRect label(0, top, ColumnWidth, RowHeight);
        const QRect swatch(ColumnWidth, top, ColumnWidth, RowHeight);
        painter.setPen(palette().windowText().color());
        painter.drawText(label.adjusted(4, 0, 0, 0), Qt::AlignVCenter | Qt::AlignLeft, RowLabel(r));
        if (r == 0)
            painter.drawText(swatch.adjusted(4, 0, 0, 0), Qt::AlignVCenter | Qt::AlignLeft, QStringLiteral("Colors"));
        else
            painter.fillRect(swatch, QColor(colors_[r - 1]));
        painter.setPen(grid);
        painter.drawRect(label);
        painter.drawRect(swatch);
    }
}

} // namespace quorrel
