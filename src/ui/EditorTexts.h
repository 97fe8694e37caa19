#pragma once

#include "params/ParameterSet.h"

#include <optional>
#include <string>
#include <string_view>

namespace quorrel {

// The texts that the parameter editors and viewers show in their grids and labels.

// Outcome grid cell [row i, column j]: "  x" on the diagonal, "Variable" for a variable
// pair, else "Win,Loss,Standoff".
std::string OutcomeCellText(const OutcomeTriple& entry, int i, int j);

// A range "Low - High", or "-1" when the low value is negative.
std::string RangeText(int low, int high);

// The outcome randomisation mode as a sentence, with the stand-off percentage.
std::string OutcomeModeLabel(int mode, int standoffPercent);

// "Randomising" / "Not Randomising".
std::string GRateModeLabel(bool randomising);

// An integer right-aligned in three characters ("%3d").
std::string Format3d(int value);

// A probability with seven decimals, rounded to at most seven significant digits first,
// so a single-precision 0.01 shows as "0.0100000".
std::string SevenDecimals(float value);

// The text without leading and trailing blanks.
std::string_view Trimmed(std::string_view text);

// A real number typed into a grid cell (blanks around it allowed); nothing when the text
// is not a number.
std::optional<double> CellNumber(std::string_view text);

} // namespace quorrel
