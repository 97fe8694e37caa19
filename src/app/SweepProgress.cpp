#include "app/SweepProgress.h"

#include <cstdio>
#include <ostream>

namespace quorrel {

void SweepProgress::Show(long done, long failed, long running, long left, long endedHere)
{
    if (!shown_)
        return;
    const auto now = std::chrono::steady_clock::now();
    if (now - lastDrawn_ < std::chrono::milliseconds(200) && left + running > 0)
        return;
    lastDrawn_ = now;
    const double seconds = std::chrono::duration<double>(now - start_).count();
    const double rate = seconds > 0.0 ? endedHere / seconds : 0.0;
    char remaining[48] = "time left unknown";
    if (rate > 0.0) {
        const long s = static_cast<long>((left + running) / rate + 0.5);
        std::snprintf(remaining, sizeof remaining, "about %ld:%02ld:%02ld left", s / 3600, s / 60 % 60, s % 60);
    }
    char line[200];
    std::snprintf(line, sizeof line, "\rsweep: %ld done, %ld failed, %ld running, %ld left; %.2f runs/min; %s ", done,
                  failed, running, left, rate * 60.0, remaining);
    err_ << line;
    err_.flush();
    onLine_ = true;
}

void SweepProgress::Break()
{
    if (onLine_) {
        err_ << '\n';
        err_.flush();
        onLine_ = false;
    }
}

} // namespace quorrel
