#include "AssertionFailure.h"

namespace quorrel {

namespace {

// "%s (%s, line %d)"
std::string FormatFailure(std::string_view message, std::string_view module, int line)
{
    std::string text(message);
    text += " (";
    text += module;
    text += ", line ";
    text += std::to_string(line);
    text += ')';
    return text;
}

} // namespace

AssertionFailure::AssertionFailure(std::string_view message, std::string_view module, int line)
    : std::runtime_error(FormatFailure(message, module, line)), message_(message)
{
}

} // namespace quorrel
