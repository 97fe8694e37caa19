#pragma once

#include "runs/SingleRun.h"
#include "ui/TSingleRunForm.h"

namespace quorrel {

// "Single Run" of the fixed-outcome model on one landscape.
class TModelOneForm : public TSingleRunForm {
    Q_OBJECT
public:
    TModelOneForm(AppState& app, Dialogs& dialogs, OutputWindows& outputs, TInitProgressForm& progress);

protected:
    void RunModel() override { run_.Start(*this, *this); }

private:
    SingleRun run_;
};

} // namespace quorrel
