#pragma once

#include <chrono>
#include <iosfwd>

namespace quorrel {

// The sweep's progress on one line of standard error, rewritten: runs done, failed,
// running and left, the rate of this session and the time left at that rate.
class SweepProgress {
public:
    SweepProgress(std::ostream& err, bool shown) : err_(err), shown_(shown) {}

    void Show(long done, long failed, long running, long left, long endedHere);
    // Ends the line before other text is written.
    void Break();

private:
    std::ostream& err_;
    bool shown_;
    bool onLine_ = false;
    std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
    std::chrono::steady_clock::time_point lastDrawn_{};
};

} // namespace quorrel
