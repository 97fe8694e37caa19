#pragma once

#include <QImage>
#include <QSize>

namespace quorrel {

// A new picture whose pixels lie on large pages when it is large (see LargePageAllocator),
// so that drawing it the first time costs a page fault or two instead of hundreds; a small
// one is an ordinary picture. Its pixels are not set. A copy the picture detaches into is an
// ordinary picture.
QImage LargePagePicture(QSize size, QImage::Format format);

} // namespace quorrel
