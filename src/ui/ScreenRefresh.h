#pragma once

#include <QScreen>
#include <QWidget>

#include <algorithm>
#include <cstdint>
#include <limits>

namespace quorrel {

// The time between two refreshes of the screen a widget is on, in nanoseconds. A screen
// that tells no rate is taken to show 60 pictures a second.
inline int64_t RefreshNanoseconds(const QWidget& widget)
{
    const QScreen* screen = widget.screen();
    const double rate = screen != nullptr && screen->refreshRate() >= 1.0 ? screen->refreshRate() : 60.0;
    return static_cast<int64_t>(1e9 / rate);
}

// A wait of so many nanoseconds as a timer's whole milliseconds: rounded up, at least one.
inline int TimerMilliseconds(int64_t nanoseconds)
{
    const int64_t ms = (nanoseconds + 999999) / 1000000;
    return static_cast<int>(std::clamp<int64_t>(ms, 1, std::numeric_limits<int>::max()));
}

} // namespace quorrel
