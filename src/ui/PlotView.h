#pragma once

#include "ui/PictureCopy.h"

#include <QImage>
#include <QWidget>

namespace quorrel {

// A plot picture drawn unscaled inside a one-pixel frame. Every pixel is painted, so
// refreshing it never repaints what lies beneath; it keeps its own copy of the picture and
// repaints only the pixels that changed.
class PlotView : public QWidget {
    Q_OBJECT
public:
    PlotView(QSize pictureSize, QWidget* parent);

    void SetPicture(const QImage& picture);
    // The same, when only the pixels within the area can have changed.
    void SetPicture(const QImage& picture, const QRect& within);
    const QImage& Picture() const { return copy_.Picture(); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    PictureCopy copy_;
};

} // namespace quorrel
