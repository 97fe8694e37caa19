#pragma once

#include "engine/Dialogs.h"

#include <functional>
#include <iosfwd>

namespace quorrel {

// The batch runner's dialogs: every message is printed to the stream (standard error), a
// line break for each "\r"; a question is answered "no" (or cancel where there is no "no"),
// a message with a single button with that button, and a file dialog is cancelled.
class StderrDialogs : public Dialogs {
public:
    explicit StderrDialogs(std::ostream& out) : out_(out) {}

    MessageAnswer Message(MessageKind kind, const std::string& text, MessageButtons buttons) override;
    std::optional<std::string> ChooseFile(const FileDialogRequest& request) override;

    // The number of error messages printed so far.
    int Errors() const { return errors_; }

    // Called before a message is printed (the progress bar ends its line there).
    std::function<void()> BeforeMessage;

private:
    std::ostream& out_;
    int errors_ = 0;
};

} // namespace quorrel
