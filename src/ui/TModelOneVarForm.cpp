#include "ui/TModelOneVarForm.h"

#include "ui/OutputWindows.h"

namespace quorrel {

TModelOneVarForm::TModelOneVarForm(AppState& app, Dialogs& dialogs, OutputWindows& outputs,
                                   TInitProgressForm& progress)
    : TSingleRunForm(app, dialogs, outputs, progress, QStringLiteral("Single landscape, Variable outcome"),
                     "You did not specify the display cycle properly.\rIt will stay unchanged"),
      run_(app, OutcomeKind::Variable, outputs.Sinks())
{
}

} // namespace quorrel
