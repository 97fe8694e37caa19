#include "app/RunProcesses.h"

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

namespace quorrel {

namespace {

// What a run's messages keep at most; a run that prints more is cut, and says so.
constexpr size_t MaxMessages = 1 << 20;

} // namespace

RunProcesses::~RunProcesses()
{
    for (Child& child : running_) {
        kill(child.Pid, SIGTERM);
        waitpid(child.Pid, nullptr, 0);
        close(child.Err);
    }
}

std::string RunProcesses::Start(long tag, const std::vector<std::string>& argv)
{
    int pipeEnds[2];
    if (pipe2(pipeEnds, O_CLOEXEC) != 0)
        return std::string("no pipe for the run's messages: ") + std::strerror(errno);
    std::vector<char*> args;
    for (const std::string& a : argv)
        args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);

    const auto start = std::chrono::system_clock::now();
    const pid_t pid = fork();
    if (pid < 0) {
        const int error = errno;
        close(pipeEnds[0]);
        close(pipeEnds[1]);
        return std::string("the run cannot be started: ") + std::strerror(error);
    }
    if (pid == 0) {
        // In the child: only async-signal-safe calls until exec.
        const int null = open("/dev/null", O_RDWR);
        dup2(null, STDIN_FILENO);
        dup2(null, STDOUT_FILENO);
        dup2(pipeEnds[1], STDERR_FILENO);
        signal(SIGINT, SIG_DFL);
        signal(SIGTERM, SIG_DFL);
        sigprocmask(SIG_SETMASK, &childMask_, nullptr);
        execv("/proc/self/exe", args.data());
        const char message[] = "quorrel-batch: the run's program cannot be started\n";
        [[maybe_unused]] const ssize_t written = write(STDERR_FILENO, message, sizeof message - 1);
        _exit(127);
    }
    close(pipeEnds[1]);
    fcntl(pipeEnds[0], F_SETFL, O_NONBLOCK);
    running_.push_back({tag, pid, pipeEnds[0], {}, start, std::chrono::steady_clock::now()});
    return {};
}

void RunProcesses::Drain(Child& child, bool untilEnd)
{
    char buffer[4096];
    for (;;) {
        const ssize_t n = read(child.Err, buffer, sizeof buffer);
        if (n > 0) {
            if (child.Messages.size() < MaxMessages)
                child.Messages.append(buffer, static_cast<size_t>(std::min<size_t>(n, MaxMessages - child.Messages.size())));
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && errno == EAGAIN && untilEnd) {
            pollfd p{child.Err, POLLIN, 0};
            poll(&p, 1, 1000);
            continue;
        }
        return; // end of the output, or nothing more for now
    }
}

std::vector<RunProcesses::Ended> RunProcesses::Wait(std::chrono::milliseconds timeout)
{
    std::vector<pollfd> fds;
    for (const Child& child : running_)
        fds.push_back({child.Err, POLLIN, 0});
    if (!fds.empty())
        poll(fds.data(), fds.size(), static_cast<int>(timeout.count()));
    std::vector<Ended> ended;
    for (size_t i = 0; i < running_.size();) {
        Child& child = running_[i];
        Drain(child, false);
        int status = 0;
        if (waitpid(child.Pid, &status, WNOHANG) != child.Pid) {
            ++i;
            continue;
        }
        Drain(child, true);
        close(child.Err);
        if (child.Messages.size() >= MaxMessages)
            child.Messages += "\n[the rest of the messages is left out]\n";
        const double seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - child.Started).count();
        ended.push_back({child.Tag, status, std::move(child.Messages), child.Start, std::chrono::system_clock::now(),
                         seconds});
        running_.erase(running_.begin() + static_cast<long>(i));
    }
    return ended;
}

void RunProcesses::Signal(int signal) const
{
    for (const Child& child : running_)
        kill(child.Pid, signal);
}

int RunProcesses::ExitStatus(int waitStatus)
{
    if (WIFSIGNALED(waitStatus))
        return 128 + WTERMSIG(waitStatus);
    return WEXITSTATUS(waitStatus);
}

} // namespace quorrel
