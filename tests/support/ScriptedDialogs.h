#pragma once

#include "engine/Dialogs.h"

#include <deque>
#include <optional>
#include <string>
#include <vector>

namespace quorrel::test {

// A Dialogs double: records every message and file request and answers from scripts.
// Without a scripted answer a message gets the first button of its set and a file
// request is cancelled.
class ScriptedDialogs : public Dialogs {
public:
    struct Shown {
        MessageKind kind;
        std::string text;
        MessageButtons buttons;
    };

    std::vector<Shown> messages;
    std::vector<FileDialogRequest> fileRequests;
    std::deque<MessageAnswer> answers;
    std::deque<std::optional<std::string>> files;

    MessageAnswer Message(MessageKind kind, const std::string& text, MessageButtons buttons) override
    {
        messages.push_back({kind, text, buttons});
        if (!answers.empty()) {
            const MessageAnswer a = answers.front();
            answers.pop_front();
            return a;
        }
        return FirstButton(buttons);
    }

    std::optional<std::string> ChooseFile(const FileDialogRequest& request) override
    {
        fileRequests.push_back(request);
        if (files.empty())
            return std::nullopt;
        auto f = files.front();
        files.pop_front();
        return f;
    }

    std::string LastText() const { return messages.empty() ? std::string() : messages.back().text; }

    static MessageAnswer FirstButton(MessageButtons buttons)
    {
        switch (buttons) {
        case MessageButtons::Ok:
        case MessageButtons::OkCancel:
            return MessageAnswer::Ok;
        case MessageButtons::Retry:
        case MessageButtons::RetryCancel:
            return MessageAnswer::Retry;
        case MessageButtons::YesCancel:
        case MessageButtons::YesNoCancel:
        case MessageButtons::YesRetry:
            return MessageAnswer::Yes;
        }
        return MessageAnswer::Ok;
    }
};

} // namespace quorrel::test
