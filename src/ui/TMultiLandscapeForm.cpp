#include "ui/TMultiLandscapeForm.h"

#include "output/LandscapeArrayImage.h"

#include <QHBoxLayout>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollArea>

namespace quorrel {

// The image control: the picture drawn unscaled.
class TMultiLandscapeForm::Image : public QWidget {
public:
    explicit Image(QWidget* parent) : QWidget(parent) { setAttribute(Qt::WA_OpaquePaintEvent); }

    QImage picture;

protected:
    void paintEvent(QPaintEvent* event) override
    {
        QPainter painter(this);
        if (picture.isNull()) {
            painter.fillRect(rect(), Qt::white);
            return;
        }
        const QRect area = event->rect();
        painter.drawImage(area.topLeft(), picture, area);
    }
};

TMultiLandscapeForm::TMultiLandscapeForm()
    : QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowMinimizeButtonHint |
                           Qt::WindowCloseButtonHint)
{
    setWindowTitle(QStringLiteral("Multi-Landscape"));
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    scroll_ = new QScrollArea(this);
    scroll_->setFrameShape(QFrame::NoFrame);
    scroll_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    image_ = new Image(scroll_);
    image_->setFixedSize(200, 200);
    scroll_->setWidget(image_);
    layout->addWidget(scroll_);
    setFixedSize(200, 200);
}

const QImage& TMultiLandscapeForm::Picture() const { return image_->picture; }

void TMultiLandscapeForm::ShowLandscapeArray(const QImage& picture)
{
    image_->picture = picture;
    if (image_->size() != picture.size()) {
        image_->setFixedSize(picture.size());
        // A picture larger than the client area gets scroll bars inside it.
        setFixedSize(LandscapeArrayImage::ClientSize(picture.size()));
    }
    if (isHidden())
        show();
    image_->update();
}

} // namespace quorrel
