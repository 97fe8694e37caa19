#include "app/BatchArrayPreparation.h"

#include "app/BatchPreparation.h"
#include "output/FileNames.h"

namespace quorrel {

namespace {

// Keeps the first message instead of showing it.
class FirstMessage : public Dialogs {
public:
    std::string text;
    MessageAnswer Message(MessageKind, const std::string& message, MessageButtons) override
    {
        if (text.empty())
            text = message;
        return MessageAnswer::Ok;
    }
    std::optional<std::string> ChooseFile(const FileDialogRequest&) override { return std::nullopt; }
};

} // namespace

bool IsArrayMode(const std::string& mode)
{
    return mode == "array-fixed" || mode == "array-variable";
}

bool AnyArrayOption(const BatchCommandLine& l)
{
    return l.Rows || l.Cols || l.GRateSpread || l.InfluxBetween || l.InfluxTimeStep || l.InfluxInside ||
           l.OutcomeSpread || !l.InitGRates.empty() || !l.InitOutcomes.empty();
}

ArraySettingTexts PrepareBatchArray(AppState& app, const BatchCommandLine& line, bool variableOutcome)
{
    PrepareArrayWindow(app.Params, app.Array);
    app.Array.InitGRFName = line.InitGRates;
    app.Array.InitOTCFName = variableOutcome ? line.InitOutcomes : std::string();
    const struct {
        const char* option;
        std::string ArraySettingTexts::*field;
        const std::optional<std::string>& value;
    } given[] = {
        {"--rows", &ArraySettingTexts::NumOfRow, line.Rows},
        {"--cols", &ArraySettingTexts::NumOfCol, line.Cols},
        {"--grate-spread", &ArraySettingTexts::TypeGRate, line.GRateSpread},
        {"--influx-between", &ArraySettingTexts::InfluxBetween, line.InfluxBetween},
        {"--influx-timestep", &ArraySettingTexts::InfluxTimeStep, line.InfluxTimeStep},
        {"--influx-inside", &ArraySettingTexts::InfluxInside, line.InfluxInside},
        {"--outcome-spread", &ArraySettingTexts::TypeVOTC, line.OutcomeSpread},
    };
    // The settings in force first, then the options one by one, so that a refusal names
    // where the value came from.
    ArraySettingTexts texts = ArraySettingTextsFrom(app.Array);
    std::string source = "the array settings in force (from the parameters; no option sets them): ";
    for (size_t i = 0;; ++i) {
        ArraySettings settings = app.Array;
        ParameterSet params = app.Params;
        FirstMessage refusal;
        if (!ValidateArraySettings(texts, variableOutcome, settings, params, refusal)) {
            for (char& c : refusal.text)
                if (c == '\r')
                    c = ' ';
            throw BatchInputError{source + refusal.text};
        }
        while (i < std::size(given) && !given[i].value)
            ++i;
        if (i == std::size(given))
            return texts;
        texts.*given[i].field = *given[i].value;
        source = std::string(given[i].option) + " " + *given[i].value + ": ";
    }
}

} // namespace quorrel
