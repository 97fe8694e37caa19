#pragma once

#include <optional>
#include <string>

namespace quorrel {

// The one seam through which every message box and file dialog is requested.
// The desktop program shows real dialogs, tests script the answers, and the batch
// runner prints to stderr and answers "no". In message texts "\r" is a line break.
enum class MessageKind { Error, Warning, Information, Confirmation };

enum class MessageButtons {
    Ok,
    Retry,
    OkCancel,
    YesCancel,
    YesNoCancel,
    RetryCancel,
    YesRetry,
};

enum class MessageAnswer { Ok, Retry, Yes, No, Cancel };

struct FileDialogRequest {
    bool save = false;             // save dialog (else open dialog)
    std::string title;
    std::string filter;            // "Description (*.ext)|*.ext|All files (*.*)|*.*"
    std::string defaultExtension;  // without the dot; may be empty
    std::string initialFolder;
    std::string initialName;
    bool overwritePrompt = false;  // save dialogs: ask before replacing a file
    bool mustExist = false;        // open dialogs: the file must exist
};

class Dialogs {
public:
    virtual ~Dialogs() = default;

    virtual MessageAnswer Message(MessageKind kind, const std::string& text, MessageButtons buttons) = 0;

    // The chosen path, or nothing when the user cancelled.
    virtual std::optional<std::string> ChooseFile(const FileDialogRequest& request) = 0;
};

} // namespace quorrel
