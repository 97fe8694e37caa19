#pragma once

#include "runs/AppState.h"
#include "runs/MonteCarloSeries.h"
#include "runs/RunHost.h"
#include "ui/TModelForm.h"

#include <memory>

class QLineEdit;

namespace quorrel {

class ClickableLineEdit;
class OutputWindows;
class TInitProgressForm;

// "Monte Carlo": a series of runs on one landscape, fixed or variable outcome, that writes a
// result file and shows no landscape. Start runs the whole series inside its handler; Stop
// and closing the window only set the run state, which the series reads after every
// generation while Qt handles the pending events.
class TMonteCarloForm : public TModelForm, public RunHost {
    Q_OBJECT
public:
    TMonteCarloForm(AppState& app, Dialogs& dialogs, OutputWindows& outputs, TInitProgressForm& progress,
                    bool variableOutcome);
    ~TMonteCarloForm() override;

    void StartBtnClick();
    void StopBtnClick();
    void CloseBtnClick();
    void ResultFileClick();

    const MonteCarloSeries& Series() const { return *series_; }

    // RunControl and RunObserver
    void Breathe() override;
    bool Terminating() const override { return ApplicationTerminating(); }
    void RunStarted() override;
    void HideOutputWindows(const OutputWindowSet& leftAlone) override;
    void ShowProgress(const RunProgress& progress) override;
    void RunFinished(RunEnd how) override;
    Dialogs& Messages() override { return dialogs_; }
    InitProgress& Initialising() override;

    QLineEdit* RepeatTimes;
    ClickableLineEdit* ResultFile;
    QPushButton* StopBtn;
    QPushButton* CloseBtn;
    QLineEdit* CurrentRun;
    QLineEdit* TotalRun;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void ShowIdle();
    void ShowRunning();

    AppState& app_;
    Dialogs& dialogs_;
    OutputWindows& outputs_;
    TInitProgressForm& progress_;
    std::unique_ptr<MonteCarloSeries> series_;
};

} // namespace quorrel
