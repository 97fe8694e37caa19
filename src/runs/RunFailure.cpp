#include "runs/RunFailure.h"

#include <exception>
#include <new>

namespace quorrel {

void RunFailure::Try(const std::function<void()>& step)
{
    std::string message;
    try {
        step();
        return;
    } catch (const std::bad_alloc&) {
        message = "Insufficient memory to continue the run.";
    } catch (const std::exception& e) {
        // AssertionFailure reads "message (module, line n)", OutputFileError
        // "reason:\r  file name".
        message = e.what();
    }
    if (!failed_) {
        failed_ = true;
        message_ = std::move(message);
    }
}

void RunFailure::Report(Dialogs& dialogs)
{
    if (!failed_ || reported_)
        return;
    reported_ = true;
    dialogs.Message(MessageKind::Error, message_, MessageButtons::Ok);
}

} // namespace quorrel
