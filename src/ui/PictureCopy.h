#pragma once

#include <QImage>
#include <QRect>

#include <climits>

namespace quorrel {

// A window's own copy of a picture that a plot goes on drawing into. Taking the picture's
// new state copies only the pixels that differ and says where they are, so that the window
// repaints just that. The plot's picture is never shared: a shared picture would be copied
// whole by the plot's next drawing.
class PictureCopy {
public:
    // Takes the picture, comparing its rows firstRow..lastRow (clipped to the picture) with
    // the copy; rows outside that range are taken to be unchanged. A picture of another size
    // or format is taken whole. Returns the bounding rectangle of the pixels that changed.
    QRect Take(const QImage& picture, int firstRow = 0, int lastRow = INT_MAX);
    // The same, comparing only the pixels within the area (clipped to the picture).
    QRect Take(const QImage& picture, const QRect& within);

    const QImage& Picture() const { return copy_; }

private:
    QImage copy_;
};

// The bounding rectangle of the pixels in which two 32-bit pictures of one size differ.
QRect ChangedArea(const QImage& before, const QImage& after, int firstRow = 0, int lastRow = INT_MAX);
// The same, within the area only (clipped to the pictures); pixels outside it are taken to
// be unchanged.
QRect ChangedArea(const QImage& before, const QImage& after, const QRect& within);

} // namespace quorrel
