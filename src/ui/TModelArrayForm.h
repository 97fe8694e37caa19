#pragma once

#include "runs/LandscapeArrayRun.h"
#include "ui/TSteppedRunForm.h"

#include <memory>

class QComboBox;
class QGroupBox;

namespace quorrel {

class ClickableLineEdit;

// An array of linked landscapes, fixed outcome ("Multiple Landscapes (Single Run)") or
// variable outcome: the array settings, the display cycle, the generation and the landscape
// being computed. The run reads its state after every landscape and every generation; the
// settings may be changed only while no run is in progress. The array is drawn in the
// "Multi-Landscape" window.
class TModelArrayForm : public TSteppedRunForm {
    Q_OBJECT
public:
    TModelArrayForm(AppState& app, Dialogs& dialogs, OutputWindows& outputs, TInitProgressForm& progress,
                    bool variableOutcome);
    ~TModelArrayForm() override;

    void InitGRFNameClick();
    void InitOTCFNameClick();

    const LandscapeArrayRun& Run() const { return *run_; }

    // RunObserver
    void ShowProgress(const RunProgress& progress) override;

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

    RunProgressField* CurRow;
    RunProgressField* CurCol;

protected:
    void RunModel() override;
    void EnableIdleControls(bool enabled) override;
    void FormShow() override;

private:
    QGroupBox* BuildSettingsPanel(bool variableOutcome);
    void ShowSettings();
    ArraySettingTexts SettingTexts() const;
    // The save dialog of a per-landscape table file; the chosen name, or the current one.
    std::string ChooseTableFile(const std::string& title, const std::string& current);

    std::unique_ptr<LandscapeArrayRun> run_;
};

} // namespace quorrel
