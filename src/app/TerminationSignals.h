#pragma once

#include <QObject>

#include <functional>

class QSocketNotifier;

namespace quorrel {

// Brings SIGTERM, SIGINT and SIGHUP (a logout, kill, Ctrl+C) into the event loop: the signal
// handler only writes a byte into a socket pair, and the notifier on its other end calls the
// action there, where closing windows and writing files is safe. One instance per process.
class TerminationSignals : public QObject {
public:
    explicit TerminationSignals(std::function<void()> action, QObject* parent = nullptr);
    ~TerminationSignals() override;

private:
    void Received();

    std::function<void()> action_;
    int fds_[2] = {-1, -1};
    QSocketNotifier* notifier_ = nullptr;
};

} // namespace quorrel
