#include "app/TerminationSignals.h"

#include <QSocketNotifier>

#include <csignal>

#include <sys/socket.h>
#include <unistd.h>

namespace quorrel {

namespace {

// The write end for the handler; a signal handler can reach nothing but such a variable.
volatile std::sig_atomic_t signalWriteEnd = -1;

void WriteByte(int)
{
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = write(signalWriteEnd, &byte, 1);
}

} // namespace

TerminationSignals::TerminationSignals(std::function<void()> action, QObject* parent)
    : QObject(parent), action_(std::move(action))
{
    if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, fds_) != 0)
        return;
    signalWriteEnd = fds_[0];
    notifier_ = new QSocketNotifier(fds_[1], QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &TerminationSignals::Received);
    struct sigaction handler {};
    handler.sa_handler = WriteByte;
    sigemptyset(&handler.sa_mask);
    handler.sa_flags = SA_RESTART;
    for (int s : {SIGTERM, SIGINT, SIGHUP})
        sigaction(s, &handler, nullptr);
}

TerminationSignals::~TerminationSignals()
{
    for (int s : {SIGTERM, SIGINT, SIGHUP})
        std::signal(s, SIG_DFL);
    signalWriteEnd = -1;
    for (int fd : fds_)
        if (fd >= 0)
            close(fd);
}

void TerminationSignals::Received()
{
    char byte = 0;
    [[maybe_unused]] const ssize_t got = read(fds_[1], &byte, 1);
    action_();
}

} // namespace quorrel
