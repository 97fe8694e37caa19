#pragma once

#include "runs/SingleRun.h"
#include "ui/TSingleRunForm.h"

namespace quorrel {

// "Single Run" of the variable-outcome model on one landscape: the controls and protocol of
// the fixed-outcome window, its own heading and its own wording for an invalid cycle.
class TModelOneVarForm : public TSingleRunForm {
    Q_OBJECT
public:
    TModelOneVarForm(AppState& app, Dialogs& dialogs, OutputWindows& outputs, TInitProgressForm& progress);

protected:
    void RunModel() override { run_.Start(*this, *this); }

private:
    SingleRun run_;
};

} // namespace quorrel
