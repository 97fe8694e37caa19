#include "engine/ArraySettings.h"

#include "params/FieldParsers.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <optional>

namespace quorrel {

namespace {

std::string Trimmed(const std::string& text)
{
    const auto isBlank = [](unsigned char ch) { return std::isspace(ch) != 0; };
    auto begin = std::find_if_not(text.begin(), text.end(), isBlank);
    auto end = std::find_if_not(text.rbegin(), text.rend(), isBlank).base();
    return begin < end ? std::string(begin, end) : std::string();
}

// 1..3 for "uniform", "clumped", "gradient" in any case, blanks around ignored.
std::optional<uint8_t> SpreadFromText(const std::string& text)
{
    std::string t = Trimmed(text);
    std::transform(t.begin(), t.end(), t.begin(), [](unsigned char ch) { return char(std::tolower(ch)); });
    if (t == "uniform")
        return UniformSpread;
    if (t == "clumped")
        return ClumpedSpread;
    if (t == "gradient")
        return GradientSpread;
    return std::nullopt;
}

std::string RealText(float value)
{
    char buffer[128];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed);
    return std::string(buffer, result.ptr);
}

} // namespace

std::string ArraySpreadName(uint8_t spread)
{
    switch (spread) {
    case UniformSpread:
        return "Uniform";
    case ClumpedSpread:
        return "Clumped";
    case GradientSpread:
        return "Gradient";
    default:
        return "";
    }
}

ArraySettingTexts ArraySettingTextsFrom(const ArraySettings& s)
{
    return ArraySettingTexts{std::to_string(s.NumOfRow),   std::to_string(s.NumOfCol),
                             ArraySpreadName(s.TypeGRate), RealText(s.InfluxBetween),
                             std::to_string(s.InfluxTimeStep), RealText(s.InfluxInside),
                             ArraySpreadName(s.TypeVOTC)};
}

void PrepareArrayWindow(ParameterSet& params, ArraySettings& settings)
{
    params.GParamRec.RecruitType = 1;
    settings.InfluxInside = params.GParamRec.Influx;
}

std::optional<ArraySettingFault> ReadArraySettings(const ArraySettingTexts& texts, bool variable,
                                                   ArraySettings& settings)
{
    using enum ArraySettingField;
    auto fault = [](ArraySettingField field, std::string message) {
        return std::optional<ArraySettingFault>{ArraySettingFault{field, std::move(message)}};
    };

    const IntField rows = ParseIntField(texts.NumOfRow);
    const IntField cols = ParseIntField(texts.NumOfCol);
    auto inRange = [](const IntField& f) { return f.Status == FieldStatus::Value && f.Value >= 2 && f.Value <= 10; };
    if (!inRange(rows) || !inRange(cols))
        return fault(inRange(rows) ? Cols : Rows,
                     "The total number of landscapes must be given and be between 2x2 and 10x10 (rows x cols).");
    settings.NumOfRow = rows.Value;
    settings.NumOfCol = cols.Value;

    const std::optional<uint8_t> grateSpread = SpreadFromText(texts.TypeGRate);
    if (!grateSpread)
        return fault(GRateSpread, "The initial distribution of growth rates must be one of\rUniform, Gradient, or Clumped");
    settings.TypeGRate = *grateSpread;

    if (variable) {
        const std::optional<uint8_t> outcomeSpread = SpreadFromText(texts.TypeVOTC);
        if (!outcomeSpread)
            return fault(OutcomeSpread,
                         "The type of outcome among landscapes must be one of\rUniform, Gradient, or Clumped");
        settings.TypeVOTC = *outcomeSpread;
    }

    const FloatField between = ParseFloatField(texts.InfluxBetween);
    if (between.Status == FieldStatus::Empty)
        return fault(InfluxBetween, "You have to specify the probability of influx between landscapes.");
    if (between.Status == FieldStatus::Invalid || between.Value > 1.0)
        return fault(InfluxBetween, "The probability of influx between landscapes must be between 0.0 and 1.0");
    settings.InfluxBetween = static_cast<float>(between.Value);

    const IntField step = ParseIntField(texts.InfluxTimeStep);
    if (step.Status != FieldStatus::Value)
        return fault(InfluxTimeStep, "You must specify the influx time steps.");
    if (step.Value < 1)
        return fault(InfluxTimeStep, "The influx time steps must be greater than zero.");
    settings.InfluxTimeStep = step.Value;

    const FloatField inside = ParseFloatField(texts.InfluxInside);
    if (inside.Status == FieldStatus::Empty)
        return fault(InfluxInside, "You must specify the probability of influx within a landscape.");
    if (inside.Status == FieldStatus::Invalid || inside.Value > 1.0)
        return fault(InfluxInside, "The probability of influx within a landscape must be between 0.0 and 1.0");
    settings.InfluxInside = static_cast<float>(inside.Value);
    return std::nullopt;
}

bool ValidateArraySettings(const ArraySettingTexts& texts, bool variable, ArraySettings& settings,
                           ParameterSet& params, Dialogs& dialogs)
{
    if (const std::optional<ArraySettingFault> fault = ReadArraySettings(texts, variable, settings)) {
        dialogs.Message(MessageKind::Error, fault->Message, MessageButtons::Ok);
        return false;
    }
    params.GParamRec.Influx = settings.InfluxInside;
    return true;
}

} // namespace quorrel
