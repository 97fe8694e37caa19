#include "ui/RecruitmentEditorModel.h"

#include "params/ParameterRules.h"
#include "ui/EditorTexts.h"

namespace quorrel {

RecruitmentEditorModel::RecruitmentEditorModel(ParameterSet& params, Dialogs& dialogs)
    : params_(params), dialogs_(dialogs)
{
    Load();
}

void RecruitmentEditorModel::Load()
{
    const int n = params_.GParamRec.Maxspec;
    cells_.assign(n + 1, std::string());
    for (int s = 1; s <= n; ++s)
        cells_[s] = SevenDecimals(params_.RecruitmentVector[s]);
}

bool RecruitmentEditorModel::Commit()
{
    const int n = Species();
    std::vector<float> values(n + 1, 0.0f);
    for (int s = 1; s <= n; ++s) {
        // Text that is not a number is refused with the same message as a value out of range.
        const auto value = CellNumber(cells_[s]);
        if (!value || !rules::Probability(*value)) {
            dialogs_.Message(MessageKind::Error,
                             "You have to give float numbers between 0 and 1 for probabilities of recruitment.",
                             MessageButtons::Retry);
            return false;
        }
        values[s] = static_cast<float>(*value);
    }
    for (int s = 1; s <= n; ++s)
        params_.RecruitmentVector[s] = values[s];
    return true;
}

bool RecruitmentEditorModel::Reset()
{
    if (dialogs_.Message(MessageKind::Warning,
                         " Are you sure you want to reset the Recruitment Vector?\r You may wish to save the current"
                         " set of parameters\r before resetting the recruitment vector. ",
                         MessageButtons::YesNoCancel)
        != MessageAnswer::Yes)
        return false;
    params_.ResetRecruitment();
    Load();
    return true;
}

} // namespace quorrel
