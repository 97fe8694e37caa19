#include "ui/EditorTexts.h"

#include "params/FieldParsers.h"

#include <cstdio>
#include <cstdlib>

namespace quorrel {

std::string OutcomeCellText(const OutcomeTriple& entry, int i, int j)
{
    if (i == j)
        return "  x";
    if (entry.Win < 0)
        return "Variable";
    return std::to_string(entry.Win) + "," + std::to_string(entry.Loss) + "," + std::to_string(entry.Standoff);
}

std::string RangeText(int low, int high)
{
    if (low < 0)
        return "-1";
    return std::to_string(low) + " - " + std::to_string(high);
}

std::string OutcomeModeLabel(int mode, int standoffPercent)
{
    const char* format = nullptr;
    switch (mode) {
    case UniformRandomising:
        format = "Randomising (uniform) with %d%% standoffs";
        break;
    case NoReversalRandomising:
        format = "Randomising (no reversals) with %d%% standoffs";
        break;
    case HierarchicalRandomising:
        format = "Randomising (hierachical) with %d%% standoffs";
        break;
    default:
        return "Not randomising";
    }
    char buffer[80];
    std::snprintf(buffer, sizeof buffer, format, standoffPercent);
    return buffer;
}

std::string GRateModeLabel(bool randomising)
{
    return randomising ? "Randomising" : "Not Randomising";
}

std::string Format3d(int value)
{
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%3d", value);
    return buffer;
}

std::string SevenDecimals(float value)
{
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.6e", static_cast<double>(value));
    std::snprintf(buffer, sizeof buffer, "%.7f", std::strtod(buffer, nullptr));
    return buffer;
}

std::string_view Trimmed(std::string_view text)
{
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return {};
    const auto last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

std::optional<double> CellNumber(std::string_view text)
{
    const FloatField field = ParseFloatField(Trimmed(text));
    if (field.Status != FieldStatus::Value)
        return std::nullopt;
    return field.Value;
}

} // namespace quorrel
