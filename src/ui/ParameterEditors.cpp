#include "ui/ParameterEditors.h"

#include "params/AssertionFailure.h"
#include "ui/EditorTexts.h"
#include "ui/TGRateVectorDlg.h"
#include "ui/TGRatesForm.h"
#include "ui/TMortalityDlg.h"
#include "ui/TOutcomeDlg.h"
#include "ui/TOutcomeViewForm.h"
#include "ui/TRecruitmentDlg.h"
#include "ui/TVectorViewForm.h"

#include <cmath>

namespace quorrel {

namespace {

void Show(QWidget& window)
{
    window.show();
    window.raise();
    window.activateWindow();
}

} // namespace

bool ParameterEditors::PrepareGRates(TGRatesForm& form, bool viewer)
{
    try {
        form.Prepare(viewer);
    } catch (const AssertionFailure& failure) {
        // Ends this command only; the program stays up.
        dialogs_.Message(MessageKind::Error, failure.what(), MessageButtons::Ok);
        return false;
    }
    return true;
}

ParameterEditors::ParameterEditors(ParameterSet& params, Rng& rng, Dialogs& dialogs, RunGuard runGuard,
                                   bool dependentGRates)
    : params_(params), dialogs_(dialogs), runGuard_(std::move(runGuard)), dependentGRates_(dependentGRates)
{
    outcome_ = std::make_unique<TOutcomeDlg>(params, rng, dialogs);
    gRates_ = std::make_unique<TGRatesForm>(params, rng, dialogs);
    gRatesViewer_ = std::make_unique<TGRatesForm>(params, rng, dialogs);
    gRateVector_ = std::make_unique<TGRateVectorDlg>(params, rng, dialogs);
    mortality_ = std::make_unique<TMortalityDlg>(params, dialogs);
    recruitment_ = std::make_unique<TRecruitmentDlg>(params, dialogs);
    outcomeViewer_ = std::make_unique<TOutcomeViewForm>(params);
    const auto species = [&params] { return params.GParamRec.Maxspec; };
    gRateVectorViewer_ = std::make_unique<TVectorViewForm>(TVectorViewForm::Content{
        QStringLiteral("Growth Rate Vector"), QStringLiteral("Growth Rate"), species,
        [&params](int s) {
            const GrowthRate& g = params.GrowthRates[s];
            return g.Rate >= 0 ? QString::number(g.Rate) : QStringLiteral("%1 - %2").arg(g.Low).arg(g.High);
        },
        {}});
    mortalityViewer_ = std::make_unique<TVectorViewForm>(TVectorViewForm::Content{
        QStringLiteral("Mortality Parameters"), QStringLiteral("Mortality"), species,
        [&params](int s) { return QString::fromStdString(SevenDecimals(params.MortalityVector[s])); },
        [&params] { return QString::number(static_cast<long long>(std::nearbyint(params.MortalSize()))); }});
    recruitmentViewer_ = std::make_unique<TVectorViewForm>(TVectorViewForm::Content{
        QStringLiteral("Recruitment Vector"), QStringLiteral("Prob Recruit"), species,
        [&params](int s) { return QString::fromStdString(SevenDecimals(params.RecruitmentVector[s])); }, {}});
}

ParameterEditors::~ParameterEditors() = default;

void ParameterEditors::OutcomeMatrixItemClick()
{
    if (!runGuard_("Finish the run (use RESET or CLOSE) before changing the outcome matrix"))
        return;
    outcome_->Prepare();
    outcome_->exec();
    outcomeViewer_->Refresh();
}

void ParameterEditors::GrowthRatesItemClick()
{
    if (!runGuard_("Finish the run (use RESET or CLOSE) before changing the growth rates"))
        return;
    if (dependentGRates_) {
        if (!PrepareGRates(*gRates_, false))
            return;
        gRates_->exec();
    } else {
        gRateVector_->Prepare();
        gRateVector_->exec();
    }
    params_.UpdateGRateFractions();
    RefreshViewers();
}

void ParameterEditors::MortalityItemClick()
{
    if (!runGuard_("Finish the run (use RESET or CLOSE) before changing the mortality parameters"))
        return;
    mortality_->exec();
    mortalityViewer_->Refresh();
}

void ParameterEditors::RecruitmentItemClick()
{
    if (!runGuard_("Finish the run (use RESET or CLOSE) before changing the recruitment parameters"))
        return;
    recruitment_->exec();
    recruitmentViewer_->Refresh();
}

void ParameterEditors::ViewOutcomeMatrixItemClick()
{
    outcomeViewer_->Refresh();
    Show(*outcomeViewer_);
}

void ParameterEditors::ViewGrowthRatesItemClick()
{
    if (dependentGRates_) {
        if (PrepareGRates(*gRatesViewer_, true))
            Show(*gRatesViewer_);
    } else {
        gRateVectorViewer_->Refresh();
        Show(*gRateVectorViewer_);
    }
}

void ParameterEditors::ViewMortalityItemClick()
{
    mortalityViewer_->Refresh();
    Show(*mortalityViewer_);
}

void ParameterEditors::ViewRecruitmentItemClick()
{
    recruitmentViewer_->Refresh();
    Show(*recruitmentViewer_);
}

void ParameterEditors::RefreshViewers()
{
    outcomeViewer_->Refresh();
    // The pairwise growth-rate viewer is refilled when it is opened (and here while it shows).
    if (!dependentGRates_)
        gRateVectorViewer_->Refresh();
    else if (gRatesViewer_->isVisible() && !PrepareGRates(*gRatesViewer_, true))
        gRatesViewer_->hide();
    mortalityViewer_->Refresh();
    recruitmentViewer_->Refresh();
}

} // namespace quorrel
