#pragma once

#include "runs/AppState.h"
#include "runs/FixedSingleRun.h"
#include "runs/RunHost.h"
#include "ui/TModelForm.h"

class QLineEdit;

namespace quorrel {

class OutputWindows;
class TInitProgressForm;

// "Single Run": one run of the fixed-outcome model on one landscape. Start runs the whole
// run inside its handler; the other buttons only set the run state, which the run reads
// after every generation while Qt handles the pending events.
class TModelOneForm : public TModelForm, public RunHost {
    Q_OBJECT
public:
    TModelOneForm(AppState& app, Dialogs& dialogs, OutputWindows& outputs, TInitProgressForm& progress);

    void StartBtnClick();
    void StopBtnClick();
    void ContinueBtnClick();
    void ResetBtnClick();
    void CloseBtnClick();
    void DisplayCycleChange();

    // RunHost
    void Breathe() override;
    void WaitWhileStopped() override;
    bool Terminating() const override { return ApplicationTerminating(); }
    void RunStarted() override;
    void HideOutputWindows(const OutputWindowSet& leftAlone) override;
    void ShowProgress(const RunProgress& progress) override;
    void RunFinished(RunEnd how) override;
    Dialogs& Messages() override { return dialogs_; }
    InitProgress& Initialising() override;
    LandscapeSink* LandscapeWindow() override;
    StatisticsSink* StatisticsWindow() override;

    QPushButton* CloseBtn;
    QPushButton* StopBtn;
    QPushButton* ContinueBtn;
    QPushButton* ResetBtn;
    QLineEdit* DisplayCycle;
    QLineEdit* CurGen;
    QLineEdit* TotalGen;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void FormShow();
    void ShowIdle();
    void ShowRunning();
    void ShowStopped();
    void ShowCycle();

    AppState& app_;
    Dialogs& dialogs_;
    OutputWindows& outputs_;
    TInitProgressForm& progress_;
    FixedSingleRun run_;
};

} // namespace quorrel
