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
    ArraySettingTexts texts = ArraySettingTextsFrom(app.Array);
    auto use = [](std::string& field, const std::optional<std::string>& given) {
        if (given)
            field = *given;
    };
    use(texts.NumOfRow, line.Rows);
    use(texts.NumOfCol, line.Cols);
    use(texts.TypeGRate, line.GRateSpread);
    use(texts.InfluxBetween, line.InfluxBetween);
    use(texts.InfluxTimeStep, line.InfluxTimeStep);
    use(texts.InfluxInside, line.InfluxInside);
    use(texts.TypeVOTC, line.OutcomeSpread);

    ArraySettings settings = app.Array;
    ParameterSet params = app.Params;
    FirstMessage refusal;
    if (!ValidateArraySettings(texts, variableOutcome, settings, params, refusal)) {
        for (char& c : refusal.text)
            if (c == '\r')
                c = ' ';
        throw BatchInputError{refusal.text};
    }
    return texts;
}

} // namespace quorrel
