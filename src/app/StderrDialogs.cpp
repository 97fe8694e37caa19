#include "app/StderrDialogs.h"

#include <ostream>

namespace quorrel {

namespace {

const char* KindName(MessageKind kind)
{
    switch (kind) {
    case MessageKind::Error:
        return "error";
    case MessageKind::Warning:
        return "warning";
    case MessageKind::Information:
        return "information";
    case MessageKind::Confirmation:
        return "question";
    }
    return "message";
}

} // namespace

MessageAnswer StderrDialogs::Message(MessageKind kind, const std::string& text, MessageButtons buttons)
{
    if (kind == MessageKind::Error)
        ++errors_;
    if (BeforeMessage)
        BeforeMessage();
    std::string shown = text;
    for (char& c : shown)
        if (c == '\r')
            c = '\n';
    out_ << "quorrel-batch: " << KindName(kind) << ": " << shown << '\n';

    MessageAnswer answer = MessageAnswer::Ok;
    switch (buttons) {
    case MessageButtons::Ok:
        answer = MessageAnswer::Ok;
        break;
    case MessageButtons::Retry:
        answer = MessageAnswer::Retry;
        break;
    case MessageButtons::YesNoCancel:
        answer = MessageAnswer::No;
        break;
    case MessageButtons::OkCancel:
    case MessageButtons::YesCancel:
    case MessageButtons::RetryCancel:
        answer = MessageAnswer::Cancel;
        break;
    case MessageButtons::YesRetry:
        answer = MessageAnswer::Retry;
        break;
    }
    if (buttons != MessageButtons::Ok && buttons != MessageButtons::Retry) {
        const char* said = answer == MessageAnswer::No ? "no" : answer == MessageAnswer::Cancel ? "cancel" : "retry";
        out_ << "quorrel-batch: answered " << said << '\n';
    }
    out_.flush();
    return answer;
}

std::optional<std::string> StderrDialogs::ChooseFile(const FileDialogRequest& request)
{
    if (BeforeMessage)
        BeforeMessage();
    out_ << "quorrel-batch: no file chosen for \"" << request.title << "\"\n";
    out_.flush();
    return std::nullopt;
}

} // namespace quorrel
