#pragma once

#include <QImage>

namespace quorrel {

// Where OutputLandscape hands a landscape picture that is to be shown: the landscape window
// sets its client area to the picture's size, shows it and brings itself up if hidden.
class LandscapeSink {
public:
    virtual ~LandscapeSink() = default;
    virtual void ShowLandscape(const QImage& picture) = 0;
};

} // namespace quorrel
