#include "ui/MortalityEditorModel.h"

#include "params/FieldParsers.h"
#include "params/ParameterRules.h"
#include "ui/EditorTexts.h"

#include <cmath>

namespace quorrel {

MortalityEditorModel::MortalityEditorModel(ParameterSet& params, Dialogs& dialogs)
    : params_(params), dialogs_(dialogs)
{
    Load();
}

void MortalityEditorModel::Load()
{
    const int n = params_.GParamRec.Maxspec;
    cells_.assign(n + 1, std::string());
    for (int s = 1; s <= n; ++s)
        cells_[s] = SevenDecimals(params_.MortalityVector[s]);
    size_ = std::to_string(static_cast<long long>(std::nearbyint(params_.MortalSize())));
}

bool MortalityEditorModel::Commit()
{
    const int n = Species();
    std::vector<float> values(n + 1, 0.0f);
    for (int s = 1; s <= n; ++s) {
        const double value = CellNumber(cells_[s]).value_or(-1.0);
        if (!rules::Probability(value)) {
            dialogs_.Message(MessageKind::Error,
                             "Mortality vector entries must be in the range 0.0 to 1.0\rThere is a bad value for species "
                                 + std::to_string(s),
                             MessageButtons::Retry);
            return false;
        }
        values[s] = static_cast<float>(value);
    }
    const IntField size = ParseIntField(Trimmed(size_));
    const long long cells = static_cast<long long>(params_.GParamRec.MaxX) * params_.GParamRec.MaxY;
    std::string error;
    if (size.Status == FieldStatus::Empty)
        error = "You have to specify the size of mortality.";
    else if (size.Status == FieldStatus::Invalid)
        error = "You have to give a positive number for the size of mortality.";
    else if (size.Value > cells)
        error = "The size for mortality is larger than the size of the landscape.\rSpecify an integer between 0 and "
            + std::to_string(cells);
    if (!error.empty()) {
        dialogs_.Message(MessageKind::Error, error, MessageButtons::Retry);
        return false;
    }
    params_.MortalityVector[0] = static_cast<float>(size.Value);
    for (int s = 1; s <= n; ++s)
        params_.MortalityVector[s] = values[s];
    return true;
}

bool MortalityEditorModel::Reset()
{
    if (dialogs_.Message(MessageKind::Warning,
                         " Are you sure you want to reset the Mortality Vector?\r You may wish to save the current set"
                         " of parameters\r  before resetting the mortality vector. ",
                         MessageButtons::YesNoCancel)
        != MessageAnswer::Yes)
        return false;
    params_.ResetMortality();
    Load();
    return true;
}

} // namespace quorrel
