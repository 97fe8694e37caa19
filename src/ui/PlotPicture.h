#pragma once

#include "ui/PictureCopy.h"

#include <QImage>
#include <QWidget>

namespace quorrel {

// An image control of a plot window: it takes the size of the picture it is given and draws
// it unscaled. It keeps its own copy of the picture and repaints only what changed.
class PlotPicture : public QWidget {
    Q_OBJECT
public:
    explicit PlotPicture(QWidget* parent);

    // Any part of the picture may have changed.
    void SetPicture(const QImage& picture);
    // A plot that draws one row after another has drawn rows up to newestRow (-1: none);
    // only rows after those seen before can have changed, unless the rows start again.
    void SetRows(const QImage& picture, int newestRow);
    // The next picture starts a new plot: every row is compared again.
    void ForgetRows() { newestRow_ = -1; }
    const QImage& Picture() const { return copy_.Picture(); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void Take(const QImage& picture, int firstRow, int lastRow);

    PictureCopy copy_;
    int newestRow_ = -1;
};

} // namespace quorrel
