#pragma once

#include <cstdint>
#include <string_view>

namespace quorrel {

// What an edit box holds: nothing, text that is not a number of the wanted kind, or a value.
enum class FieldStatus { Empty, Invalid, Value };

struct IntField {
    FieldStatus Status = FieldStatus::Empty;
    int32_t Value = 0;

    bool operator==(const IntField&) const = default;
};

struct FloatField {
    FieldStatus Status = FieldStatus::Empty;
    double Value = 0.0; // callers store it as float

    bool operator==(const FloatField&) const = default;
};

// Digits only: no sign, no blanks. A run of digits too large for 32 bits gives the largest
// 32-bit value, so the caller's range check reports it as too large.
IntField ParseIntField(std::string_view text);

// Digits and at most one decimal point, with at least one digit: no sign, no exponent.
FloatField ParseFloatField(std::string_view text);

} // namespace quorrel
