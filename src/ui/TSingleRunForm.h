#pragma once

#include "ui/TSteppedRunForm.h"

namespace quorrel {

// "Single Run": the window of a run on one landscape, whatever its model. A model's window
// gives its heading, its wording for an invalid display cycle and the run driver.
class TSingleRunForm : public TSteppedRunForm {
    Q_OBJECT
public:
    TSingleRunForm(AppState& app, Dialogs& dialogs, OutputWindows& outputs, TInitProgressForm& progress,
                   const QString& heading, std::string invalidCycleMessage);

    // RunObserver
    void ShowProgress(const RunProgress& progress) override;
};

} // namespace quorrel
