#include "tidy/LineFields.h"

#include <charconv>

namespace quorrel {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Whether text is an optional "-", digits, and then "." and exactly decimals digits when
// decimals > 0.
bool IsNumber(std::string_view text, int decimals)
{
    size_t i = 0;
    if (i < text.size() && text[i] == '-')
        ++i;
    const size_t digits = i;
    while (i < text.size() && IsDigit(text[i]))
        ++i;
    if (i == digits)
        return false;
    if (decimals == 0)
        return i == text.size();
    if (i >= text.size() || text[i] != '.')
        return false;
    ++i;
    size_t count = 0;
    while (i < text.size() && IsDigit(text[i]))
        ++i, ++count;
    return i == text.size() && count == static_cast<size_t>(decimals);
}

} // namespace

LineFields::LineFields(const TextLines& lines, std::string_view line)
    : lines_(lines), line_(line), number_(lines.Number() - 1)
{
}

void LineFields::Fail(const std::string& what) const
{
    lines_.FailAt(number_, "column " + std::to_string(at_ + 1) + ": " + what);
}

std::string LineFields::Number(int width, int decimals, const char* what, const char* form)
{
    const auto refuse = [&](std::string_view found) {
        Fail(std::string("expected ") + what + " (" + form + "), found " +
             (found.empty() ? std::string("the end of the line") : TextLines::Quoted(found)));
    };
    const std::string_view rest = line_.substr(at_);
    if (rest.empty())
        refuse(rest);
    size_t end = 0;
    if (rest[0] == ' ') {
        // Padded: exactly width characters, blanks and then the number.
        if (rest.size() < static_cast<size_t>(width))
            refuse(rest);
        end = static_cast<size_t>(width);
    } else {
        // Unpadded: the number takes every character that can belong to it.
        end = rest[0] == '-' ? 1 : 0;
        while (end < rest.size() && (IsDigit(rest[end]) || (decimals > 0 && rest[end] == '.')))
            ++end;
        if (end < static_cast<size_t>(width))
            refuse(rest.substr(0, end));
    }
    const std::string_view field = rest.substr(0, end);
    const size_t first = field.find_first_not_of(' ');
    if (first == std::string_view::npos || !IsNumber(field.substr(first), decimals))
        refuse(field);
    at_ += end;
    return std::string(field.substr(first));
}

std::string LineFields::Int(int width, const char* what)
{
    return Number(width, 0, what, ("an integer in " + std::to_string(width) + " characters").c_str());
}

std::string LineFields::Fixed(int width, int decimals, const char* what)
{
    return Number(width, decimals,
                  what, ("a number with " + std::to_string(decimals) + " decimals in " + std::to_string(width) +
                         " characters").c_str());
}

std::string LineFields::Bare(const char* what)
{
    size_t end = at_ < line_.size() && line_[at_] == '-' ? at_ + 1 : at_;
    while (end < line_.size() && IsDigit(line_[end]))
        ++end;
    const std::string_view field = line_.substr(at_, end - at_);
    if (!IsNumber(field, 0))
        Fail(std::string("expected ") + what + " (an integer), found " +
             (at_ < line_.size() ? TextLines::Quoted(line_.substr(at_, 12)) : std::string("the end of the line")));
    at_ = end;
    return std::string(field);
}

std::string LineFields::LeftInt(int width, const char* what)
{
    const size_t start = at_;
    std::string value = Bare(what);
    while (at_ - start < static_cast<size_t>(width) && at_ < line_.size() && line_[at_] == ' ')
        ++at_;
    if (at_ - start < static_cast<size_t>(width))
        Fail(std::string(what) + " is not padded to " + std::to_string(width) + " characters");
    return value;
}

std::string LineFields::Sci23(const char* what)
{
    // [ -]d.ddddddddddddddE[+-]dddd
    const std::string_view field = line_.substr(at_, 23);
    bool ok = field.size() == 23 && (field[0] == ' ' || field[0] == '-') && IsDigit(field[1]) && field[2] == '.' &&
              field[17] == 'E' && (field[18] == '+' || field[18] == '-');
    for (size_t i = 3; ok && i < 17; ++i)
        ok = IsDigit(field[i]);
    for (size_t i = 19; ok && i < 23; ++i)
        ok = IsDigit(field[i]);
    if (!ok)
        Fail(std::string("expected ") + what + " (a number in the 23-character scientific form), found " +
             (field.empty() ? std::string("the end of the line") : TextLines::Quoted(field)));
    at_ += 23;
    return std::string(field[0] == ' ' ? field.substr(1) : field);
}

void LineFields::Literal(std::string_view text)
{
    if (line_.substr(at_, text.size()) != text)
        Fail("expected " + TextLines::Quoted(text) + ", found " +
             (at_ < line_.size() ? TextLines::Quoted(line_.substr(at_, text.size() + 8))
                                 : std::string("the end of the line")));
    at_ += text.size();
}

std::string_view LineFields::Rest()
{
    const std::string_view rest = line_.substr(at_);
    at_ = line_.size();
    return rest;
}

void LineFields::End()
{
    if (!AtEnd())
        Fail("unexpected text at the end of the line: " + TextLines::Quoted(line_.substr(at_)));
}

int IntValue(const std::string& text)
{
    long long value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value > 2147483647LL || value < -2147483647LL)
        return value < 0 ? -2147483647 : 2147483647; // beyond any range a caller accepts
    return static_cast<int>(value);
}

} // namespace quorrel
