#include "ui/LatticePicture.h"

#include <QPainter>
#include <QPainterPath>

#include <cmath>

namespace quorrel {

namespace {

constexpr int CellSize = 12;
constexpr int Gap = 1;

} // namespace

LatticePicture::LatticePicture(const ColorMap& colors, QWidget* parent) : QWidget(parent), colors_(colors) {}

int LatticePicture::SpeciesAt(int x, int y)
{
    // Interfering waves give patches with ragged edges, like competitors meeting on a lattice.
    const double v = std::sin(x * 0.31) + std::cos(y * 0.27) + 0.8 * std::sin((x + 2 * y) * 0.13) +
                     0.35 * std::sin(x * 1.7 + y * 2.3);
    const int band = static_cast<int>(std::floor((v + 3.0) * 1.6));
    return 1 + ((band % 5) + 5) % 5;
}

void LatticePicture::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), QColor(40, 44, 52));
    const int step = CellSize + Gap;
    for (int y = 0; y * step < height(); ++y)
        for (int x = 0; x * step < width(); ++x) {
            const QColor colour = QColor(colors_[SpeciesAt(x, y)]).darker(115);
            painter.fillRect(x * step, y * step, CellSize, CellSize, colour);
        }

    painter.setRenderHint(QPainter::Antialiasing);
    QFont title = font();
    title.setPointSize(40);
    title.setBold(true);
    QPainterPath path;
    const QString name = QStringLiteral("Quorrel");
    const QFontMetrics metrics(title);
    path.addText((width() - metrics.horizontalAdvance(name)) / 2.0, height() / 2.0 + metrics.ascent() / 3.0, title,
                 name);
    painter.setPen(QPen(QColor(20, 20, 20), 5));
    painter.drawPath(path);
    painter.fillPath(path, Qt::white);
}

void LatticePicture::mousePressEvent(QMouseEvent*)
{
    // Clicking the picture makes it visible.
    show();
}

} // namespace quorrel
