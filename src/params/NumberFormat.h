#pragma once

#include <string>

namespace quorrel {

// The number forms of the parameter listing and of the data files that begin with it.

// A decimal integer right-aligned in at least `width` characters.
std::string FormatInt(long long value, int width);

// Two decimals right-aligned in at least 6 characters ("%6.2f" of the value widened to double).
std::string FormatFixed62(float value);

// 23 characters: a sign position (blank or "-"), d.dddddddddddddd, "E", the exponent's sign and
// four exponent digits. The float is widened exactly and rounded to 15 significant digits,
// so 0.1f gives " 1.00000001490116E-0001".
std::string FormatSci23(float value);

} // namespace quorrel
