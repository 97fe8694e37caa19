#pragma once

#include "runs/AppState.h"

#include <QDialog>

#include <array>

class QGroupBox;
class QRadioButton;

namespace quorrel {

class OutputWindows;
class TModelForm;

// "Run Control": the run mode as three choices (one landscape or an array, fixed or variable
// outcomes, a single run or Monte Carlo); OK opens the model window of the mode. The choices
// persist between openings.
class TRunModeForm : public QDialog {
    Q_OBJECT
public:
    // The model windows in the order single fixed, Monte Carlo fixed, single variable,
    // Monte Carlo variable, array fixed, array variable; a null entry is a mode whose window
    // this program does not have, and it is offered disabled.
    using ModelWindows = std::array<TModelForm*, 6>;

    TRunModeForm(AppState& app, Dialogs& dialogs, OutputWindows& outputs, const ModelWindows& windows);

    void LandscapeGroupClick();
    void OKBtnClick();

    // The index into ModelWindows of a choice.
    static int ModeIndex(bool multiple, bool variable, bool monteCarlo);

    QGroupBox* LandscapeGroup;
    QGroupBox* OutcomeGroup;
    QGroupBox* RunGroup;
    QRadioButton* SingleLandscape;
    QRadioButton* MultipleLandscapes;
    QRadioButton* FixedOutcome;
    QRadioButton* VariableOutcome;
    QRadioButton* SingleRun;
    QRadioButton* MonteCarlo;

private:
    void UpdateAvailability();

    AppState& app_;
    Dialogs& dialogs_;
    OutputWindows& outputs_;
    ModelWindows windows_;
};

} // namespace quorrel
