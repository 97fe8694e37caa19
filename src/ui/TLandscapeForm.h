#pragma once

#include "output/LandscapeSink.h"

#include <QElapsedTimer>
#include <QImage>
#include <QWidget>

class QScrollArea;

namespace quorrel {

// "Landscape": the current landscape picture, drawn unscaled; the client area is the
// display size of the picture last shown (cut down to the screen, the picture then scrolls).
class TLandscapeForm : public QWidget, public LandscapeSink {
    Q_OBJECT
public:
    TLandscapeForm();

    void ShowLandscape(const QImage& picture) override;
    // Not before the screen can show another picture than the last one.
    bool WantsPicture() const override;
    const QImage& Picture() const { return picture_; }
    // The client area (and the picture's area) before any picture is shown.
    void SetDisplaySize(const QSize& size);

private:
    class Image;
    QImage picture_;
    QElapsedTimer sinceShown_;
    Image* image_;
    QScrollArea* area_;
};

} // namespace quorrel
