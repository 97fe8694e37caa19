#pragma once

#include "runs/AppState.h"
#include "ui/TRunModeForm.h"

#include <QMainWindow>
#include <QSettings>

#include <filesystem>
#include <memory>
#include <string>

class QAction;
class QLabel;

namespace quorrel {

class LatticePicture;
class OutputWindows;
class ParameterEditors;
class TGParamDlg;
class TGParamViewForm;
class TInfoForm;
class TInitProgressForm;
class TModelArrayForm;
class TModelOneForm;
class TModelOneVarForm;
class TMonteCarloForm;
class TOptionsDlg;
class WindowLayout;

// "Quorrel": the main window. Its start-up brings the application state to life and creates
// the other windows hidden; closing it saves the parameters and options, removes the
// temporary folder and ends the program. The windows go where WindowLayout puts them; the
// user's arrangement is kept in layoutSettings (none: for this session only).
class TMainForm : public QMainWindow {
    Q_OBJECT
public:
    TMainForm(AppState& app, Dialogs& dialogs, std::unique_ptr<QSettings> layoutSettings = nullptr);
    ~TMainForm() override;

    // Start-up in startDir. False when the program must end at once (no temporary folder).
    bool Startup(const std::filesystem::path& startDir);

    // True when no model window has a run in progress; otherwise shows message (when not
    // empty), brings that window to the front and gives false.
    bool RunGuard(const std::string& message);

    void UseDefaultItemClick();
    void GeneralItemClick();
    void OptionsItemClick();
    void ViewGeneralItemClick();
    void ReadFromFileItemClick();
    void WriteToFileItemClick();
    void WriteAsDefaultItemClick();
    void ResetWindowLayoutItemClick();
    void RunItemClick();
    void WriteLandscapeItemClick();
    void ColorMapItemClick();
    void LandscapeItemClick();
    void CoverageItemClick();
    void SpaceTimeItemClick();
    void FreqTimeItemClick();
    void OutcomeStatsItemClick();
    void GCGraphItemClick();
    void FreqTimeOutcomeItemClick();
    void LicenseItemClick();
    void AboutItemClick();

    bool Terminating() const { return terminating_; }
    // The menu item with this caption (access-key marks included), or null.
    QAction* MenuItem(const QString& caption) const;

    QLabel* RulesetIndicator;

    OutputWindows& Outputs() { return *outputs_; }
    TInitProgressForm& Progress() { return *progress_; }
    TModelOneForm& ModelOne() { return *modelOne_; }
    TModelOneVarForm& ModelOneVar() { return *modelOneVar_; }
    TRunModeForm& RunMode() { return *runMode_; }
    TMonteCarloForm& MonteCarloFixed() { return *monteCarloFixed_; }
    TMonteCarloForm& MonteCarloVariable() { return *monteCarloVariable_; }
    TModelArrayForm& ArrayFixed() { return *arrayFixed_; }
    TModelArrayForm& ArrayVariable() { return *arrayVariable_; }
    TGParamDlg& GParamDlg() { return *gparamDlg_; }
    TGParamViewForm& GParamView() { return *gparamView_; }
    TOptionsDlg& OptionsDlg() { return *optionsDlg_; }
    ParameterEditors& Editors() { return *editors_; }
    TInfoForm& About() { return *about_; }
    WindowLayout& Layout() { return *layout_; }

protected:
    void closeEvent(QCloseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    void BuildMenus();
    void CreateWindows();
    void BringParametersIntoForce();
    // Shut-down once no run is active any more, when the main window has closed.
    void ShutdownAfterRun();
    // Mirror, fractions and force after a parameter file has been read into the set.
    void AfterParametersRead();
    TRunModeForm::ModelWindows ModelWindowList() const;

    AppState& app_;
    Dialogs& dialogs_;
    bool terminating_ = false;
    bool shutDown_ = false;
    bool shutdownPending_ = false;
    LatticePicture* picture_;
    std::unique_ptr<OutputWindows> outputs_;
    std::unique_ptr<TInitProgressForm> progress_;
    std::unique_ptr<TModelOneForm> modelOne_;
    std::unique_ptr<TModelOneVarForm> modelOneVar_;
    std::unique_ptr<TMonteCarloForm> monteCarloFixed_;
    std::unique_ptr<TMonteCarloForm> monteCarloVariable_;
    std::unique_ptr<TModelArrayForm> arrayFixed_;
    std::unique_ptr<TModelArrayForm> arrayVariable_;
    std::unique_ptr<TRunModeForm> runMode_;
    std::unique_ptr<TInfoForm> license_;
    std::unique_ptr<TInfoForm> about_;
    std::unique_ptr<TGParamDlg> gparamDlg_;
    std::unique_ptr<TGParamViewForm> gparamView_;
    std::unique_ptr<TOptionsDlg> optionsDlg_;
    std::unique_ptr<ParameterEditors> editors_;
    std::unique_ptr<WindowLayout> layout_;
};

} // namespace quorrel
