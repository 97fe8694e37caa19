#pragma once

#include <QImage>

namespace quorrel {

// Where OutputLandscape hands a landscape picture that is to be shown: the landscape window
// sets its client area to the picture's size, shows it and brings itself up if hidden.
class LandscapeSink {
public:
    virtual ~LandscapeSink() = default;
    virtual void ShowLandscape(const QImage& picture) = 0;
    // Whether a picture shown now could reach the screen: a window whose screen cannot show
    // pictures as fast as the run draws them declines some, and is shown the latest before
    // the run waits while stopped and at the run's last generation.
    virtual bool WantsPicture() const { return true; }
};

} // namespace quorrel
