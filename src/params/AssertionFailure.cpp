#include "AssertionFailure.h"

#include <cstdio>
#include <vector>

namespace quorrel {

namespace {

std::string FormatFailure(std::string_view message, std::string_view module, int line)
{
    const std::string m(message);
    const std::string mod(module);
    const int size = std::snprintf(nullptr, 0, "%s (%s, line %d)", m.c_str(), mod.c_str(), line);
    std::vector<char> buffer(static_cast<size_t>(size) + 1);
    std::snprintf(buffer.data(), buffer.size(), "%s (%s, line %d)", m.c_str(), mod.c_str(), line);
    return std::string(buffer.data(), static_cast<size_t>(size));
}

} // namespace

AssertionFailure::AssertionFailure(std::string_view message, std::string_view module, int line)
    : std::runtime_error(FormatFailure(message, module, line)), message_(message)
{
}

} // namespace quorrel
