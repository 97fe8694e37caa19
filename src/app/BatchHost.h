#pragma once

#include "app/StderrDialogs.h"
#include "runs/RunHost.h"

#include <chrono>
#include <iosfwd>

#include <signal.h>

namespace quorrel {

// The batch runner's run host: no windows, messages to standard error, a progress bar when
// standard error is a terminal. SIGINT and SIGTERM are held back while it exists and end
// the run after the current generation, with its files closed, as closing the application
// would.
class BatchHost : public RunHost {
public:
    BatchHost(std::ostream& err, bool showProgress);
    ~BatchHost() override;
    BatchHost(const BatchHost&) = delete;
    BatchHost& operator=(const BatchHost&) = delete;

    Dialogs& Messages() override { return dialogs_; }
    bool Terminating() const override;
    void ShowProgress(const RunProgress& progress) override;
    void RunFinished(RunEnd how) override;

    int Errors() const { return dialogs_.Errors(); }

private:
    void DrawBar(int generation, int total);

    std::ostream& err_;
    StderrDialogs dialogs_;
    bool showProgress_;
    sigset_t held_{};
    sigset_t previous_{};
    std::chrono::steady_clock::time_point start_;
    std::chrono::steady_clock::time_point lastDrawn_;
    int lastGeneration_ = 0;
    int total_ = 0;
    bool barShown_ = false;
};

} // namespace quorrel
