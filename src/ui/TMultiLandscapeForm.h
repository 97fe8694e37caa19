#pragma once

#include "output/LandscapeArraySink.h"

#include <QImage>
#include <QWidget>

class QScrollArea;

namespace quorrel {

// "Multi-Landscape": the picture of a whole landscape array, one pixel per cell and the
// landscapes 5 pixels apart. The client area takes the picture's size, at most 700 pixels
// each way; a larger picture can be scrolled.
class TMultiLandscapeForm : public QWidget, public LandscapeArraySink {
    Q_OBJECT
public:
    TMultiLandscapeForm();

    void ShowLandscapeArray(const QImage& picture) override;
    const QImage& Picture() const;

private:
    class Image;
    Image* image_;
    QScrollArea* scroll_;
};

} // namespace quorrel
