#pragma once

#include "runs/AppState.h"
#include "runs/LandscapeArrayRun.h"
#include "runs/RunHost.h"
#include "ui/TModelForm.h"

#include <memory>

class QComboBox;
class QGroupBox;
class QLineEdit;

namespace quorrel {

class ClickableLineEdit;
class OutputWindows;
class TInitProgressForm;

// An array of linked landscapes, fixed outcome ("Multiple Landscapes (Single Run)") or
// variable outcome: the array settings, the display cycle, the generation and the landscape
// being computed. Start runs the whole run inside its handler; Stop, Continue, Reset, Close
// and the display-cycle field only set the run state or the cycle, which the run reads after
// every landscape and every generation while Qt handles the pending events. The array is
// drawn in the "Multi-Landscape" window.
class TModelArrayForm : public TModelForm, public RunHost {
    Q_OBJECT
public:
    TModelArrayForm(AppState& app, Dialogs& dialogs, OutputWindows& outputs, TInitProgressForm& progress,
                    bool variableOutcome);
    ~TModelArrayForm() override;

    void StartBtnClick();
    void StopBtnClick();
    void ContinueBtnClick();
    void ResetBtnClick();
    void CloseBtnClick();
    void DisplayCycleChange();
    void InitGRFNameClick();
    void InitOTCFNameClick();

    const LandscapeArrayRun& Run() const { return *run_; }

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
    StatisticsSink* StatisticsWindow() override;
    LandscapeArraySink* LandscapeArrayWindow() override;
    FreqTimeSink* FreqTimeWindow() override;
    OutcomeStatisticsSink* OutcomeStatisticsWindow() override;
    GrowthCompetitiveSink* GCGraphWindow() override;
    GrowthCompetitiveSink* GCGraphAWindow() override;
    FreqTimeSink* FreqTimeOutcomeWindow() override;

    QGroupBox* SettingsPanel;
    QLineEdit* NumOfRow;
    QLineEdit* NumOfCol;
    QComboBox* TypeGRate;
    QLineEdit* InfluxBetween;
    QLineEdit* InfluxTimeStep;
    QLineEdit* InfluxInside;
    ClickableLineEdit* InitGRFName;
    QComboBox* TypeVOTC = nullptr;         // the variable-outcome array only
    ClickableLineEdit* InitOTCFName = nullptr; // the variable-outcome array only

    QLineEdit* DisplayCycle;
    QPushButton* StopBtn;
    QPushButton* ContinueBtn;
    QPushButton* ResetBtn;
    QPushButton* CloseBtn;
    QLineEdit* CurGen;
    QLineEdit* TotalGen;
    QLineEdit* CurRow;
    QLineEdit* CurCol;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    QGroupBox* BuildSettingsPanel(bool variableOutcome);
    void FormShow();
    void ShowSettings();
    ArraySettingTexts SettingTexts() const;
    // The save dialog of a per-landscape table file; the chosen name, or the current one.
    std::string ChooseTableFile(const std::string& title, const std::string& current);
    void ShowIdle();
    void ShowRunning();
    void ShowStopped();
    void ShowCycle();

    AppState& app_;
    Dialogs& dialogs_;
    OutputWindows& outputs_;
    TInitProgressForm& progress_;
    std::unique_ptr<LandscapeArrayRun> run_;
};

} // namespace quorrel
