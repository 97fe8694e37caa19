#pragma once

#include "runs/AppState.h"
#include "runs/RunHost.h"
#include "ui/TModelForm.h"

#include <string>

class QLineEdit;

namespace quorrel {

class OutputWindows;
class TInitProgressForm;

// "Single Run": the window of a run on one landscape, whatever its model. Start runs the
// whole run inside its handler; the other buttons only set the run state, which the run
// reads after every generation while Qt handles the pending events. A model's window gives
// its heading, its wording for an invalid display cycle and the run driver.
class TSingleRunForm : public TModelForm, public RunHost {
    Q_OBJECT
public:
    TSingleRunForm(AppState& app, Dialogs& dialogs, OutputWindows& outputs, TInitProgressForm& progress,
                   const QString& heading, std::string invalidCycleMessage);

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
    SpaceTimeSink* SpaceTimeWindow() override;
    FreqTimeSink* FreqTimeWindow() override;
    OutcomeStatisticsSink* OutcomeStatisticsWindow() override;
    GrowthCompetitiveSink* GCGraphWindow() override;
    GrowthCompetitiveSink* GCGraphAWindow() override;
    FreqTimeSink* FreqTimeOutcomeWindow() override;

    QPushButton* CloseBtn;
    QPushButton* StopBtn;
    QPushButton* ContinueBtn;
    QPushButton* ResetBtn;
    QLineEdit* DisplayCycle;
    QLineEdit* CurGen;
    QLineEdit* TotalGen;

protected:
    // Runs the model's whole run with this window as its host.
    virtual void RunModel() = 0;

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
    std::string invalidCycleMessage_;
};

} // namespace quorrel
