#include "sweep/DecimalSteps.h"

#include <algorithm>
#include <cstdint>
#include <optional>

namespace quorrel {

namespace {

// A decimal number as digits and the count of places after the point.
struct Decimal {
    bool negative = false;
    std::string digits; // without sign and point, leading zeros kept
    int places = 0;
};

std::optional<Decimal> ReadDecimal(const std::string& text)
{
    Decimal d;
    size_t i = 0;
    if (i < text.size() && (text[i] == '-' || text[i] == '+'))
        d.negative = text[i++] == '-';
    bool point = false;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '.' && !point) {
            point = true;
        } else if (c >= '0' && c <= '9') {
            d.digits += c;
            if (point)
                ++d.places;
        } else {
            return std::nullopt;
        }
    }
    if (d.digits.empty())
        return std::nullopt;
    return d;
}

constexpr int MaxDigits = 17; // within int64 after scaling

// The number in units of 10^-places; empty when it does not fit.
std::optional<int64_t> Scaled(const Decimal& d, int places)
{
    std::string digits = d.digits + std::string(places - d.places, '0');
    const size_t first = digits.find_first_not_of('0');
    digits = first == std::string::npos ? "0" : digits.substr(first);
    if (static_cast<int>(digits.size()) > MaxDigits)
        return std::nullopt;
    const int64_t value = std::stoll(digits);
    return d.negative ? -value : value;
}

std::string Format(int64_t units, int places)
{
    const bool negative = units < 0;
    std::string digits = std::to_string(negative ? -units : units);
    if (places > 0) {
        if (static_cast<int>(digits.size()) <= places)
            digits.insert(0, places + 1 - digits.size(), '0');
        digits.insert(digits.size() - places, ".");
        while (digits.back() == '0')
            digits.pop_back();
        if (digits.back() == '.')
            digits.pop_back();
    }
    return (negative && units != 0 ? "-" : "") + digits;
}

} // namespace

DecimalStepsResult DecimalSteps(const std::string& fromText, const std::string& toText, const std::string& stepText,
                                size_t maxValues)
{
    DecimalStepsResult result;
    const std::optional<Decimal> from = ReadDecimal(fromText), to = ReadDecimal(toText), step = ReadDecimal(stepText);
    if (!from || !to || !step) {
        result.Error = "from, to and step must be numbers";
        return result;
    }
    const int places = std::max({from->places, to->places, step->places});
    const std::optional<int64_t> a = Scaled(*from, places), b = Scaled(*to, places), s = Scaled(*step, places);
    if (!a || !b || !s) {
        result.Error = "from, to and step have too many digits (at most " + std::to_string(MaxDigits) + ")";
        return result;
    }
    if (*s <= 0) {
        result.Error = "the step must be greater than 0";
        return result;
    }
    if (*b < *a) {
        result.Error = "to (" + toText + ") is less than from (" + fromText + ")";
        return result;
    }
    if ((*b - *a) % *s != 0) {
        result.Error = "the step " + stepText + " does not reach " + toText + " from " + fromText + " (" +
                       Format(*b - (*b - *a) % *s, places) + " is the last value before it)";
        return result;
    }
    const int64_t count = (*b - *a) / *s + 1;
    if (static_cast<uint64_t>(count) > maxValues) {
        result.Error = "the range has " + std::to_string(count) + " values, more than " + std::to_string(maxValues);
        return result;
    }
    for (int64_t k = 0; k < count; ++k)
        result.Values.push_back(Format(*a + k * *s, places));
    return result;
}

} // namespace quorrel
