#include "ui/TModelOneForm.h"

#include "ui/OutputWindows.h"

namespace quorrel {

TModelOneForm::TModelOneForm(AppState& app, Dialogs& dialogs, OutputWindows& outputs, TInitProgressForm& progress)
    : TSingleRunForm(app, dialogs, outputs, progress, QStringLiteral("Single landscape, Fixed outcome"),
                     "You have not specified a valid display cycle.\rIt will remain unchanged."),
      run_(app, OutcomeKind::Fixed, outputs.Sinks())
{
}

} // namespace quorrel
