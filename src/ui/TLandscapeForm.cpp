#include "ui/TLandscapeForm.h"

#include "ui/PictureCopy.h"
#include "ui/ScreenRefresh.h"

#include <QPaintEvent>
#include <QPainter>
#include <QScrollArea>

namespace quorrel {

// The image control: every pixel is painted from the picture, no background fill first.
class TLandscapeForm::Image : public QWidget {
public:
    Image(const QImage& picture, QWidget* parent) : QWidget(parent), picture_(picture)
    {
        setAttribute(Qt::WA_OpaquePaintEvent);
    }

protected:
    void paintEvent(QPaintEvent* event) override
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

private:
    const QImage& picture_;
};

TLandscapeForm::TLandscapeForm()
    : QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowMinimizeButtonHint |
                           Qt::WindowCloseButtonHint)
{
    setWindowTitle(QStringLiteral("Landscape"));
    area_ = new QScrollArea(this);
    area_->setFrameShape(QFrame::NoFrame);
    area_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    image_ = new Image(picture_, area_);
    area_->setWidget(image_);
    SetDisplaySize(QSize(200, 200));
}

void TLandscapeForm::SetDisplaySize(const QSize& size)
{
    image_->setFixedSize(size);
    setFixedSize(size);
    area_->setGeometry(rect());
}

bool TLandscapeForm::WantsPicture() const
{
    if (isHidden() || !sinceShown_.isValid())
        return true;
    return sinceShown_.nsecsElapsed() >= RefreshNanoseconds(*this);
}

void TLandscapeForm::ShowLandscape(const QImage& picture)
{
    sinceShown_.start();
    // Only the pixels that differ from the picture shown before are repainted.
    const QRect changed = ChangedArea(picture_, picture);
    picture_ = picture;
    if (image_->size() != picture.size())
        SetDisplaySize(picture.size());
    if (isHidden())
        show();
    if (!changed.isEmpty())
        image_->update(changed);
}

} // namespace quorrel
