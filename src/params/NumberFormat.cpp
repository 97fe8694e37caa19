#include "NumberFormat.h"

#include <cstdio>
#include <cstdlib>

namespace quorrel {

namespace {

std::string PadLeft(std::string text, int width)
{
    if (static_cast<int>(text.size()) < width)
        text.insert(0, static_cast<size_t>(width) - text.size(), ' ');
    return text;
}

} // namespace

std::string FormatInt(long long value, int width)
{
    return PadLeft(std::to_string(value), width);
}

std::string FormatFixed62(float value)
{
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%6.2f", static_cast<double>(value));
    return buffer;
}

std::string FormatSci23(float value)
{
    char buffer[64];
    // printf gives the mantissa rounded from the exact binary value and a two-digit exponent.
    std::snprintf(buffer, sizeof buffer, "%.14E", static_cast<double>(value));
    const std::string printed(buffer);
    const size_t e = printed.find('E');
    if (e == std::string::npos) // infinity or NaN
        return PadLeft(printed, 23);
    std::string mantissa = printed.substr(0, e);
    if (mantissa[0] != '-')
        mantissa.insert(0, 1, ' ');
    const char exponentSign = printed[e + 1];
    const int exponent = std::atoi(printed.c_str() + e + 2);
    char exponentDigits[16];
    std::snprintf(exponentDigits, sizeof exponentDigits, "%04d", exponent);
    return mantissa + 'E' + exponentSign + exponentDigits;
}

} // namespace quorrel
