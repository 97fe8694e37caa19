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
    InitProgress& Initialising() override { return initialising_; }
    bool Terminating() const override;
    void ShowProgress(const RunProgress& progress) override;
    void RunFinished(RunEnd how) override;

    int Errors() const { return dialogs_.Errors(); }

private:
    // The initial landscape is abandoned when a signal arrives. It is looked for when the
    // progress opens and then at most every few milliseconds as it is shown: each look is a
    // system call, and a big landscape shows its progress about a thousand times.
    class SignalProgress : public InitProgress {
    public:
        explicit SignalProgress(const BatchHost& host) : host_(host) {}
        void Open(int) override { Look(std::chrono::steady_clock::now()); }
        void Show(int) override
        {
            const auto now = std::chrono::steady_clock::now();
            if (now - lastLook_ >= std::chrono::milliseconds(5))
                Look(now);
        }
        bool CancelRequested() override { return cancelled_; }

    private:
        void Look(std::chrono::steady_clock::time_point now)
        {
            lastLook_ = now;
            cancelled_ = host_.Terminating();
        }

        const BatchHost& host_;
        bool cancelled_ = false;
        std::chrono::steady_clock::time_point lastLook_;
    };

    void DrawBar(int generation, int total);
    void EndBarLine();

    std::ostream& err_;
    StderrDialogs dialogs_;
    bool showProgress_;
    sigset_t held_{};
    sigset_t previous_{};
    std::chrono::steady_clock::time_point start_;
    std::chrono::steady_clock::time_point lastDrawn_;
    int lastGeneration_ = 0;
    int total_ = 0;
    int run_ = 0;       // Monte Carlo run, 0 in the other modes
    int totalRuns_ = 0;
    bool barShown_ = false;
    SignalProgress initialising_{*this};
    RunProgress progress_;
};

} // namespace quorrel
