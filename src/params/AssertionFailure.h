#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

namespace quorrel {

// A broken internal invariant. Its text is "message (module, line n)"; it ends the
// current user operation (for a run, the run), never the program.
class AssertionFailure : public std::runtime_error {
public:
    AssertionFailure(std::string_view message, std::string_view module, int line);

    const std::string& Message() const { return message_; }

private:
    std::string message_;
};

} // namespace quorrel

// Raises an AssertionFailure naming the module and the current source line.
#define QRL_FAIL(message, module) throw ::quorrel::AssertionFailure((message), (module), __LINE__)
