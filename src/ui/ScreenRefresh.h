#pragma once

#include <QScreen>
#include <QWidget>

#include <cstdint>

namespace quorrel {

// The time between two refreshes of the screen a widget is on, in nanoseconds. A screen
// that tells no rate is taken to show 60 pictures a second.
inline int64_t RefreshNanoseconds(const QWidget& widget)
{
    const QScreen* screen = widget.screen();
    const double rate = screen != nullptr && screen->refreshRate() >= 1.0 ? screen->refreshRate() : 60.0;
    return static_cast<int64_t>(1e9 / rate);
}

} // namespace quorrel
