#pragma once

#include "output/LandscapeSink.h"

#include <QImage>
#include <QWidget>

namespace quorrel {

// "Landscape": the current landscape picture, drawn unscaled; the client area is the
// display size of the picture last shown.
class TLandscapeForm : public QWidget, public LandscapeSink {
    Q_OBJECT
public:
    TLandscapeForm();

    void ShowLandscape(const QImage& picture) override;
    const QImage& Picture() const { return picture_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage picture_;
};

} // namespace quorrel
