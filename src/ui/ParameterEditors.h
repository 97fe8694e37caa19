#pragma once

#include "engine/Dialogs.h"
#include "engine/Rng.h"
#include "params/ParameterSet.h"

#include <functional>
#include <memory>
#include <string>

namespace quorrel {

class TGRateVectorDlg;
class TGRatesForm;
class TMortalityDlg;
class TOutcomeDlg;
class TOutcomeViewForm;
class TRecruitmentDlg;
class TVectorViewForm;

// The parameter editors and read-only parameter viewers of the main window, with the menu
// commands that open them. An editor opens only when the run guard allows it; afterwards
// the matching viewer is refreshed.
class ParameterEditors {
public:
    // runGuard(message): true when no run is in progress, else shows message and gives false.
    using RunGuard = std::function<bool(const std::string&)>;

    // dependentGRates chooses the growth-rate editor: the pairwise "Growth Rates" window
    // (the build's choice) or the simpler growth-rate vector dialog.
    ParameterEditors(ParameterSet& params, Rng& rng, Dialogs& dialogs, RunGuard runGuard,
                     bool dependentGRates = DependentGRates);
    ~ParameterEditors();

    // Parameters menu.
    void OutcomeMatrixItemClick();
    void GrowthRatesItemClick();
    void MortalityItemClick();
    void RecruitmentItemClick();

    // View ▸ Parameters menu: refresh, then show.
    void ViewOutcomeMatrixItemClick();
    void ViewGrowthRatesItemClick();
    void ViewMortalityItemClick();
    void ViewRecruitmentItemClick();

    // After any change of the parameter set: the viewers show it again.
    void RefreshViewers();

    TOutcomeDlg& OutcomeDlg() { return *outcome_; }
    TGRatesForm& GRatesForm() { return *gRates_; }
    TGRatesForm& GRatesViewer() { return *gRatesViewer_; }
    TGRateVectorDlg& GRateVectorDlg() { return *gRateVector_; }
    TMortalityDlg& MortalityDlg() { return *mortality_; }
    TRecruitmentDlg& RecruitmentDlg() { return *recruitment_; }
    TOutcomeViewForm& OutcomeViewer() { return *outcomeViewer_; }
    TVectorViewForm& GRateVectorViewer() { return *gRateVectorViewer_; }
    TVectorViewForm& MortalityViewer() { return *mortalityViewer_; }
    TVectorViewForm& RecruitmentViewer() { return *recruitmentViewer_; }

private:
    // Fills a growth-rate window; an invalid stored rate is reported and gives false.
    bool PrepareGRates(TGRatesForm& form, bool viewer);

    ParameterSet& params_;
    Dialogs& dialogs_;
    RunGuard runGuard_;
    bool dependentGRates_;
    std::unique_ptr<TOutcomeDlg> outcome_;
    std::unique_ptr<TGRatesForm> gRates_;
    std::unique_ptr<TGRatesForm> gRatesViewer_;
    std::unique_ptr<TGRateVectorDlg> gRateVector_;
    std::unique_ptr<TMortalityDlg> mortality_;
    std::unique_ptr<TRecruitmentDlg> recruitment_;
    std::unique_ptr<TOutcomeViewForm> outcomeViewer_;
    std::unique_ptr<TVectorViewForm> gRateVectorViewer_;
    std::unique_ptr<TVectorViewForm> mortalityViewer_;
    std::unique_ptr<TVectorViewForm> recruitmentViewer_;
};

} // namespace quorrel
