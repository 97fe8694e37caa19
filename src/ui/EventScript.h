#pragma once

#include <QTimer>

#include <functional>

namespace quorrel {

// Runs a step every time Qt handles events (a run lets it once per generation, and keeps
// letting it while stopped) until the step returns true. Scripts the clicks of a user
// during a run: the screenshot program and the window tests drive runs with it.
class EventScript {
public:
    explicit EventScript(std::function<bool()> step) : step_(std::move(step))
    {
        timer_.setInterval(0);
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            // A step that lets Qt handle events must not be entered again meanwhile.
            if (busy_)
                return;
            busy_ = true;
            if (step_())
                timer_.stop();
            busy_ = false;
        });
        timer_.start();
    }

    bool Finished() const { return !timer_.isActive(); }

private:
    std::function<bool()> step_;
    QTimer timer_;
    bool busy_ = false;
};

} // namespace quorrel
