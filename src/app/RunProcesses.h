#pragma once

#include <chrono>
#include <string>
#include <vector>

#include <signal.h>
#include <sys/types.h>

namespace quorrel {

// The runs of a sweep as processes of this program (/proc/self/exe), each with its
// standard error captured, its standard input and output on /dev/null, and the signal mask
// the sweep started with.
class RunProcesses {
public:
    struct Ended {
        long Tag = 0;
        int WaitStatus = 0;
        std::string Messages;
        std::chrono::system_clock::time_point Start;
        std::chrono::system_clock::time_point End;
        double Seconds = 0.0;
    };

    explicit RunProcesses(const sigset_t& childMask) : childMask_(childMask) {}
    ~RunProcesses();
    RunProcesses(const RunProcesses&) = delete;
    RunProcesses& operator=(const RunProcesses&) = delete;

    // Starts a run; the reason when it cannot be started, else empty.
    std::string Start(long tag, const std::vector<std::string>& argv);
    size_t Running() const { return running_.size(); }
    // Collects output for up to timeout, then the runs that have ended.
    std::vector<Ended> Wait(std::chrono::milliseconds timeout);
    // Sends the signal to every run in progress.
    void Signal(int signal) const;

    // The exit status a wait status stands for: the code, or 128 + the signal.
    static int ExitStatus(int waitStatus);

private:
    struct Child {
        long Tag;
        pid_t Pid;
        int Err;
        std::string Messages;
        std::chrono::system_clock::time_point Start;
        std::chrono::steady_clock::time_point Started;
    };
    static void Drain(Child& child, bool untilEnd);

    sigset_t childMask_;
    std::vector<Child> running_;
};

} // namespace quorrel
