#include "app/BatchHost.h"

#include <cstdio>
#include <ostream>
#include <string>

namespace quorrel {

BatchHost::BatchHost(std::ostream& err, bool showProgress) : err_(err), dialogs_(err), showProgress_(showProgress)
{
    dialogs_.BeforeMessage = [this] { EndBarLine(); };
    sigemptyset(&held_);
    sigaddset(&held_, SIGINT);
    sigaddset(&held_, SIGTERM);
    sigprocmask(SIG_BLOCK, &held_, &previous_);
}

BatchHost::~BatchHost()
{
    // A signal that ended the run is dealt with now: the default action ends the program.
    sigprocmask(SIG_SETMASK, &previous_, nullptr);
}

bool BatchHost::Terminating() const
{
    sigset_t pending;
    sigemptyset(&pending);
    sigpending(&pending);
    return sigismember(&pending, SIGINT) == 1 || sigismember(&pending, SIGTERM) == 1;
}

void BatchHost::ShowProgress(const RunProgress& progress)
{
    progress_ = progress;
    if (!showProgress_)
        return;
    const auto now = std::chrono::steady_clock::now();
    if (progress.Generation <= 1) {
        start_ = now;
        lastDrawn_ = now;
    }
    lastGeneration_ = progress.Generation;
    total_ = progress.TotalGenerations;
    run_ = progress.Run;
    totalRuns_ = progress.TotalRuns;
    // A few redraws a second are enough.
    if (now - lastDrawn_ >= std::chrono::milliseconds(100) || progress.Generation == progress.TotalGenerations) {
        lastDrawn_ = now;
        DrawBar(progress.Generation, progress.TotalGenerations);
    }
}

void BatchHost::DrawBar(int generation, int total)
{
    constexpr int Width = 40;
    const double fraction = total > 0 ? static_cast<double>(generation) / total : 0.0;
    const int filled = static_cast<int>(fraction * Width);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
    const double rate = seconds > 0.0 ? generation / seconds : 0.0;
    char runText[40] = "";
    if (totalRuns_ > 0)
        std::snprintf(runText, sizeof runText, "run %d of %d, ", run_, totalRuns_);
    char line[200];
    std::snprintf(line, sizeof line, "\r[%s%s] %sgeneration %d of %d, %.1f generations/s ",
                  std::string(filled, '#').c_str(), std::string(Width - filled, '.').c_str(), runText, generation,
                  total, rate);
    err_ << line;
    err_.flush();
    barShown_ = true;
}

void BatchHost::EndBarLine()
{
    if (barShown_) {
        err_ << '\n';
        err_.flush();
        barShown_ = false;
    }
}

void BatchHost::RunFinished(RunEnd /*how*/)
{
    if (barShown_) {
        DrawBar(lastGeneration_, total_);
        EndBarLine();
    }
}

} // namespace quorrel
