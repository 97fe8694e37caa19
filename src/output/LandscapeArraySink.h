#pragma once

#include <QImage>

namespace quorrel {

// The window "Multi-Landscape" as the array image sees it: one image control. Its client
// area takes the picture's size, at most 700 pixels each way (LandscapeArrayImage::ClientSize).
class LandscapeArraySink {
public:
    virtual ~LandscapeArraySink() = default;

    // A landscape has been drawn into the array picture: the image control shows a copy
    // and the window is shown.
    virtual void ShowLandscapeArray(const QImage& picture) = 0;
};

} // namespace quorrel
