#include "FieldParsers.h"

#include <algorithm>
#include <charconv>
#include <limits>

namespace quorrel {

namespace {

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

} // namespace

IntField ParseIntField(std::string_view text)
{
    if (text.empty())
        return {FieldStatus::Empty, 0};
    if (!std::all_of(text.begin(), text.end(), IsDigit))
        return {FieldStatus::Invalid, 0};
    constexpr int64_t largest = std::numeric_limits<int32_t>::max();
    int64_t value = 0;
    for (char c : text)
        value = std::min(largest, value * 10 + (c - '0'));
    return {FieldStatus::Value, static_cast<int32_t>(value)};
}

FloatField ParseFloatField(std::string_view text)
{
    if (text.empty())
        return {FieldStatus::Empty, 0.0};
    const bool allowed = std::all_of(text.begin(), text.end(), [](char c) { return IsDigit(c) || c == '.'; });
    const auto points = std::count(text.begin(), text.end(), '.');
    const bool hasDigit = std::any_of(text.begin(), text.end(), IsDigit);
    if (!allowed || points > 1 || !hasDigit)
        return {FieldStatus::Invalid, 0.0};
    double value = 0.0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size())
        return {FieldStatus::Invalid, 0.0};
    return {FieldStatus::Value, value};
}

} // namespace quorrel
