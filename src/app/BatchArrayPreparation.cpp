#include "app/BatchArrayPreparation.h"

#include "app/BatchPreparation.h"
#include "output/FileNames.h"

namespace quorrel {

bool IsArrayMode(const std::string& mode)
{
    return mode == "array-fixed" || mode == "array-variable";
}

bool AnyArrayOption(const BatchCommandLine& l)
{
    return l.Rows || l.Cols || l.GRateSpread || l.InfluxBetween || l.InfluxTimeStep || l.InfluxInside ||
           l.OutcomeSpread || !l.InitGRates.empty() || !l.InitOutcomes.empty();
}

void PrepareBatchArray(AppState& app, const BatchCommandLine& line, bool variableOutcome)
{
    PrepareArrayWindow(app.Params, app.Array);
    app.Array.InitGRFName = line.InitGRates;
    app.Array.InitOTCFName = variableOutcome ? line.InitOutcomes : std::string();
    using enum ArraySettingField;
    const struct {
        ArraySettingField field;
        const char* option;
        std::string ArraySettingTexts::*text;
        const std::optional<std::string>& value;
    } given[] = {
        {Rows, "--rows", &ArraySettingTexts::NumOfRow, line.Rows},
        {Cols, "--cols", &ArraySettingTexts::NumOfCol, line.Cols},
        {GRateSpread, "--grate-spread", &ArraySettingTexts::TypeGRate, line.GRateSpread},
        {InfluxBetween, "--influx-between", &ArraySettingTexts::InfluxBetween, line.InfluxBetween},
        {InfluxTimeStep, "--influx-timestep", &ArraySettingTexts::InfluxTimeStep, line.InfluxTimeStep},
        {InfluxInside, "--influx-inside", &ArraySettingTexts::InfluxInside, line.InfluxInside},
        {OutcomeSpread, "--outcome-spread", &ArraySettingTexts::TypeVOTC, line.OutcomeSpread},
    };
    // The settings in force with the options' texts over them, checked once; a refusal names
    // the option that gave the faulty field, or says the value was the one in force.
    ArraySettingTexts texts = ArraySettingTextsFrom(app.Array);
    for (const auto& g : given)
        if (g.value)
            texts.*g.text = *g.value;
    ArraySettings settings = app.Array;
    if (std::optional<ArraySettingFault> fault = ReadArraySettings(texts, variableOutcome, settings)) {
        std::string source = "the array settings in force (from the parameters; no option sets them): ";
        for (const auto& g : given)
            if (g.field == fault->Field && g.value)
                source = std::string(g.option) + " " + *g.value + ": ";
        for (char& c : fault->Message)
            if (c == '\r')
                c = ' ';
        throw BatchInputError{source + fault->Message};
    }
    app.Array = settings;
    app.Params.GParamRec.Influx = settings.InfluxInside;
}

} // namespace quorrel
