#pragma once

#include "engine/Dialogs.h"

#include <functional>
#include <string>

namespace quorrel {

// Collects the error that ends a run: an assertion failure, a data file that cannot be
// written, or any other exception raised inside a step. The first error is kept and shown
// once through the dialogs; later steps still run, so that files get closed.
class RunFailure {
public:
    // Runs the step; an exception it raises becomes the run's error unless one is kept already.
    void Try(const std::function<void()>& step);

    // Shows the kept error, once, as an error box.
    void Report(Dialogs& dialogs);

    explicit operator bool() const { return failed_; }
    const std::string& Message() const { return message_; }

private:
    bool failed_ = false;
    bool reported_ = false;
    std::string message_;
};

} // namespace quorrel
