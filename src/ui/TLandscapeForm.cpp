#include "ui/TLandscapeForm.h"

#include <QPaintEvent>
#include <QPainter>

namespace quorrel {

TLandscapeForm::TLandscapeForm()
    : QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowMinimizeButtonHint |
                           Qt::WindowCloseButtonHint)
{
    setWindowTitle(QStringLiteral("Landscape"));
    // Every pixel is painted from the picture: no background fill first.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFixedSize(200, 200);
}

void TLandscapeForm::ShowLandscape(const QImage& picture)
{
    picture_ = picture;
    if (size() != picture.size())
        setFixedSize(picture.size());
    if (isHidden())
        show();
    update();
}

void TLandscapeForm::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    if (picture_.isNull()) {
        painter.fillRect(rect(), Qt::white);
        return;
    }
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    const QRect area = event->rect();
    painter.drawImage(area.topLeft(), picture_, area);
}

} // namespace quorrel
