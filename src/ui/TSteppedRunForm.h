#pragma once

#include "runs/AppState.h"
#include "runs/RunHost.h"
#include "ui/RunProgressField.h"
#include "ui/TModelForm.h"

#include <string>

class QHBoxLayout;
class QLineEdit;

namespace quorrel {

class OutputWindows;
class TInitProgressForm;

// A model window whose run can be stopped, continued and reset: Start runs the whole run
// inside its handler; Stop, Continue, Reset, Close and the display-cycle field only set the
// run state or the cycle, which the run reads after every step while Qt handles the pending
// events. A window lays out its own controls, names the run to start and shows its progress.
class TSteppedRunForm : public TModelForm, public RunHost {
    Q_OBJECT
public:
    TSteppedRunForm(AppState& app, Dialogs& dialogs, OutputWindows& outputs, TInitProgressForm& progress,
                    std::string invalidCycleMessage);

    void StartBtnClick();
    void StopBtnClick();
    void ContinueBtnClick();
    void ResetBtnClick();
    void CloseBtnClick();
    void DisplayCycleChange();

    // RunControl
    void Breathe() override;
    void WaitWhileStopped() override;
    bool Terminating() const override { return ApplicationTerminating(); }
    // RunObserver
    void RunStarted() override;
    void HideOutputWindows(const OutputWindowSet& leftAlone) override;
    void RunFinished(RunEnd how) override;
    Dialogs& Messages() override { return dialogs_; }
    InitProgress& Initialising() override;

    QPushButton* CloseBtn = nullptr;
    QPushButton* StopBtn = nullptr;
    QPushButton* ContinueBtn = nullptr;
    QPushButton* ResetBtn = nullptr;
    QLineEdit* DisplayCycle = nullptr;
    RunProgressField* CurGen = nullptr;
    QLineEdit* TotalGen = nullptr;

protected:
    // Runs the window's whole run with this window as its control and observer.
    virtual void RunModel() = 0;
    // Controls beyond the display cycle that may be changed only while no run is in progress.
    virtual void EnableIdleControls(bool /*enabled*/) {}
    // Sets the window up each time it is shown by the program.
    virtual void FormShow();

    // "Display landscape every [DisplayCycle] generations", creating the field.
    QHBoxLayout* DisplayCycleLine();
    // Connects the buttons and the display-cycle field, once every control exists.
    void ConnectRunControls();
    // The display cycle from the options, the total generations and generation 0.
    void ShowRunDefaults();
    void ShowIdle();

    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

    AppState& app_;
    Dialogs& dialogs_;
    OutputWindows& outputs_;

private:
    void ShowRunning();
    void ShowStopped();
    void ShowCycle();

    TInitProgressForm& progress_;
    std::string invalidCycleMessage_;
};

} // namespace quorrel
